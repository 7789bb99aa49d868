// The screens shown while the run is held: the pause (the frozen picture dimmed, "PAUSE" in
// the game's lettering, a way back and a way to the options) and the options screen. Each waits
// in its own loop, as the question box does: no frame of the game runs meanwhile, so nothing of
// the run moves, and the window is still redrawn, switches to full screen and back, and hears
// the keyboard, the mouse and the gamepads. The pointer is free while they show.
#pragma once

#include <functional>

#include "graphics/screen_painter.hpp"
#include "platform/settings/settings.hpp"

namespace platform {
class Window;
}
class OptionsMenu;
class Texture;

class HeldScreens {
public:
    enum class PauseEnd { Resume, Options, Close };
    // Called with the settings after every change on the options screen, and whether it was a
    // volume (a sound then lets the player hear the level).
    using Apply = std::function<void(const platform::Settings&, bool volume)>;

    // Holds the picture on the screen now and shows the pause over it until the pause key (or
    // Return, Escape, a click on "Resume"), the options key (or a click on "Options"), or the
    // window's close. `caption`: the PAUSE picture (none: the word in the box's face).
    PauseEnd Pause(platform::Window& window, const Texture* caption);
    // The options screen over the held picture (frozen: the back buffer's; else the pause's
    // picture kept from Pause, or black). Returns false when the window was closed.
    bool Options(platform::Window& window, platform::Settings& settings, const Apply& apply, bool frozen);
    // Lets go of the held picture once the run goes on again.
    void Thaw() { painter_.Thaw(); }
    // Lets go of the face and the pictures; before the device goes.
    void Release() { painter_.Release(); }

private:
    void DrawPause(platform::Window& window, const Texture* caption, int focus);
    void DrawOptions(platform::Window& window, const OptionsMenu& menu);

    ScreenPainter painter_;
};
