// The XDG folders and the write check.
#include "platform/files/user_data_folder.hpp"

#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

// An XDG base folder's korvelin folder: the variable's value when absolute, else `fallback`
// under the home folder.
std::string XdgFolder(const char* value, const char* home, const char* fallback) {
    namespace fs = std::filesystem;
    if (value && fs::path(value).is_absolute()) return (fs::path(value) / "korvelin").string();
    if (home && fs::path(home).is_absolute()) return (fs::path(home) / fallback / "korvelin").string();
    return {};
}

}  // namespace

std::string UserDataFolder(const char* xdgDataHome, const char* home) {
    return XdgFolder(xdgDataHome, home, ".local/share");
}

std::string UserDataFolder() { return UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

std::string UserStateFolder(const char* xdgStateHome, const char* home) {
    return XdgFolder(xdgStateHome, home, ".local/state");
}

std::string UserStateFolder() { return UserStateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME")); }

std::string UserConfigFolder(const char* xdgConfigHome, const char* home) {
    return XdgFolder(xdgConfigHome, home, ".config");
}

std::string UserConfigFolder() { return UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")); }

bool CanWriteInto(const std::filesystem::path& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace platform
