// Reads our effect files (documented in docs/effect-format.md) into an EffectDescription.
#pragma once

#include <string>
#include <string_view>

#include "platform/effect/effect_description.hpp"

namespace platform {

// Files above this size are refused (ours are a few kilobytes).
constexpr size_t kMaxEffectFileSize = 1 << 20;

// Parses effect text. On failure returns false, and `errors` holds one line per problem, each
// "FILE(LINE): message" with the file line where it was found; `out` is then left empty.
bool ParseEffect(std::string_view text, const std::string& fileName, EffectDescription& out, std::string& errors);

// Reads and parses a file; a file that cannot be read gives "FILE: cannot open: why" (or the like).
bool LoadEffectFile(const std::string& path, EffectDescription& out, std::string& errors);

}  // namespace platform
