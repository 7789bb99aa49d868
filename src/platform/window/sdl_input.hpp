// Keyboard and mouse from SDL. While the game hides the cursor and the window has focus, the
// mouse runs in relative mode and moves a virtual cursor clamped to the client area, so reading
// and re-centring the cursor behaves the same on X11 and Wayland.
#pragma once

#include <array>

#include "platform/window/input.hpp"

union SDL_Event;
struct SDL_Window;

namespace platform {

class SdlInput : public Input {
public:
    explicit SdlInput(SDL_Window* window) : window_(window) {}

    int16_t AsyncKeyState(Key key) override;
    Point GetCursorPos() override;
    void SetCursorPos(Point p) override;
    Point ClientToScreen(Point p) override;
    int ShowCursor(bool show) override;
    void ForgetKeys() override;

    // Fed with every event the window pumps.
    void HandleEvent(const SDL_Event& event);
    // Keys pressed while a modal box had the keyboard must not act on the game.
    void ForgetPresses() { latches_.ForgetPresses(); }

private:
    void UpdateRelativeMode();
    Point ClientOrigin();
    bool IsDown(Key key) const;

    SDL_Window* window_;
    KeyLatches latches_;
    int cursorCount_ = 0;
    bool focused_ = true;
    bool relative_ = false;
    Point virtualCursor_;  // client coordinates, used while relative
};

}  // namespace platform
