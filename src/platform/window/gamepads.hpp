// Game controllers through SDL's game-controller API, opened as they are plugged in and closed as
// they are pulled out. Each pad's buttons and axes are kept as they stand, an axis as pushed one
// way or not (with some slack, so a stick resting near the threshold does not chatter); which of
// them press which of the game's keys is the bindings' business (SdlInput). The right stick turns
// the camera by placing the cursor the mouse look reads.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/input/input.hpp"
#include "platform/window/device_input.hpp"

union SDL_Event;
struct _SDL_GameController;

namespace platform {

// One axis of the right stick as the cursor's offset from the middle of the picture, in pixels:
// 0 inside the stick's dead zone, then from just past the mouse look's own dead zone (16 pixels,
// the slowest turn) to 200 pixels (2 degrees a frame), rising with the square of the deflection
// so that small corrections are easy to aim. `axis` is SDL's -32768 ... 32767. `scale` stretches
// the offset (never below the slowest turn): the stick's speed over the look's sensitivity.
int LookOffset(int axis, double scale = 1.0);

class Gamepads {
public:
    enum class Seen { NotPad, Pad, PadUsed };

    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Takes a controller event (plugged in, pulled out, button, axis). PadUsed for a press or a
    // stick or trigger pushed well past its dead zone: someone is playing with the pad. A button
    // pressed or an axis pushed past its threshold just now goes to *pressed.
    Seen HandleEvent(const SDL_Event& event, std::optional<DeviceInput>* pressed = nullptr);
    // Whether some pad holds the button down or the axis pushed that way.
    bool Holds(const DeviceInput& input) const;
    // The right stick of the pad pushed furthest, as cursor offsets (see LookOffset).
    Point Look(double scale = 1.0) const;
    size_t count() const { return pads_.size(); }

private:
    static constexpr size_t kAxes = 6;  // SDL's game-controller axes
    struct Pad {
        _SDL_GameController* controller = nullptr;
        int32_t id = -1;          // the joystick's instance id
        uint32_t buttons = 0;     // bit per SDL_GameControllerButton
        int16_t rightX = 0, rightY = 0;
        std::array<int8_t, kAxes> pushed{};  // per axis: -1, 0 or +1
    };
    Pad* Find(int32_t id);
    void Close(Pad& pad);

    std::vector<Pad> pads_;
};

}  // namespace platform
