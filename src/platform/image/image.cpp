// Picture decoding through stb_image, scaling through stb_image_resize, box-filtered mips.
#include "platform/image/image.hpp"

#include <stb_image.h>
#include <stb_image_resize.h>

#include <algorithm>
#include <cstdio>

#include "platform/files/bounded_file.hpp"

namespace platform {

namespace {

bool Decode(std::span<const uint8_t> bytes, Image& out, std::string& reason) {
    out = Image{};
    if (bytes.empty()) {
        reason = "the file is empty";
        return false;
    }
    if (bytes.size() > size_t(INT32_MAX)) {
        reason = "the file is too large";
        return false;
    }
    int w = 0, h = 0, channels = 0;
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int size = static_cast<int>(bytes.size());
    // Check the size before decoding, so a hostile header cannot make us allocate gigabytes.
    if (!stbi_info_from_memory(data, size, &w, &h, &channels)) {
        const char* why = stbi_failure_reason();
        reason = std::string("not a readable picture (") + (why ? why : "unknown format") + ")";
        return false;
    }
    if (w <= 0 || h <= 0 || uint32_t(w) > kMaxImageSide || uint32_t(h) > kMaxImageSide) {
        reason = "picture size " + std::to_string(w) + " x " + std::to_string(h) + " is outside 1.." +
                 std::to_string(kMaxImageSide);
        return false;
    }
    stbi_set_flip_vertically_on_load_thread(0);  // per thread: pictures are decoded on more than one
    stbi_uc* pixels = stbi_load_from_memory(data, size, &w, &h, &channels, 4);
    if (!pixels) {
        const char* why = stbi_failure_reason();
        reason = std::string("the picture cannot be decoded (") + (why ? why : "unknown error") + ")";
        return false;
    }
    out.width = static_cast<uint32_t>(w);
    out.height = static_cast<uint32_t>(h);
    out.pixels.assign(pixels, pixels + size_t(w) * size_t(h) * 4);
    stbi_image_free(pixels);
    return true;
}

}  // namespace

bool DecodeImage(std::span<const uint8_t> bytes, Image& out, std::string& error) {
    std::string reason;
    if (Decode(bytes, out, reason)) return true;
    error = reason;
    return false;
}

bool LoadImageFile(const std::string& path, Image& out, std::string& error) {
    out = Image{};
    std::string bytes, reason;
    if (!ReadBoundedFile(path, kMaxImageFileBytes, "the most a picture file may hold", &bytes, &reason)) {
        error = path + ": " + reason;
        return false;
    }
    if (!Decode({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()}, out, reason)) {
        error = path + ": " + reason;
        return false;
    }
    return true;
}

uint32_t NextPowerOfTwo(uint32_t n) {
    uint32_t p = 1;
    while (p < n && p < 0x80000000u) p <<= 1;
    return p;
}

Image ResizeImage(const Image& source, uint32_t width, uint32_t height) {
    Image out;
    if (source.Empty() || width == 0 || height == 0) return out;
    out.width = width;
    out.height = height;
    if (width == source.width && height == source.height) {
        out.pixels = source.pixels;
        return out;
    }
    out.pixels.resize(size_t(width) * height * 4);
    stbir_resize_uint8_generic(source.pixels.data(), int(source.width), int(source.height), 0,
                               out.pixels.data(), int(width), int(height), 0, 4, 3, 0, STBIR_EDGE_CLAMP,
                               STBIR_FILTER_TRIANGLE, STBIR_COLORSPACE_LINEAR, nullptr);
    return out;
}

std::vector<Image> BuildMipChain(Image base) {
    std::vector<Image> levels;
    if (base.Empty()) return levels;
    levels.push_back(std::move(base));
    while (levels.back().width > 1 || levels.back().height > 1) {
        const Image& src = levels.back();
        Image dst;
        dst.width = src.width > 1 ? src.width / 2 : 1;
        dst.height = src.height > 1 ? src.height / 2 : 1;
        dst.pixels.resize(size_t(dst.width) * dst.height * 4);
        for (uint32_t y = 0; y < dst.height; ++y) {
            // A side of 1 repeats its only row or column.
            const uint32_t y0 = std::min(2 * y, src.height - 1), y1 = std::min(2 * y + 1, src.height - 1);
            for (uint32_t x = 0; x < dst.width; ++x) {
                const uint32_t x0 = std::min(2 * x, src.width - 1), x1 = std::min(2 * x + 1, src.width - 1);
                const uint8_t* a = src.Texel(x0, y0);
                const uint8_t* b = src.Texel(x1, y0);
                const uint8_t* c = src.Texel(x0, y1);
                const uint8_t* d = src.Texel(x1, y1);
                uint8_t* o = &dst.pixels[(size_t(y) * dst.width + x) * 4];
                for (int k = 0; k < 4; ++k) o[k] = uint8_t((a[k] + b[k] + c[k] + d[k] + 2) / 4);
            }
        }
        levels.push_back(std::move(dst));
    }
    return levels;
}

}  // namespace platform
