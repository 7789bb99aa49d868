// The one wrapper for every texture of the game: pictures loaded from files, render targets,
// and the tiny colour textures of the effects. Empty when `texture` is 0.
#pragma once

#include <cstdint>
#include <string>

#include "platform/image/texture_image.hpp"
#include "platform/render/render_device.hpp"

// RenderTargetWithDepth: a render target with its own depth and stencil buffer (a picture drawn
// smaller than the back buffer).
enum class TextureUsage { None, RenderTarget, RenderTargetWithDepth };
enum class TexturePool { Default, Managed };

// What the loader reports: for a file its own size, for a created texture the size of level 0.
struct ImageInfo {
    uint32_t width = 0, height = 0, depth = 0, mipLevels = 0;
    uint32_t format = 0, resourceType = 0, imageFileFormat = 0;
};

struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

class Texture {
public:
    Texture() = default;
    ~Texture() { Release(); }
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    // An empty texture of the given size; render-target usage makes it drawable into.
    // 1 on success, 0 on failure.
    int CreateTarget(int width, int height, int mipLevels, TextureUsage usage, uint32_t format = 0,
                     TexturePool pool = TexturePool::Default);
    // A picture file with its full mip chain. With `nonPowerOfTwo` the texture keeps the file's
    // size; without it each side is rounded up to a power of two and the picture scaled to fill
    // it. `imageInfo` and `sourceRect` keep the file's size either way. 1 on success, 0 on failure.
    int LoadFromFile(const std::string& fileName, bool nonPowerOfTwo);
    // The same from a picture LoadTextureImage has already read (on any thread); null stands
    // for a file that could not be read.
    int CreateFromImage(const std::string& fileName, const platform::TextureImage* image);
    // Safe on an empty texture and twice in a row.
    void Release();
    void SetAsRenderTarget(int index) const;
    // Every texel of level 0 becomes the ARGB colour.
    bool Fill(platform::Color color, uint32_t lockFlags = 0);
    // The texture's own size (level 0), which can differ from the file's.
    int Width() const;
    int Height() const;

    platform::TextureId texture = 0;
    platform::TextureId surface = 0;  // level 0 as a render target: the same handle
    ImageInfo imageInfo;
    Rect sourceRect;
    std::string fileName;

private:
    platform::RenderDevice* device_ = nullptr;  // the device that made `texture`
};
