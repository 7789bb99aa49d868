// The XDG data and config folders and the write check.
#include "platform/files/user_data_folder.hpp"

#include <unistd.h>

#include <cstdlib>

namespace platform {

namespace {

// An XDG folder: the variable's value when it is an absolute path, else the default below home.
std::string XdgFolder(const char* xdgValue, const char* home, const char* belowHome) {
    namespace fs = std::filesystem;
    if (xdgValue && fs::path(xdgValue).is_absolute()) return (fs::path(xdgValue) / "korvelin").string();
    if (home && fs::path(home).is_absolute()) return (fs::path(home) / belowHome / "korvelin").string();
    return {};
}

}  // namespace

std::string UserDataFolder(const char* xdgDataHome, const char* home) {
    return XdgFolder(xdgDataHome, home, ".local/share");
}

std::string UserDataFolder() { return UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

std::string UserConfigFolder(const char* xdgConfigHome, const char* home) {
    return XdgFolder(xdgConfigHome, home, ".config");
}

std::string UserConfigFolder() { return UserConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")); }

bool CanWriteInto(const std::filesystem::path& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace platform
