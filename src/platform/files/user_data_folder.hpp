// The user's own folders (XDG) for what the game writes for them.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// $XDG_DATA_HOME/korvelin, or ~/.local/share/korvelin when XDG_DATA_HOME is unset, empty or
// not an absolute path (such a value is to be ignored). Empty when neither names a folder.
std::string UserDataFolder(const char* xdgDataHome, const char* home);
// The same from this process's environment.
std::string UserDataFolder();

// $XDG_STATE_HOME/korvelin, or ~/.local/state/korvelin, by the same rules: what the game
// remembers between sessions that is not the user's work (the recent courses).
std::string UserStateFolder(const char* xdgStateHome, const char* home);
std::string UserStateFolder();

// $XDG_CONFIG_HOME/korvelin, or ~/.config/korvelin, by the same rules: where the player's
// settings live.
std::string UserConfigFolder(const char* xdgConfigHome, const char* home);
std::string UserConfigFolder();

// Whether this process may create files in the folder.
bool CanWriteInto(const std::filesystem::path& folder);

}  // namespace platform
