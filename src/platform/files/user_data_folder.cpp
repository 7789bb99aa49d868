// The XDG data folder and the write check.
#include "platform/files/user_data_folder.hpp"

#include <unistd.h>

#include <cstdlib>

namespace platform {

std::string UserDataFolder(const char* xdgDataHome, const char* home) {
    namespace fs = std::filesystem;
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) return (fs::path(xdgDataHome) / "korvelin").string();
    if (home && fs::path(home).is_absolute()) return (fs::path(home) / ".local/share/korvelin").string();
    return {};
}

std::string UserDataFolder() { return UserDataFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

bool CanWriteInto(const std::filesystem::path& folder) {
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace platform
