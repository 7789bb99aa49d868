// The game's own question box, for where the system's box cannot serve: no box can be shown
// here, the window fills the screen (a box would open behind it), or the player holds a gamepad
// (a system box cannot be answered with one). It is drawn over the frozen last picture and
// waits in its own loop, as a system box does: no frame of the game runs meanwhile, while the
// window is still redrawn, can switch to full screen and back, and hears the keyboard, the mouse
// and the gamepads.
#pragma once

#include <memory>

#include "graphics/screen_painter.hpp"
#include "platform/window/dialogs.hpp"

namespace platform {
class Window;
}
class QuestionPanel;

class QuestionBox {
public:
    struct Result {
        platform::DialogAnswer answer = platform::DialogAnswer::No;
        bool closed = false;  // the window was asked to close: the answer is the default
    };

    QuestionBox() = default;
    QuestionBox(const QuestionBox&) = delete;
    QuestionBox& operator=(const QuestionBox&) = delete;

    // Asks on the graphics device's window. `frozen`: the back buffer holds the last picture,
    // which stays behind the box; otherwise the box stands on black.
    Result Ask(platform::Window& window, const platform::DialogRequest& request, bool frozen);
    // Lets go of the face and the pictures; before the device goes.
    void Release() { painter_.Release(); }

private:
    void Draw(platform::Window& window, const QuestionPanel& panel);

    ScreenPainter painter_;
};
