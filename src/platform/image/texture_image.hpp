// The CPU side of loading a picture file as a texture: decoding, the power-of-two rule and mips.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/image/image.hpp"

namespace platform {

// What a texture loaded from a file holds before it reaches the GPU. With the non-power-of-two
// flag the texture keeps the file's size; without it each side is rounded up to a power of two
// and the picture is scaled to fill the whole texture. The file's own size is kept apart: it is
// what the texture reports as its image information and sprite source rectangle.
struct TextureImage {
    uint32_t fileWidth = 0;
    uint32_t fileHeight = 0;
    std::vector<Image> levels;  // level 0 at the texture's size, then the full box-filtered mip chain

    uint32_t Width() const { return levels.empty() ? 0 : levels[0].width; }
    uint32_t Height() const { return levels.empty() ? 0 : levels[0].height; }
    uint32_t LevelCount() const { return static_cast<uint32_t>(levels.size()); }
};

// The texture size a file of fileWidth x fileHeight gets under the given flag.
void TextureSizeFor(uint32_t fileWidth, uint32_t fileHeight, bool nonPowerOfTwo, uint32_t& width,
                    uint32_t& height);

// Reads the file and prepares every level. On failure returns false, leaves `out` empty and
// names the file in `error`.
bool LoadTextureImage(const std::string& path, bool nonPowerOfTwo, TextureImage& out, std::string& error);

}  // namespace platform
