// SDL window and event translation.
#include "platform/window/window.hpp"

#include <SDL.h>

#include <cstdlib>

#include "platform/window/sdl_input.hpp"

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
    std::unique_ptr<Window> w(new Window);
    w->window_ = sdlWindow;
    w->input_ = std::make_unique<SdlInput>(sdlWindow);
    return w;
}

Window::~Window() {
    input_.reset();
    if (window_) SDL_DestroyWindow(window_);
}

void Window::Show() {
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void Window::SetFullscreen(bool fullscreen) {
    SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
}

void Window::GetClientSize(int* width, int* height) const { SDL_GetWindowSize(window_, width, height); }

void Window::GetDrawableSize(int* width, int* height) const { SDL_GL_GetDrawableSize(window_, width, height); }

Input& Window::input() { return *input_; }

void Window::ForgetKeysPressedDuringDialog() { input_->ForgetPresses(); }

bool Window::PollEvent(WindowEvent* out) {
    SDL_Event e;
    if (!SDL_PollEvent(&e)) return false;
    if (rawHook_) rawHook_(&e);
    input_->HandleEvent(e);
    *out = WindowEvent{};
    switch (e.type) {
        case SDL_QUIT: out->type = WindowEvent::Type::Close; break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
                out->type = WindowEvent::Type::Close;
            } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                out->type = WindowEvent::Type::Size;
                out->width = e.window.data1;
                out->height = e.window.data2;
            }
            break;
        case SDL_MOUSEWHEEL:
            out->type = WindowEvent::Type::Wheel;
            out->wheelDelta = (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y) * 120;
            break;
        default: break;
    }
    return true;
}

}  // namespace platform
