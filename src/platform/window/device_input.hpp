// One thing on a device that the player can press and bind to a control: a key (by its place
// on the keyboard), a mouse button, a gamepad button, or a gamepad axis pushed one way (a stick
// to one side, a trigger down). Its name is the one the settings file writes: SDL's key names,
// "MouseLeft", "MouseRight", "MouseMiddle", "MouseX1", "MouseX2", and SDL's game-controller
// names with a stick's way after its axis ("leftx-") and a trigger as it is ("righttrigger").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings/settings_format.hpp"

namespace platform {

struct DeviceInput {
    enum class Kind : uint8_t { Key, MouseButton, PadButton, PadAxis };
    Kind kind = Kind::Key;
    int code = 0;  // SDL's scancode, mouse button, controller button or controller axis
    int way = 0;   // PadAxis: -1 or +1 (a trigger only +1)
    bool onPad() const { return kind == Kind::PadButton || kind == Kind::PadAxis; }
    bool operator==(const DeviceInput&) const = default;
};

// A key or mouse button by name, in any case; none for a name of neither.
std::optional<DeviceInput> KeyboardInputNamed(std::string_view name);
// A gamepad button or axis way by name, in any case; none for a name of neither.
std::optional<DeviceInput> PadInputNamed(std::string_view name);
// The name the settings file writes.
std::string DeviceInputName(const DeviceInput& input);

// The names SDL knows, as the settings reader asks for them.
class SdlInputNaming : public InputNaming {
public:
    std::optional<std::string> KeyName(std::string_view name) const override;
    std::optional<std::string> ButtonName(std::string_view name) const override;
};

}  // namespace platform
