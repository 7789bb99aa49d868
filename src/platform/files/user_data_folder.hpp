// The user's own folders: for what the game writes when its own folder is not theirs to write,
// and for the player's settings.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

// $XDG_DATA_HOME/korvelin, or ~/.local/share/korvelin when XDG_DATA_HOME is unset, empty or
// not an absolute path (such a value is to be ignored). Empty when neither names a folder.
std::string UserDataFolder(const char* xdgDataHome, const char* home);
// The same from this process's environment.
std::string UserDataFolder();

// $XDG_CONFIG_HOME/korvelin, or ~/.config/korvelin, by the same rules: where the player's
// settings live.
std::string UserConfigFolder(const char* xdgConfigHome, const char* home);
std::string UserConfigFolder();

// Whether this process may create files in the folder.
bool CanWriteInto(const std::filesystem::path& folder);

}  // namespace platform
