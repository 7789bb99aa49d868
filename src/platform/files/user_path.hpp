// Paths as a person types them: relative to the folder the game was started in, `~` for the
// home folder.
#pragma once

#include <string>

namespace platform {

// The absolute path the typed text means: surrounding blanks dropped, "~" or "~/..." under
// `home`, a relative path under `startFolder`, "." and ".." resolved by name. Empty, with the
// reason in *error, for an empty text, "~" without a home folder, or "~name" (another user's
// home is not looked up).
std::string ExpandUserPath(const std::string& typed, const std::string& startFolder, const std::string& home,
                           std::string* error);

// The same path written shorter for showing: "~/..." when it lies in `home`.
std::string ShortUserPath(const std::string& path, const std::string& home);

}  // namespace platform
