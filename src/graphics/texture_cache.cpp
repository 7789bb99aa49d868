// The texture cache.
#include "graphics/texture_cache.hpp"


TextureCache* gTextureCache = nullptr;

platform::TextureImage TextureCache::ReadPicture(const std::string& fileName) {
    platform::TextureImage image;
    std::string error;
    platform::LoadTextureImage(fileName, true, image, error);  // left empty when it cannot be read
    return image;
}

Texture* TextureCache::Get(std::string_view name) {
    auto it = textures_.find(name);
    if (it != textures_.end()) return it->second.get();
    const std::string fileName(name);
    auto texture = std::make_unique<Texture>();
    if (std::optional<platform::TextureImage> image = reader_.Take(fileName))
        texture->CreateFromImage(fileName, &*image);
    else
        texture->LoadFromFile(fileName, true);
    return textures_.emplace(fileName, std::move(texture)).first->second.get();
}

void TextureCache::Prefetch(const std::vector<std::string>& fileNames) {
    for (const std::string& name : fileNames)
        if (!textures_.count(name)) reader_.Request(name);
}

void TextureCache::ReleaseAll() {
    reader_.Stop();
    for (auto& [name, texture] : textures_) texture->Release();
    textures_.clear();
}

std::vector<std::string> TextureCache::FileNames() const {
    std::vector<std::string> names;
    for (const auto& [name, texture] : textures_) names.push_back(name);
    return names;
}
