// Loading and saving the settings file.
#include "platform/settings/settings_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/files/safe_file.hpp"

namespace platform {

SettingsFile LoadSettingsFile(const std::string& path, const InputNaming& naming) {
    SettingsFile file;
    file.path = path;
    std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!in) {
        if (errno == ENOENT) return file;
        file.problems.push_back(path + ": cannot read: " + std::strerror(errno) + "; the default settings are used");
        file.keepAside = true;
        return file;
    }
    // One byte more than a settings file may hold, so a huge one is refused without reading it.
    std::string text(kMaxSettingsBytes + 1, '\0');
    const size_t got = std::fread(text.data(), 1, text.size(), in.get());
    if (std::ferror(in.get())) {
        file.problems.push_back(path + ": cannot read: " + std::strerror(errno) + "; the default settings are used");
        file.keepAside = true;
        return file;
    }
    text.resize(got);
    SettingsReading reading = ReadSettings(text, path, naming);
    file.settings = std::move(reading.settings);
    file.problems = std::move(reading.problems);
    file.keepAside = !file.problems.empty();
    return file;
}

bool SaveSettingsFile(SettingsFile& file, const Settings& settings, std::string* note, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path folder = fs::path(file.path).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, ec)) {
        fs::create_directories(folder, ec);
        if (ec) {
            *error = "cannot make the folder '" + folder.string() + "': " + ec.message();
            return false;
        }
    }
    if (file.keepAside && fs::exists(fs::symlink_status(file.path, ec))) {
        const std::string aside = FreeNameBeside(file.path, ".broken");
        if (aside.empty() || std::rename(file.path.c_str(), aside.c_str()) != 0) {
            *error = "cannot keep '" + file.path + "' aside before writing a new one: " +
                     (aside.empty() ? std::string("no free name beside it") : std::strerror(errno));
            return false;
        }
        *note = "the settings file '" + file.path + "' had problems and is kept as '" + aside + "'";
    }
    if (!WriteFileSafely(file.path, FormatSettings(settings), error)) return false;
    file.keepAside = false;
    file.settings = settings;
    return true;
}

}  // namespace platform
