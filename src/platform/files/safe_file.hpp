// Writing a file so that a failure never leaves it half written.
#pragma once

#include <string>

namespace platform {

// Writes `text` to `path` whole or not at all: into "<path>.saving" beside it, flushed to the
// disk, then renamed over `path`. On failure the old file is left as it was, the temporary is
// removed, and *error (when given) names the file and the reason.
bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error = nullptr);

// A name beside PATH that nothing uses yet, for a file kept aside: PATH + suffix, else
// PATH + suffix + "-2", "-3" ... Empty when every one up to 999 is taken.
std::string FreeNameBeside(const std::string& path, const std::string& suffix);

}  // namespace platform
