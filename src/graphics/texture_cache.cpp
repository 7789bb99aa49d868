// Pictures decoded for the texture cache.
#include "graphics/texture_cache.hpp"

PictureData PictureFiles::Read(const std::string& file) {
    PictureData data;
    std::string error;
    if (!platform::LoadTextureImage(file, true, data.image, error)) data.problems.push_back(error);
    return data;
}
