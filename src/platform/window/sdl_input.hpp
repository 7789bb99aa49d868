// The keyboard, the mouse and the gamepads as SDL reports them. The game does not read them
// directly: once a frame, before the update, they are sampled into script events (keys that went
// down or up, the cursor moved) that the game's input takes, the same events a recording writes
// and a replay plays. While the game hides the cursor and the window has focus, relative mouse
// motion and the right stick move the game's virtual cursor, clamped to the picture, so reading
// and re-centring it behaves the same on X11 and Wayland.
//
// The player's bindings say which keys, mouse buttons and gamepad buttons press the game's keys
// A, D, LeftButton, Space and Escape (slide left and right, fire, start, back) and which ones
// pause; the game, its scripts and recordings only ever see the game's keys, so a recorded run
// replays the same whatever the bindings. The developer overlay's keys (W S Q E R F Z) and the
// right mouse button stay where they are.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/input/input.hpp"
#include "platform/input/input_recorder.hpp"
#include "platform/input/input_script.hpp"
#include "platform/settings/settings.hpp"
#include "platform/window/device_input.hpp"
#include "platform/window/gamepads.hpp"

union SDL_Event;

namespace platform {

class SdlInput {
public:
    // The picture's size: the virtual cursor's range, with the middle the look turns about. The
    // bindings start as the game's defaults.
    SdlInput(int pictureWidth, int pictureHeight);

    // The keys and mouse buttons, and the gamepad's buttons, of each control, by name (see
    // device_input.hpp); names that press nothing are left out. Keys held now stay held until
    // let go.
    void SetBindings(const Bindings& keys, const Bindings& buttons);
    // How far the right stick places the cursor: its speed over the look's sensitivity, so the
    // stick turns the camera at its own speed whatever the mouse's sensitivity.
    void SetStickScale(double scale) { stickScale_ = scale; }

    // Fed with every event the window pumps.
    void HandleEvent(const SDL_Event& event);
    // What the last event handed in pressed just now (a key or button down, an axis pushed past
    // its threshold), if anything, and whether that is bound to pause.
    const std::optional<DeviceInput>& lastPress() const { return lastPress_; }
    bool lastPressPauses() const;
    // The events, stamped with `frame`, that bring `game` (the input as the game left it) up to
    // what the devices did since the last sample: a key that went down or up, a tap between two
    // samples as a press and a release, and the cursor moved by the mouse and the right stick
    // while the game looks with it.
    void Sample(int64_t frame, const ScriptedInput& game, std::vector<InputEvent>* out);
    // The frame's input: the sample applied to the game's input, and written to the recording
    // when there is one. What the game reads is then exactly what the recording holds. The
    // events fed are also handed back in *fed, when given.
    void Feed(int64_t frame, ScriptedInput& game, InputRecorder* recorder, std::vector<InputEvent>* fed = nullptr);
    // The game hides or shows the cursor: hidden (with focus), the mouse runs in relative mode
    // and moves the virtual cursor.
    void SetCursorShown(bool shown);
    // Presses made while a question had the keyboard are not meant for the game: forgotten, and a
    // key still down (the one that answered, its release not here yet) stays away from the game
    // until it is let go.
    void ForgetPresses();
    // The last thing the player pressed or pushed was on a gamepad.
    bool gamepadInUse() const { return gamepadInUse_ && gamepads_.count() > 0; }
    size_t gamepadCount() const { return gamepads_.count(); }
    bool looking() const { return looking_; }
    bool cursorShown() const { return cursorShown_; }

private:
    static constexpr size_t kKeys = static_cast<size_t>(Key::Count);
    static constexpr size_t kScancodes = 512;  // SDL_NUM_SCANCODES
    void Recount();
    void UpdateLooking();
    bool Down(const DeviceInput& input) const;

    int width_, height_;
    Gamepads gamepads_;
    // What presses each of the game's keys, and pause.
    std::array<std::vector<DeviceInput>, kKeys> bound_;
    std::vector<DeviceInput> pause_;
    double stickScale_ = 1.0;
    std::bitset<kScancodes> keysDown_;   // the keyboard, by place
    uint32_t mouseDown_ = 0;             // bit per SDL mouse button
    std::optional<DeviceInput> lastPress_;
    std::array<bool, kKeys> down_{};     // held by any device
    std::array<int, kKeys> presses_{};   // times a key went down since the last sample
    std::array<bool, kKeys> answered_{}; // down since a question closed: not the game's
    bool cursorShown_ = true;
    bool focused_ = true;
    bool looking_ = false;               // cursor hidden and focused: the virtual cursor moves
    Point motion_;                       // relative motion since the last sample
    bool stickX_ = false, stickY_ = false;  // the right stick held the cursor at the last sample
    bool gamepadInUse_ = false;
};

}  // namespace platform
