// The one loop every held screen waits in. While a screen shows, no frame of the game runs, so
// nothing of the run moves; the window is still redrawn, switches to full screen and back (the
// pointer follows the letterbox), and hears the keyboard, the mouse and the gamepads. The pointer
// is shown and free of the mouse look meanwhile; afterwards the keys pressed for the screen are
// not the game's. Behind the screen stands the picture the player last saw while one is frozen
// (FrozenPicture), else black.
#pragma once

#include <string>

#include "ui/screen_painter.hpp"

namespace platform {
class Window;
}
class Screen;

class HeldScreen {
public:
    enum class End { Done, WindowClosed };

    explicit HeldScreen(platform::Window& window) : window_(window) {}
    HeldScreen(const HeldScreen&) = delete;
    HeldScreen& operator=(const HeldScreen&) = delete;

    // Shows the screen until it is done, or until the window is asked to close (the screen has
    // then been told so).
    End Run(Screen& screen);
    // The width of a text in the screens' face, for laying a screen out before it shows.
    int Measure(const std::string& text) { return painter_.Measure(text); }
    // The picture in the back buffer now, held behind every screen until Thaw; while one is held,
    // Freeze keeps it.
    void Freeze() { painter_.Freeze(); }
    void Thaw() { painter_.Thaw(); }
    bool frozen() const { return painter_.frozen(); }
    platform::Window& window() { return window_; }
    // Lets go of the face and the pictures; before the device goes.
    void Release() { painter_.Release(); }

private:
    void Paint(Screen& screen);

    platform::Window& window_;
    ScreenPainter painter_;
};

// Holds the picture the player sees now behind the screens for one scope, unless one is held
// already (which then stays held afterwards).
class FrozenPicture {
public:
    explicit FrozenPicture(HeldScreen& screens) : screens_(screens), mine_(!screens.frozen()) { screens.Freeze(); }
    ~FrozenPicture() {
        if (mine_) screens_.Thaw();
    }
    FrozenPicture(const FrozenPicture&) = delete;
    FrozenPicture& operator=(const FrozenPicture&) = delete;

private:
    HeldScreen& screens_;
    bool mine_;
};
