// Textures on the render device.
#include "graphics/texture.hpp"

#include <vector>

#include "graphics/graphics_device.hpp"
#include "platform/image/texture_image.hpp"

using namespace platform;

int Texture::CreateTarget(int width, int height, int mipLevels, TextureUsage usage, uint32_t format, TexturePool) {
    Release();
    RenderDevice* d = GraphicsDevice::Instance().device.get();
    if (!d) return 0;
    texture = d->CreateTexture(width, height, mipLevels, usage != TextureUsage::None,
                               usage == TextureUsage::RenderTargetWithDepth);
    if (!texture) return 0;
    device_ = d;
    surface = texture;
    const TextureInfo* info = d->GetTextureInfo(texture);
    imageInfo.width = static_cast<uint32_t>(info->width);
    imageInfo.height = static_cast<uint32_t>(info->height);
    imageInfo.mipLevels = static_cast<uint32_t>(info->levels);
    imageInfo.format = format;
    sourceRect = {0, 0, info->width, info->height};
    return 1;
}

int Texture::LoadFromFile(const std::string& name, bool nonPowerOfTwo) {
    if (!GraphicsDevice::Instance().device) return CreateFromImage(name, nullptr);
    TextureImage image;
    std::string error;
    const bool read = LoadTextureImage(name, nonPowerOfTwo, image, error);  // a missing picture draws nothing
    return CreateFromImage(name, read ? &image : nullptr);
}

int Texture::CreateFromImage(const std::string& name, const TextureImage* image) {
    Release();
    fileName = name;
    RenderDevice* d = GraphicsDevice::Instance().device.get();
    if (!d || !image || image->levels.empty()) return 0;
    texture = d->CreateTexture(static_cast<int>(image->Width()), static_cast<int>(image->Height()),
                               static_cast<int>(image->LevelCount()), false);
    if (!texture) return 0;
    device_ = d;
    surface = texture;
    const TextureInfo* info = d->GetTextureInfo(texture);
    for (int level = 0; level < info->levels && level < static_cast<int>(image->levels.size()); ++level)
        d->UpdateTexture(texture, level, image->levels[level].pixels.data());
    imageInfo = {};
    imageInfo.width = image->fileWidth;
    imageInfo.height = image->fileHeight;
    imageInfo.depth = 1;
    imageInfo.mipLevels = image->LevelCount();
    sourceRect = {0, 0, static_cast<int32_t>(image->fileWidth), static_cast<int32_t>(image->fileHeight)};
    return 1;
}

void Texture::Release() {
    // A device released before its textures (at shutdown) has taken them with it.
    if (texture && device_ && GraphicsDevice::Instance().device.get() == device_) device_->ReleaseTexture(texture);
    texture = surface = 0;
    device_ = nullptr;
    fileName.clear();
    imageInfo = {};
    sourceRect = {};
}

void Texture::SetAsRenderTarget(int index) const {
    if (RenderDevice* d = GraphicsDevice::Instance().device.get()) d->SetRenderTarget(index, surface);
}

bool Texture::Fill(Color color, uint32_t) {
    if (!texture || !device_) return false;
    const TextureInfo* info = device_->GetTextureInfo(texture);
    if (!info) return false;
    const uint8_t rgba[4] = {uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color), uint8_t(color >> 24)};
    std::vector<uint8_t> pixels(size_t(info->width) * info->height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) std::copy(rgba, rgba + 4, pixels.begin() + i);
    device_->UpdateTexture(texture, 0, pixels.data());
    return true;
}

int Texture::Width() const {
    const TextureInfo* info = device_ ? device_->GetTextureInfo(texture) : nullptr;
    return info ? info->width : 0;
}

int Texture::Height() const {
    const TextureInfo* info = device_ ? device_->GetTextureInfo(texture) : nullptr;
    return info ? info->height : 0;
}
