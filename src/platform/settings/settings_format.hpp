// The settings file's text: TOML, read with toml++ and written back with a comment on every
// setting. Reading never fails as a whole: a setting of the wrong type, out of range, or naming
// no key is one line of problem and keeps its default; an unknown table or setting is one line
// and is ignored; a text that is no TOML at all (or too large to be a settings file) is one line
// and every setting keeps its default.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/settings/settings.hpp"

namespace platform {

// Which names stand for a key or a gamepad button. The game answers with SDL's names; tests and
// the fuzz target with a list of their own.
class InputNaming {
public:
    virtual ~InputNaming() = default;
    // The name as the file writes it ("left" -> "Left"), or none when it names no key or mouse
    // button.
    virtual std::optional<std::string> KeyName(std::string_view name) const = 0;
    // The same for the gamepad ("A" -> "a").
    virtual std::optional<std::string> ButtonName(std::string_view name) const = 0;
};

constexpr size_t kMaxSettingsBytes = 64 * 1024;  // a settings file is a few hundred bytes
constexpr size_t kMaxNamesPerControl = 8;

struct SettingsReading {
    Settings settings;
    // One line each: "NAME:LINE: [table] key: what is wrong; what the game does instead".
    std::vector<std::string> problems;
    bool unreadable = false;  // nothing could be read: every setting is the default
};

// Reads a settings text; `name` (the file) starts every problem line.
SettingsReading ReadSettings(std::string_view text, const std::string& name, const InputNaming& naming);
// The settings as a commented TOML text that reads back to the same settings.
std::string FormatSettings(const Settings& settings);

}  // namespace platform
