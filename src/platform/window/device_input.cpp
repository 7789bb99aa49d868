// Device inputs by SDL's names.
#include "platform/window/device_input.hpp"

#include <SDL.h>

#include <iterator>

namespace platform {

namespace {

constexpr struct {
    const char* name;
    int button;
} kMouseButtons[] = {{"MouseLeft", SDL_BUTTON_LEFT},
                     {"MouseRight", SDL_BUTTON_RIGHT},
                     {"MouseMiddle", SDL_BUTTON_MIDDLE},
                     {"MouseX1", SDL_BUTTON_X1},
                     {"MouseX2", SDL_BUTTON_X2}};

bool IsTrigger(int axis) { return axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT || axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT; }

// SDL's look-ups want a C string, and none of its names is long.
bool AsCString(std::string_view name, std::string* out) {
    if (name.empty() || name.size() > 40 || name.find('\0') != std::string_view::npos) return false;
    *out = name;
    return true;
}

}  // namespace

std::optional<DeviceInput> KeyboardInputNamed(std::string_view name) {
    std::string text;
    if (!AsCString(name, &text)) return std::nullopt;
    for (const auto& m : kMouseButtons)
        if (SDL_strcasecmp(text.c_str(), m.name) == 0) return DeviceInput{DeviceInput::Kind::MouseButton, m.button, 0};
    const SDL_Scancode sc = SDL_GetScancodeFromName(text.c_str());
    if (sc == SDL_SCANCODE_UNKNOWN) return std::nullopt;
    return DeviceInput{DeviceInput::Kind::Key, sc, 0};
}

std::optional<DeviceInput> PadInputNamed(std::string_view name) {
    std::string text;
    if (!AsCString(name, &text) || text[0] == '+' || text[0] == '-') return std::nullopt;
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(text.c_str());
    if (button != SDL_CONTROLLER_BUTTON_INVALID) return DeviceInput{DeviceInput::Kind::PadButton, button, 0};
    // A stick's axis needs its way; a trigger has only one.
    int way = 1;
    if (text.back() == '-' || text.back() == '+') {
        way = text.back() == '-' ? -1 : 1;
        text.pop_back();
    } else {
        way = 0;
    }
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(text.c_str());
    if (axis == SDL_CONTROLLER_AXIS_INVALID || text.empty() || text[0] == '+' || text[0] == '-') return std::nullopt;
    if (IsTrigger(axis) != (way == 0)) return std::nullopt;
    return DeviceInput{DeviceInput::Kind::PadAxis, axis, IsTrigger(axis) ? 1 : way};
}

std::string DeviceInputName(const DeviceInput& input) {
    switch (input.kind) {
        case DeviceInput::Kind::Key: return SDL_GetScancodeName(static_cast<SDL_Scancode>(input.code));
        case DeviceInput::Kind::MouseButton:
            for (const auto& m : kMouseButtons)
                if (m.button == input.code) return m.name;
            return "Mouse" + std::to_string(input.code);
        case DeviceInput::Kind::PadButton: {
            const char* name = SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(input.code));
            return name ? name : "";
        }
        case DeviceInput::Kind::PadAxis: {
            const char* name = SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(input.code));
            if (!name) return "";
            return IsTrigger(input.code) ? name : std::string(name) + (input.way < 0 ? "-" : "+");
        }
    }
    return "";
}

std::optional<std::string> SdlInputNaming::KeyName(std::string_view name) const {
    const std::optional<DeviceInput> input = KeyboardInputNamed(name);
    if (!input) return std::nullopt;
    std::string canonical = DeviceInputName(*input);
    if (canonical.empty()) return std::nullopt;  // a scancode SDL has no name for
    return canonical;
}

std::optional<std::string> SdlInputNaming::ButtonName(std::string_view name) const {
    const std::optional<DeviceInput> input = PadInputNamed(name);
    if (!input) return std::nullopt;
    std::string canonical = DeviceInputName(*input);
    if (canonical.empty()) return std::nullopt;
    return canonical;
}

}  // namespace platform
