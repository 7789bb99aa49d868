// The settings file in the player's config folder ($XDG_CONFIG_HOME/korvelin/settings.toml, or
// another named on the command line). Reading it never stops the game: what is wrong is said in
// one line each and keeps its default. Writing goes through a temporary file; a file that had
// something wrong in it is first kept beside under a new name, so nothing the player wrote is
// ever overwritten unseen.
#pragma once

#include <string>
#include <vector>

#include "platform/files/safe_file.hpp"
#include "platform/settings/settings_format.hpp"

namespace platform {

constexpr const char* kSettingsFileName = "settings.toml";

struct SettingsFile {
    std::string path;
    Settings settings;                  // as read: the defaults where something was wrong
    std::vector<std::string> problems;  // one line each, naming the file
    // There is a file at path that did not read cleanly, or that a newer game wrote: it is kept
    // beside (PATH + asideSuffix, numbered when taken) before the first save.
    bool keepAside = false;
    const char* asideSuffix = ".broken";  // ".newer" for a newer game's file
    // Something other than a file stands at path (a folder, a device): it is never written.
    bool writable = true;
};

// Reads path. No file there: the defaults, no problem. A file that cannot be read (or is larger
// than a settings file may be, or a folder, a device or a pipe), or is no settings file at all,
// is one problem and gives the defaults. A newer game's file is one line too, and gives what this
// game knows of it.
SettingsFile LoadSettingsFile(const std::string& path, const InputNaming& naming);

// Writes the settings to file.path (its folder made when missing). When file.keepAside, the file
// there is first renamed to a free name beside it (PATH.broken, PATH.broken-2, ...; PATH.newer
// for a newer game's file), said in
// *note; once written, keepAside is false. False with the reason in *error: nothing is written,
// and a file already kept aside stays where it was put.
bool SaveSettingsFile(SettingsFile& file, const Settings& settings, std::string* note, SaveError* error);

}  // namespace platform
