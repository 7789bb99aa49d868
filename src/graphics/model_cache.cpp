// Models put on the device.
#include "graphics/model_cache.hpp"

#include "graphics/graphics_device.hpp"

void ModelFiles::Make(Model& model, const std::string&, ModelData data) {
    model.Create(GraphicsDevice::Instance().device.get(), std::move(data));
}
