// Texture preparation: the file's picture, sized by the power-of-two rule, with its mip chain.
#include "platform/image/texture_image.hpp"

namespace platform {

void TextureSizeFor(uint32_t fileWidth, uint32_t fileHeight, bool nonPowerOfTwo, uint32_t& width,
                    uint32_t& height) {
    width = nonPowerOfTwo ? fileWidth : NextPowerOfTwo(fileWidth);
    height = nonPowerOfTwo ? fileHeight : NextPowerOfTwo(fileHeight);
}

bool LoadTextureImage(const std::string& path, bool nonPowerOfTwo, TextureImage& out, std::string& error) {
    out = TextureImage{};
    Image picture;
    if (!LoadImageFile(path, picture, error)) return false;
    uint32_t width = 0, height = 0;
    TextureSizeFor(picture.width, picture.height, nonPowerOfTwo, width, height);
    out.fileWidth = picture.width;
    out.fileHeight = picture.height;
    if (width != picture.width || height != picture.height) picture = ResizeImage(picture, width, height);
    out.levels = BuildMipChain(std::move(picture));
    return true;
}

}  // namespace platform
