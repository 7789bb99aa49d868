// The player's settings as the running game uses them: where the file is, reading it at start
// (its problems said on standard error), and handing each value to the part that uses it: the
// volumes to the sound, the look to the controls snapshot, the bindings and the stick's speed to
// the device sampling.
#pragma once

#include <string>

#include "platform/settings/settings_file.hpp"

class SceneManager;
namespace platform {
class SdlInput;
}

// $XDG_CONFIG_HOME/korvelin/settings.toml (or ~/.config/...); empty when neither folder is known.
std::string DefaultSettingsPath();

// Reads the file at path (none there: the defaults), each problem one line on standard error.
platform::SettingsFile LoadPlayerSettings(const std::string& path);

// Writes the settings when they differ from what the file holds (or the file must be kept
// aside first). Said on standard error when it cannot, or when a damaged file was kept aside.
void SavePlayerSettings(platform::SettingsFile& file, const platform::Settings& settings);

// The loudness of a percent setting: its square, so half way sounds about half as loud.
float GainOfPercent(int percent);

// The sound's volumes and the look, for the running scenes.
void ApplySettings(const platform::Settings& settings, SceneManager& manager);
// The bindings and the stick's speed, for the window's devices.
void ApplySettings(const platform::Settings& settings, platform::SdlInput& devices);
