// The pictures the game draws, each read once per process (see AssetCache).
#pragma once

#include <string>
#include <vector>

#include "graphics/asset_cache.hpp"
#include "graphics/texture.hpp"

// A picture file decoded at its own size with its mips (no rounding up to powers of two), or
// left empty with the reason it could not be.
struct PictureData {
    platform::TextureImage image;
    std::vector<std::string> problems;
};

struct PictureFiles {
    using Asset = Texture;
    using Data = PictureData;
    static PictureData Read(const std::string& file);
    static const std::vector<std::string>& Problems(const PictureData& data) { return data.problems; }
    static void Make(Texture& texture, const std::string& file, PictureData data) {
        texture.CreateFromImage(file, &data.image);  // an empty picture leaves the texture empty
    }
};

class TextureCache : public AssetCache<PictureFiles> {};
