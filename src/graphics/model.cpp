// Models on the render device.
#include "graphics/model.hpp"

#include <cstdio>

#include "platform/mesh/x_file_loader.hpp"

using namespace platform;

bool Mesh::Create(RenderDevice& device, MeshData data) {
    Release();
    data_ = std::move(data);
    if (!data_.Empty()) {
        buffer_ = device.CreateMeshBuffer(data_.vertices.data(), data_.vertices.size(), data_.indices.data(),
                                          data_.indices.size());
        if (!buffer_) return false;
    }
    device_ = &device;
    // The hierarchy keeps its own copy of the triangles; the vertex arrays are on the device now.
    data_.vertices = {};
    return true;
}

void Mesh::Release() {
    if (device_ && buffer_) device_->ReleaseMeshBuffer(buffer_);
    buffer_ = 0;
    device_ = nullptr;
    data_ = {};
}

void Mesh::DrawSubset(uint32_t subset) const {
    if (!device_ || !buffer_ || subset >= data_.subsets.size()) return;
    const MeshSubset& s = data_.subsets[subset];
    device_->DrawMesh(buffer_, s.indexStart, s.indexCount);
}

bool Model::Load(RenderDevice* device, const std::string& path) {
    Release();
    size_t slash = path.find_last_of("/\\");
    name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!device) return false;
    MeshData data;
    std::string error;
    if (!LoadXFile(path, data, error)) return false;  // a missing model draws nothing
    const size_t count = data.materials.size();
    materialCount = static_cast<uint32_t>(count);
    materials = std::make_unique<Material[]>(count);
    materialTextures = std::make_unique<Texture[]>(count);
    for (size_t i = 0; i < count; ++i) {
        const MeshMaterial& m = data.materials[i];
        materials[i] = {m.diffuse, m.diffuse, m.specular, m.emissive, m.power};
        if (!m.texturePath.empty()) materialTextures[i].LoadFromFile(m.texturePath, false);
    }
    mesh = std::make_unique<Mesh>();
    if (!mesh->Create(*device, std::move(data))) {
        Release();
        name = slash == std::string::npos ? path : path.substr(slash + 1);
        return false;
    }
    return true;
}

void Model::Release() {
    materialTextures.reset();
    materials.reset();
    materialCount = 0;
    mesh.reset();
    name.clear();
}

RayHit Model::Intersect(Vec3 origin, Vec3 direction) const {
    return mesh ? mesh->Intersect(origin, direction) : RayHit{};
}
