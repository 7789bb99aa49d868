// Writing a file so that a failure never leaves it half written.
#pragma once

#include <string>

namespace platform {

// Writes `text` to `path` whole or not at all: into "<path>.saving" beside it, flushed to the
// disk, then renamed over `path`. On failure the old file is left as it was, the temporary is
// removed, and *error (when given) names the file and the reason.
bool WriteFileSafely(const std::string& path, const std::string& text, std::string* error = nullptr);

}  // namespace platform
