// Loading and saving the settings file.
#include "platform/settings/settings_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "platform/files/bounded_file.hpp"
#include "platform/files/safe_file.hpp"

namespace platform {

SettingsFile LoadSettingsFile(const std::string& path, const InputNaming& naming) {
    namespace fs = std::filesystem;
    SettingsFile file;
    file.path = path;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (!fs::exists(status)) return file;  // no file yet: the defaults, and it is made on saving
    std::string text, why;
    if (!ReadBoundedFile(path, kMaxSettingsBytes, "so no settings file", &text, &why)) {
        file.problems.push_back(path + ": " + why + "; the default settings are used");
        // A file that cannot be read is kept aside before a new one is written; a folder, a
        // device or a pipe in its place is never written over.
        file.keepAside = fs::is_regular_file(status);
        file.writable = file.keepAside;
        return file;
    }
    SettingsReading reading = ReadSettings(text, path, naming);
    file.settings = std::move(reading.settings);
    file.problems = std::move(reading.problems);
    file.keepAside = !file.problems.empty();
    if (reading.newer()) file.asideSuffix = ".newer";
    return file;
}

bool SaveSettingsFile(SettingsFile& file, const Settings& settings, std::string* note, SaveError* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!file.writable) {
        *error = {"'" + file.path + "' is not a file the game may write over", EISDIR};
        return false;
    }
    const fs::path folder = fs::path(file.path).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec) {
            *error = {"cannot make the folder '" + folder.string() + "': " + ec.message(), ec.value()};
            return false;
        }
    }
    // Another game saving its settings at the same moment writes after this one, whole: the
    // lock keeps the two from both keeping the old file aside.
    FileLock lock;
    if (!lock.Take(file.path, error)) return false;
    if (file.keepAside && fs::exists(fs::symlink_status(file.path, ec))) {
        const std::string aside = FreeNameBeside(file.path, file.asideSuffix);
        if (aside.empty() || std::rename(file.path.c_str(), aside.c_str()) != 0) {
            const int code = aside.empty() ? EEXIST : errno;
            *error = {"cannot keep '" + file.path + "' aside before writing a new one: " +
                          (aside.empty() ? std::string("no free name beside it") : std::strerror(code)),
                      code};
            return false;
        }
        const bool newer = std::string_view(file.asideSuffix) == ".newer";
        *note = "the settings file '" + file.path + (newer ? "' of a newer version of the game" : "' had problems and") +
                " is kept as '" + aside + "'";
    }
    if (!WriteFileSafely(file.path, FormatSettings(settings), error)) return false;
    file.keepAside = false;
    file.settings = settings;
    return true;
}

}  // namespace platform
