// A model file refused by the .x reader: where it broke and what was wrong.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace platform {

// Thrown only inside the .x reader and caught by LoadXFile, which prefixes the file name. The
// text reads "offset 1234: what was wrong" or "line 56: what was wrong".
class XFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Limits that keep a damaged or hostile file cheap: the game's own maps are about 4.5 MB of
// text with some 300,000 face corners.
inline constexpr size_t kXMaxFileBytes = 64u << 20;      // a file, or what a compressed one inflates to
inline constexpr int kXMaxDepth = 64;                    // objects inside objects
inline constexpr uint64_t kXMaxCorners = 8u << 20;       // face corners of all meshes together

}  // namespace platform
