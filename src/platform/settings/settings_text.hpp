// The settings file's texts: numbers and strings as TOML writes them, and what a message shows
// of a value found in the file.
#pragma once

#include <string>
#include <string_view>

#include "platform/settings/settings_table.hpp"

namespace platform {

// A text of the file for a one-line message: between double quotes, control characters as '?',
// cut short at a whole character.
std::string Quoted(std::string_view text);
// A number as TOML writes a float: the shortest text that reads back, with a point.
std::string FloatText(double value);
// A string as TOML writes it, between double quotes.
std::string StringText(std::string_view text);
// What the file holds where a setting was expected, for a message.
std::string Found(const SettingValue& value);

}  // namespace platform
