// The player's settings: the sound levels, how the look turns, the keys and buttons of each
// control, the display and pause. Every default is the game as it plays without a settings file.
// They are kept as a TOML text (settings_format.hpp) in the player's config folder
// (settings_file.hpp); the parts that use them are handed plain values, never this whole record.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// The controls a player binds, in the order the file and the options screen list them.
enum class Control : uint8_t { SlideLeft, SlideRight, Fire, Start, Back, Pause, Count };
constexpr size_t kControlCount = static_cast<size_t>(Control::Count);

// The control's key in the settings file ("slide_left").
const char* ControlSettingKey(Control control);

// Start is read on the title only and pause in a run only, so one key may do both (the gamepad's
// Start does by default); every other key belongs to one control at a time.
bool MayShareKeys(Control a, Control b);

enum class FullScreenAtStart : uint8_t { Ask, Yes, No };

// The names of what presses one control: SDL's key names (by the key's place on the keyboard)
// and "MouseLeft", "MouseRight", "MouseMiddle" for the keyboard and mouse; SDL's game-controller
// names ("a", "start", "leftshoulder", a stick's way as "leftx-", a trigger as "righttrigger")
// for the gamepad.
using InputNames = std::vector<std::string>;
using Bindings = std::array<InputNames, kControlCount>;

struct Settings {
    static constexpr int kMaxPercent = 100;
    static constexpr double kMinFactor = 0.1, kMaxFactor = 10.0;  // sensitivity and stick speed

    // [audio]: loudness of the music and of the shots, in percent.
    int music = 100;
    int effects = 100;
    // [look]: how far the camera turns for the cursor's offset (1 as the game always turned),
    // the vertical turn the other way, and the speed of the gamepad's right stick.
    double mouseSensitivity = 1.0;
    bool invertVertical = false;
    double gamepadSpeed = 1.0;
    // [keys] and [gamepad], by Control.
    Bindings keys = DefaultKeys();
    Bindings buttons = DefaultButtons();
    // [display]: the question at start, the 3D picture's scale, the pace on a slow machine, the
    // language of the game's words ("auto": the desktop's).
    FullScreenAtStart fullScreen = FullScreenAtStart::Ask;
    std::optional<double> renderScale;  // 0.25 to 1; none: "auto"
    bool frameSkip = true;
    std::string language = "auto";
    // [play]
    bool pauseOnFocusLoss = true;

    bool operator==(const Settings&) const = default;

    static Bindings DefaultKeys();
    static Bindings DefaultButtons();
};

}  // namespace platform
