// One screen the game holds a run for (a question, the pause, the options): it draws itself,
// answers the player's events and says when it is done. It has no loop of its own: HeldScreen
// shows it (held_screen.hpp).
#pragma once

#include "platform/types/render_types.hpp"

namespace platform {
struct WindowEvent;
}
class ScreenPainter;

class Screen {
public:
    virtual ~Screen() = default;
    // The veil laid over the picture behind the screen.
    virtual platform::Color Veil() const = 0;
    // Paints the screen over the veiled picture.
    virtual void Draw(ScreenPainter& painter) = 0;
    // One event of the window, its pointer in picture pixels. True when what the screen shows
    // changed. The window's close and its full-screen switch are the loop's, and come here too.
    virtual bool Handle(const platform::WindowEvent& event) = 0;
    virtual bool Done() const = 0;
    // The window is to close: the screen takes the answer that stands for it; the loop ends.
    virtual void WindowClosed() = 0;
};
