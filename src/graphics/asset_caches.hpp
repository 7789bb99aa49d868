// The two file caches the game draws from: one pair per process, owned by the game's services
// and handed to everything that draws a file or ray-tests a model.
#pragma once

#include "graphics/model_cache.hpp"
#include "graphics/texture_cache.hpp"

struct AssetCaches {
    ModelCache models;
    TextureCache textures;

    // Both caches' background reading ends and every object goes (before the device does).
    void ReleaseAll() {
        models.ReleaseAll();
        textures.ReleaseAll();
    }
};
