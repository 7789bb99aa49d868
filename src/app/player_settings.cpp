// Reading, saving and handing on the player's settings.
#include "app/player_settings.hpp"

#include <cstdio>
#include <filesystem>

#include "app/scene_manager.hpp"
#include "platform/files/user_data_folder.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/device_input.hpp"
#include "platform/window/sdl_input.hpp"

using namespace platform;

std::string DefaultSettingsPath() {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? std::string() : (std::filesystem::path(folder) / kSettingsFileName).string();
}

SettingsFile LoadPlayerSettings(const std::string& path) {
    SettingsFile file = LoadSettingsFile(path, SdlInputNaming());
    for (const std::string& problem : file.problems) std::fprintf(stderr, "korvelin: %s\n", problem.c_str());
    return file;
}

void SavePlayerSettings(SettingsFile& file, const Settings& settings) {
    if (file.path.empty() || (settings == file.settings && !file.keepAside)) return;
    std::string note, error;
    if (!SaveSettingsFile(file, settings, &note, &error))
        std::fprintf(stderr, Tr("korvelin: the settings are not saved: %s\n"), error.c_str());
    if (!note.empty()) std::fprintf(stderr, "korvelin: %s\n", note.c_str());
}

float GainOfPercent(int percent) {
    const float level = float(percent) / float(Settings::kMaxPercent);
    return level * level;
}

void ApplySettings(const Settings& settings, SceneManager& manager) {
    manager.services().sound().SetVolumes(GainOfPercent(settings.music), GainOfPercent(settings.effects));
    manager.feel = {settings.mouseSensitivity, settings.invertVertical};
}

void ApplySettings(const Settings& settings, SdlInput& devices) {
    devices.SetBindings(settings.keys, settings.buttons);
    // The stick places the cursor the look then scales: its speed over the mouse's.
    devices.SetStickScale(settings.gamepadSpeed / settings.mouseSensitivity);
}
