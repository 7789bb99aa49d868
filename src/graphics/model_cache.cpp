// The model cache.
#include "graphics/model_cache.hpp"

#include "graphics/graphics_device.hpp"

ModelCache* gModelCache = nullptr;

Model* ModelCache::Get(const std::string& fileName) {
    auto it = models_.find(fileName);
    if (it != models_.end()) return it->second.get();
    auto model = std::make_unique<Model>();
    model->Load(GraphicsDevice::Instance().device.get(), fileName);
    return models_.emplace(fileName, std::move(model)).first->second.get();
}

void ModelCache::ReleaseAll() {
    for (auto& [name, model] : models_) model->Release();
    models_.clear();
}
