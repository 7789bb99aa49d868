// The player's settings as the running game holds them: the file they came from and go back to,
// the values the player chose, this run's overrides from the command line (never saved), and
// the parts of the game that use them. Each part listens once: it hears every setting at once,
// then, after every change, the settings again with the groups that changed (sound, look,
// controls, display, play); nothing asks again each frame.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/settings/settings_file.hpp"
#include "ui/held_run.hpp"

// What the command line chose for this run only: it wins over the file and is never saved.
struct SettingsOverrides {
    std::optional<platform::FullScreenAtStart> fullScreen;  // --fullscreen, --windowed
    std::optional<std::optional<double>> renderScale;       // --render-scale (inside, none: auto)
    std::optional<bool> frameSkip;                          // --no-frame-skip
};

class PlayerSettings final : public SettingsOwner {
public:
    using Listener = std::function<void(const platform::Settings& effective, platform::SettingChanges changed)>;

    // Ends a listener's hearing when it goes.
    class Subscription {
    public:
        Subscription() = default;
        Subscription(Subscription&& other) noexcept : owner_(other.owner_), id_(other.id_) { other.owner_ = nullptr; }
        Subscription& operator=(Subscription&& other) noexcept;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription() { End(); }
        void End();

    private:
        friend class PlayerSettings;
        Subscription(PlayerSettings* owner, int id) : owner_(owner), id_(id) {}
        PlayerSettings* owner_ = nullptr;
        int id_ = 0;
    };

    // The defaults and no file: nothing is ever saved (a headless run without --settings).
    PlayerSettings() = default;
    PlayerSettings(const PlayerSettings&) = delete;
    PlayerSettings& operator=(const PlayerSettings&) = delete;

    // Reads the file at path (none there: the defaults), each problem one line on standard
    // error; the settings are saved there. Before anyone listens.
    void Load(const std::string& path);
    // This run's overrides. Before anyone listens.
    void Override(const SettingsOverrides& overrides) { overrides_ = overrides; }

    // As the player chose them: what the file holds, or will hold once kept.
    const platform::Settings& Chosen() const override { return chosen_; }
    // What the game plays with: the chosen settings under this run's overrides.
    platform::Settings Effective() const;

    // Hears every setting now, then every change while the subscription lasts.
    [[nodiscard]] Subscription Listen(Listener listener);
    // New chosen settings: every listener hears what changed of the effective ones.
    void Change(const platform::Settings& chosen) override;
    // Writes the file when the chosen settings differ from what it holds (or a file must be kept
    // aside first). Said on standard error when it cannot, or when a file was kept aside; a
    // failure also comes back in the player's words (see SettingsOwner::Keep).
    std::string Keep() override;

    const std::string& path() const { return file_.path; }

private:
    platform::SettingsFile file_;
    platform::Settings chosen_;
    SettingsOverrides overrides_;
    std::vector<std::pair<int, Listener>> listeners_;
    int nextId_ = 1;
};

// $XDG_CONFIG_HOME/korvelin/settings.toml (or ~/.config/...); empty when neither folder is known.
std::string DefaultSettingsPath();

// Every setting as "table.key = value", one a line, for a crash report.
std::string SettingsInBrief(const platform::Settings& settings);

// The loudness of a percent setting: its square, so half way sounds about half as loud.
float GainOfPercent(int percent);

namespace platform {
class SdlInput;
}
// The bindings and the stick's speed, for the window's devices.
void ApplyToDevices(const platform::Settings& settings, platform::SdlInput& devices);
