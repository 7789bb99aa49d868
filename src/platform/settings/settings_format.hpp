// The settings file's text: TOML, read with toml++ and written back with a comment on every
// setting, from the one table of settings (settings_table.hpp). Reading never fails as a whole:
// a setting of the wrong type, out of range, or naming no key is one line of problem and keeps
// its default; an unknown table or setting is one line and is ignored; a text that is no TOML
// at all (or too large to be a settings file) is one line and every setting keeps its default.
//
// The file carries the version of its format ("version = 1" above the tables; a file without
// one is of version 0, from before versions). An older file is upgraded as it is read, one step
// per version; a newer one is read for the settings this game knows, its other tables and keys
// left unread without a word.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/settings/settings_table.hpp"

namespace platform {

constexpr size_t kMaxSettingsBytes = 64 * 1024;  // a settings file is a few hundred bytes
constexpr int64_t kSettingsVersion = 1;           // the format this game writes

struct SettingsReading {
    Settings settings;
    // One line each: "NAME:LINE: [table] key: what is wrong; what the game does instead".
    std::vector<std::string> problems;
    bool unreadable = false;  // nothing could be read: every setting is the default
    int64_t version = 0;      // the file's format, as it says (0: none said)
    // Written by a newer game: what it holds beyond this game's settings must not be lost.
    bool newer() const { return version > kSettingsVersion; }
};

// Reads a settings text; `name` (the file) starts every problem line.
SettingsReading ReadSettings(std::string_view text, const std::string& name, const InputNaming& naming);
// The settings as a commented TOML text of this game's version that reads back to the same
// settings.
std::string FormatSettings(const Settings& settings);

}  // namespace platform
