// Game controllers through SDL's game-controller API, opened as they are plugged in and closed as
// they are pulled out. The game reads them as it reads the keyboard and the mouse: the left stick
// or the shoulder buttons hold A and D, the right trigger or the south button the left mouse
// button, Start holds Space and Back Escape; the right stick turns the camera by placing the
// cursor the mouse look reads.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/input/input.hpp"

union SDL_Event;
struct _SDL_GameController;

namespace platform {

// One axis of the right stick as the cursor's offset from the middle of the picture, in pixels:
// 0 inside the stick's dead zone, then from just past the mouse look's own dead zone (16 pixels,
// the slowest turn) to 200 pixels (2 degrees a frame), rising with the square of the deflection
// so that small corrections are easy to aim. `axis` is SDL's -32768 ... 32767.
int LookOffset(int axis);

class Gamepads {
public:
    enum class Seen { NotPad, Pad, PadUsed };

    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Takes a controller event (plugged in, pulled out, button, axis). PadUsed for a press or a
    // stick or trigger pushed well past its dead zone: someone is playing with the pad.
    Seen HandleEvent(const SDL_Event& event);
    // Whether some pad holds the key.
    bool Holds(Key key) const;
    // The right stick of the pad pushed furthest, as cursor offsets (see LookOffset).
    Point Look() const;
    size_t count() const { return pads_.size(); }

private:
    struct Pad {
        _SDL_GameController* controller = nullptr;
        int32_t id = -1;          // the joystick's instance id
        uint32_t buttons = 0;     // bit per SDL_GameControllerButton
        int16_t rightX = 0, rightY = 0;
        bool stickLeft = false, stickRight = false, trigger = false;
    };
    Pad* Find(int32_t id);
    void Close(Pad& pad);

    std::vector<Pad> pads_;
};

}  // namespace platform
