// SDL window and event translation.
#include "platform/window/window.hpp"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "platform/i18n/language.hpp"
#include "platform/window/sdl_input.hpp"
#include "platform/window/window_input.hpp"

namespace platform {

std::unique_ptr<Window> Window::Create(const std::string& caption, int clientWidth, int clientHeight,
                                       std::string* error) {
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    // A real display or nothing: without one SDL would fall back to an invisible off-screen
    // driver and the game would run unseen. SDL_VIDEODRIVER in the environment still wins.
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool hasX11 = x11 && *x11, hasWayland = wayland && *wayland;
    if (!hasX11 && !hasWayland && !std::getenv("SDL_VIDEODRIVER")) {
        if (error) *error = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return nullptr;
    }
    SDL_SetHint(SDL_HINT_VIDEODRIVER, hasX11 && hasWayland ? "wayland,x11" : hasX11 ? "x11" : "wayland");
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error)
            *error = std::string("cannot open the display ") + (hasX11 ? x11 : hasWayland ? wayland : "") + ": " +
                     SDL_GetError();
        return nullptr;
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);  // the depth buffer belongs to the off-screen back buffer

    // Resizable so the maximise box works; the picture is scaled into whatever size results.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    SDL_Window* sdlWindow = SDL_CreateWindow(caption.c_str(), 0, 0, clientWidth, clientHeight, flags);
    if (!sdlWindow) {
        if (error) *error = std::string("cannot create the window: ") + SDL_GetError();
        return nullptr;
    }
    // Gamepads are welcome but not needed: without them the game plays on keyboard and mouse.
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, Tr("korvelin: no gamepads: %s\n"), SDL_GetError());
    std::unique_ptr<Window> w(new Window);
    w->window_ = sdlWindow;
    // The picture is made at the window's first size; the cursor starts in its middle.
    w->devices_ = std::make_unique<SdlInput>(clientWidth, clientHeight);
    w->input_ = std::make_unique<WindowInput>(*w->devices_);
    w->input_->SetCursor({clientWidth / 2, clientHeight / 2});
    return w;
}

Window::~Window() {
    input_.reset();
    devices_.reset();  // closes the gamepads
    if (window_) SDL_DestroyWindow(window_);
}

void Window::Show() {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void Window::SetFullscreen(bool fullscreen) {
    SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

bool Window::IsFullscreen() const { return (SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0; }

void Window::GetClientSize(int* width, int* height) const { SDL_GetWindowSize(window_, width, height); }

void Window::GetDrawableSize(int* width, int* height) const { SDL_GL_GetDrawableSize(window_, width, height); }

ScriptedInput& Window::input() { return *input_; }

SdlInput& Window::devices() { return *devices_; }

void Window::ForgetKeysPressedDuringDialog() { devices_->ForgetPresses(); }

void Window::ForgetWaitingQuit() { SDL_FlushEvent(SDL_QUIT); }

namespace {

// A key as a question box's move; false for a key that moves nothing.
bool KeyMove(const SDL_KeyboardEvent& key, WindowEvent::Move* move) {
    using Move = WindowEvent::Move;
    switch (key.keysym.scancode) {
        case SDL_SCANCODE_LEFT: *move = Move::Left; return true;
        case SDL_SCANCODE_UP: *move = Move::Up; return true;
        case SDL_SCANCODE_RIGHT: *move = Move::Right; return true;
        case SDL_SCANCODE_DOWN: *move = Move::Down; return true;
        case SDL_SCANCODE_TAB: *move = (key.keysym.mod & KMOD_SHIFT) ? Move::Previous : Move::Next; return true;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
        case SDL_SCANCODE_SPACE:
            if (key.repeat) return false;  // held from before, it must not answer at once
            *move = Move::Accept;
            return true;
        case SDL_SCANCODE_ESCAPE:
            if (key.repeat) return false;
            *move = Move::Cancel;
            return true;
        default: break;
    }
    // The answers' own letters, by what the key says, not where it sits.
    if (key.repeat) return false;
    if (key.keysym.sym == SDLK_y) {
        *move = Move::Yes;
        return true;
    }
    if (key.keysym.sym == SDLK_n) {
        *move = Move::Cancel;
        return true;
    }
    return false;
}

bool PadMove(uint8_t button, WindowEvent::Move* move) {
    using Move = WindowEvent::Move;
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: *move = Move::Left; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: *move = Move::Up; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: *move = Move::Right; return true;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: *move = Move::Down; return true;
        case SDL_CONTROLLER_BUTTON_A:
        case SDL_CONTROLLER_BUTTON_START: *move = Move::Accept; return true;
        case SDL_CONTROLLER_BUTTON_B:
        case SDL_CONTROLLER_BUTTON_BACK: *move = Move::Cancel; return true;
        default: return false;
    }
}

}  // namespace

bool Window::PollEvent(WindowEvent* out, int waitMs) {
    SDL_Event e;
    if (!(waitMs > 0 ? SDL_WaitEventTimeout(&e, waitMs) : SDL_PollEvent(&e))) return false;
    if (rawHook_) rawHook_(&e);
    devices_->HandleEvent(e);
    *out = WindowEvent{};
    if (const std::optional<DeviceInput>& press = devices_->lastPress()) {
        out->pressed = DeviceInputName(*press);
        out->pressedOnPad = press->onPad();
        out->pause = devices_->lastPressPauses();
    }
    using Type = WindowEvent::Type;
    switch (e.type) {
        case SDL_QUIT: out->type = Type::Close; break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                out->type = Type::Close;
            } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                out->type = Type::FocusLost;
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                out->type = Type::Size;
                out->width = e.window.data1;
                out->height = e.window.data2;
            } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED) {
                out->type = Type::Exposed;
            }
            break;
        case SDL_MOUSEWHEEL:
            out->type = Type::Wheel;
            out->wheelDelta = (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y) * 120;
            break;
        case SDL_KEYDOWN: {
            const SDL_Scancode sc = e.key.keysym.scancode;
            const bool enter = sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER;
            if ((enter && (e.key.keysym.mod & KMOD_ALT)) || sc == SDL_SCANCODE_F11) {
                if (!e.key.repeat) out->type = Type::ToggleFullscreen;
            } else if (KeyMove(e.key, &out->move)) {
                out->type = Type::Navigate;
            } else if (sc == SDL_SCANCODE_O && !e.key.repeat) {
                out->type = Type::Options;
            }
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
            if (PadMove(e.cbutton.button, &out->move)) out->type = Type::Navigate;
            else if (e.cbutton.button == SDL_CONTROLLER_BUTTON_Y) out->type = Type::Options;
            break;
        case SDL_MOUSEMOTION:
            if (!SDL_GetRelativeMouseMode()) {
                out->type = Type::PointerMove;
                out->pointer = {e.motion.x, e.motion.y};
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            if (e.button.button == SDL_BUTTON_LEFT) {
                out->type = e.type == SDL_MOUSEBUTTONDOWN ? Type::PointerPress : Type::PointerRelease;
                out->pointer = {e.button.x, e.button.y};
            }
            break;
        default: break;
    }
    return true;
}

}  // namespace platform
