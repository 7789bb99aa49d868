// Every picture file is read once per run: the cache maps a file name to its Texture and keeps
// it until shutdown, also when the load failed (a missing file is not tried again).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "graphics/texture.hpp"

class TextureCache {
public:
    // Never null; an empty Texture when the file could not be read.
    Texture* Get(const std::string& fileName);
    void ReleaseAll();
    size_t size() const { return textures_.size(); }

private:
    std::map<std::string, std::unique_ptr<Texture>> textures_;
};

// Created and deleted by the scene manager.
extern TextureCache* gTextureCache;
