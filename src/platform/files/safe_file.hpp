// Files the game writes for the player, written so that a failure never costs the old file:
// the text goes to a temporary file beside the target, is synced, and is renamed over it.
#pragma once

#include <string>

namespace platform {

// Writes `text` to PATH.saving, syncs it and renames it over PATH. False with "cannot ... 'FILE':
// reason" in *error; the previous file is then as it was and the temporary file is gone.
bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error);

// A name beside PATH that nothing uses yet, for a file kept aside: PATH + suffix, else
// PATH + suffix + "-2", "-3" ... Empty when every one up to 999 is taken.
std::string FreeNameBeside(const std::string& path, const std::string& suffix);

}  // namespace platform
