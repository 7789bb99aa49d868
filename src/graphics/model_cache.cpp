// The model cache.
#include "graphics/model_cache.hpp"

#include "graphics/graphics_device.hpp"

ModelCache* gModelCache = nullptr;

Model* ModelCache::Get(std::string_view name) {
    auto it = models_.find(name);
    if (it != models_.end()) return it->second.get();
    const std::string fileName(name);
    auto model = std::make_unique<Model>();
    platform::RenderDevice* device = GraphicsDevice::Instance().device.get();
    if (std::optional<ModelData> data = reader_.Take(fileName))
        model->Create(device, std::move(*data));
    else
        model->Load(device, fileName);
    return models_.emplace(fileName, std::move(model)).first->second.get();
}

void ModelCache::Prefetch(const std::vector<std::string>& fileNames) {
    for (const std::string& name : fileNames)
        if (!models_.count(name)) reader_.Request(name);
}

void ModelCache::ReleaseAll() {
    reader_.Stop();
    for (auto& [name, model] : models_) model->Release();
    models_.clear();
}

std::vector<std::string> ModelCache::FileNames() const {
    std::vector<std::string> names;
    for (const auto& [name, model] : models_) names.push_back(name);
    return names;
}
