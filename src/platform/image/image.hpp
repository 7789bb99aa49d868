// A picture in memory as the loaders hand it to the render device: RGBA8, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace platform {

// The largest side a picture file may have; bigger files are refused rather than allocated.
// Picture files larger than this are refused before they are decoded.
inline constexpr size_t kMaxImageFileBytes = size_t(64) << 20;
constexpr uint32_t kMaxImageSide = 16384;

struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> pixels;  // width * height * 4 bytes, R G B A, rows top first, no padding

    bool Empty() const { return width == 0 || height == 0; }
    // The four bytes of texel (x, y); no bounds check beyond the vector's own.
    const uint8_t* Texel(uint32_t x, uint32_t y) const { return &pixels[(size_t(y) * width + x) * 4]; }
};

// Decodes any picture stb_image reads (PNG, JPEG, BMP, TGA, ...) into RGBA8. On failure returns
// false, leaves `out` empty and puts a readable reason into `error` (naming the file).
bool LoadImageFile(const std::string& path, Image& out, std::string& error);
bool DecodeImage(std::span<const uint8_t> bytes, Image& out, std::string& error);

// The smallest power of two >= n (1 for 0).
uint32_t NextPowerOfTwo(uint32_t n);

// The picture scaled to width x height with a tent (bilinear) filter and clamped edges; alpha
// weights the colour so transparent texels do not bleed their colour into their neighbours.
Image ResizeImage(const Image& source, uint32_t width, uint32_t height);

// The full mip chain below `base`: each level halves each side (never below 1) and averages the
// 2 x 2 texels it covers (box filter). Level 0 is `base` itself; the last level is 1 x 1.
std::vector<Image> BuildMipChain(Image base);

}  // namespace platform
