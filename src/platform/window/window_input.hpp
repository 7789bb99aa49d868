// The input the game reads in the window: a scripted input that the devices' samples (or a
// replayed script) feed once a frame, so the game sees exactly what a recording of the run
// writes. Showing and hiding the cursor reach the real mouse. The game's screen coordinates are
// the picture's own, whatever the window's place on the desktop or its size.
#pragma once

#include "platform/input/input.hpp"
#include "platform/window/sdl_input.hpp"

namespace platform {

class WindowInput : public ScriptedInput {
public:
    explicit WindowInput(SdlInput& devices) : devices_(devices) {}
    int ShowCursor(bool show) override {
        const int count = ScriptedInput::ShowCursor(show);
        devices_.SetCursorShown(count >= 0);
        return count;
    }

private:
    SdlInput& devices_;
};

}  // namespace platform
