// The texture cache.
#include "graphics/texture_cache.hpp"

TextureCache* gTextureCache = nullptr;

Texture* TextureCache::Get(const std::string& fileName) {
    auto it = textures_.find(fileName);
    if (it != textures_.end()) return it->second.get();
    auto texture = std::make_unique<Texture>();
    texture->LoadFromFile(fileName, true);
    return textures_.emplace(fileName, std::move(texture)).first->second.get();
}

void TextureCache::ReleaseAll() {
    for (auto& [name, texture] : textures_) texture->Release();
    textures_.clear();
}
