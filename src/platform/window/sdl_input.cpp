// SDL keyboard and mouse polling with the virtual cursor.
#include "platform/window/sdl_input.hpp"

#include <SDL.h>

#include <algorithm>

namespace platform {

namespace {

SDL_Scancode ScancodeOf(Key key) {
    switch (key) {
        case Key::A: return SDL_SCANCODE_A;
        case Key::D: return SDL_SCANCODE_D;
        case Key::E: return SDL_SCANCODE_E;
        case Key::F: return SDL_SCANCODE_F;
        case Key::Q: return SDL_SCANCODE_Q;
        case Key::R: return SDL_SCANCODE_R;
        case Key::S: return SDL_SCANCODE_S;
        case Key::W: return SDL_SCANCODE_W;
        case Key::Z: return SDL_SCANCODE_Z;
        case Key::Escape: return SDL_SCANCODE_ESCAPE;
        case Key::Space: return SDL_SCANCODE_SPACE;
        case Key::Return: return SDL_SCANCODE_RETURN;
        default: return SDL_SCANCODE_UNKNOWN;
    }
}

int KeyOfScancode(SDL_Scancode sc) {
    for (int k = 0; k < static_cast<int>(Key::Count); ++k)
        if (ScancodeOf(static_cast<Key>(k)) == sc && sc != SDL_SCANCODE_UNKNOWN) return k;
    return -1;
}

}  // namespace

bool SdlInput::IsDown(Key key) const {
    if (key == Key::LeftButton || key == Key::RightButton) {
        const Uint32 buttons = SDL_GetMouseState(nullptr, nullptr);
        return buttons & SDL_BUTTON(key == Key::LeftButton ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT);
    }
    return SDL_GetKeyboardState(nullptr)[ScancodeOf(key)] != 0;
}

int16_t SdlInput::AsyncKeyState(Key key) { return latches_.Query(key, IsDown(key)); }

void SdlInput::ForgetKeys() {
    for (int k = 0; k < static_cast<int>(Key::Count); ++k) {
        const Key key = static_cast<Key>(k);
        latches_.Forget(key, IsDown(key));
    }
}

void SdlInput::HandleEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            if (!e.key.repeat) {
                const int k = KeyOfScancode(e.key.keysym.scancode);
                if (k >= 0 && e.type == SDL_KEYDOWN) latches_.Pressed(static_cast<Key>(k));
                if (k >= 0 && e.type == SDL_KEYUP) latches_.Released(static_cast<Key>(k));
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            if (e.button.button != SDL_BUTTON_LEFT && e.button.button != SDL_BUTTON_RIGHT) break;
            const Key button = e.button.button == SDL_BUTTON_LEFT ? Key::LeftButton : Key::RightButton;
            if (e.type == SDL_MOUSEBUTTONDOWN)
                latches_.Pressed(button);
            else
                latches_.Released(button);
            break;
        }
        case SDL_MOUSEMOTION:
            if (relative_) {
                int w = 0, h = 0;
                SDL_GetWindowSize(window_, &w, &h);
                virtualCursor_.x = std::clamp(virtualCursor_.x + e.motion.xrel, 0, std::max(0, w - 1));
                virtualCursor_.y = std::clamp(virtualCursor_.y + e.motion.yrel, 0, std::max(0, h - 1));
            }
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) focused_ = true;
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) focused_ = false;
            UpdateRelativeMode();
            break;
        default: break;
    }
}

Point SdlInput::ClientOrigin() {
    int x = 0, y = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    return {x, y};
}

Point SdlInput::ClientToScreen(Point p) {
    Point o = ClientOrigin();
    return {p.x + o.x, p.y + o.y};
}

Point SdlInput::GetCursorPos() {
    if (relative_) return ClientToScreen(virtualCursor_);
    int x = 0, y = 0;
    SDL_GetGlobalMouseState(&x, &y);
    return {x, y};
}

void SdlInput::SetCursorPos(Point p) {
    Point o = ClientOrigin();
    if (relative_) {
        int w = 0, h = 0;
        SDL_GetWindowSize(window_, &w, &h);
        virtualCursor_ = {std::clamp(p.x - o.x, 0, std::max(0, w - 1)), std::clamp(p.y - o.y, 0, std::max(0, h - 1))};
        return;
    }
    SDL_WarpMouseGlobal(p.x, p.y);
}

int SdlInput::ShowCursor(bool show) {
    cursorCount_ += show ? 1 : -1;
    SDL_ShowCursor(cursorCount_ >= 0 ? SDL_ENABLE : SDL_DISABLE);
    UpdateRelativeMode();
    return cursorCount_;
}

void SdlInput::UpdateRelativeMode() {
    bool want = cursorCount_ < 0 && focused_;
    if (want == relative_) return;
    if (want) {
        // Start the virtual cursor where the real one is.
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        virtualCursor_ = {x, y};
    }
    if (SDL_SetRelativeMouseMode(want ? SDL_TRUE : SDL_FALSE) == 0 || !want) relative_ = want;
}

}  // namespace platform
