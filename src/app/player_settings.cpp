// Reading, overriding, handing on and keeping the player's settings.
#include "app/player_settings.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/files/user_data_folder.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/device_input.hpp"
#include "platform/window/sdl_input.hpp"
#include "ui/save_failure.hpp"

using namespace platform;

std::string DefaultSettingsPath() {
    const std::string folder = UserConfigFolder();
    return folder.empty() ? std::string() : (std::filesystem::path(folder) / kSettingsFileName).string();
}

std::string SettingsInBrief(const Settings& settings) {
    std::string text;
    for (const Setting& s : SettingsTable()) text += std::string(s.table) + "." + s.key + " = " + s.write(settings) + "\n";
    return text;
}

float GainOfPercent(int percent) {
    const float level = float(percent) / float(Settings::kMaxPercent);
    return level * level;
}

void ApplyToDevices(const Settings& settings, SdlInput& devices) {
    devices.SetBindings(settings.keys, settings.buttons);
    // The stick places the cursor the look then scales: its speed over the mouse's.
    devices.SetStickScale(settings.gamepadSpeed / settings.mouseSensitivity);
}

PlayerSettings::Subscription& PlayerSettings::Subscription::operator=(Subscription&& other) noexcept {
    if (this != &other) {
        End();
        owner_ = other.owner_;
        id_ = other.id_;
        other.owner_ = nullptr;
    }
    return *this;
}

void PlayerSettings::Subscription::End() {
    if (!owner_) return;
    auto& listeners = owner_->listeners_;
    listeners.erase(std::remove_if(listeners.begin(), listeners.end(), [&](const auto& l) { return l.first == id_; }),
                    listeners.end());
    owner_ = nullptr;
}

void PlayerSettings::Load(const std::string& path) {
    file_ = LoadSettingsFile(path, SdlInputNaming());
    for (const std::string& problem : file_.problems) std::fprintf(stderr, "korvelin: %s\n", problem.c_str());
    chosen_ = file_.settings;
}

Settings PlayerSettings::Effective() const {
    Settings s = chosen_;
    if (overrides_.fullScreen) s.fullScreen = *overrides_.fullScreen;
    if (overrides_.renderScale) s.renderScale = *overrides_.renderScale;
    if (overrides_.frameSkip) s.frameSkip = *overrides_.frameSkip;
    return s;
}

PlayerSettings::Subscription PlayerSettings::Listen(Listener listener) {
    listener(Effective(), SettingChanges::All());
    const int id = nextId_++;
    listeners_.emplace_back(id, std::move(listener));
    return Subscription(this, id);
}

void PlayerSettings::Change(const Settings& chosen) {
    const Settings before = Effective();
    chosen_ = chosen;
    const Settings after = Effective();
    const SettingChanges changed = ChangesBetween(before, after);
    if (changed.Empty()) return;
    // A listener may end its own hearing; the ones after it still hear.
    const auto listeners = listeners_;
    for (const auto& [id, listener] : listeners) listener(after, changed);
}

std::string PlayerSettings::Keep() {
    if (file_.path.empty() || (chosen_ == file_.settings && !file_.keepAside)) return {};
    std::string note;
    SaveError error;
    const bool saved = SaveSettingsFile(file_, chosen_, &note, &error);
    if (!note.empty()) std::fprintf(stderr, "korvelin: %s\n", note.c_str());
    if (saved) return {};
    std::fprintf(stderr, Tr("korvelin: the settings are not saved: %s\n"), error.message.c_str());
    return SaveFailureText(file_.path, error);
}
