// Models on the render device.
#include "graphics/model.hpp"

#include <algorithm>
#include <cstdio>
#include <map>

#include "platform/image/texture_image.hpp"
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
    MakeFaceRuns();
    // The hierarchy keeps its own copy of the triangles; the vertex arrays are on the device now.
    data_.vertices = {};
    return true;
}

void Mesh::MakeFaceRuns() {
    // The maps are laid out in rows across the course: runs of a few dozen faces are pieces of a
    // row short enough for the view to leave most of them out, while a small model is a few runs.
    constexpr uint32_t kRunFaces = 32;
    runs_.assign(data_.subsets.size(), {});
    for (size_t i = 0; i < data_.subsets.size(); ++i) {
        const MeshSubset& subset = data_.subsets[i];
        for (uint32_t start = 0; start < subset.indexCount; start += 3 * kRunFaces) {
            FaceRun run;
            run.indexStart = subset.indexStart + start;
            run.indexCount = std::min(3 * kRunFaces, subset.indexCount - start);
            bool first = true;
            for (uint32_t k = run.indexStart; k < run.indexStart + run.indexCount; ++k) {
                const uint32_t v = data_.indices[k];
                if (v >= data_.vertices.size()) continue;
                const Vec3 p = data_.vertices[v].position;
                run.min = first ? p : Vec3{std::min(run.min.x, p.x), std::min(run.min.y, p.y), std::min(run.min.z, p.z)};
                run.max = first ? p : Vec3{std::max(run.max.x, p.x), std::max(run.max.y, p.y), std::max(run.max.z, p.z)};
                first = false;
            }
            if (!first) runs_[i].push_back(run);
        }
    }
}

void Mesh::DrawSubset(uint32_t subset, const ViewVolume* view, float grow) const {
    if (!device_ || !buffer_ || subset >= data_.subsets.size()) return;
    if (!view) {
        const MeshSubset& s = data_.subsets[subset];
        device_->DrawMesh(buffer_, s.indexStart, s.indexCount);
        return;
    }
    // Runs that show and follow each other go to the device as one draw.
    uint32_t start = 0, count = 0;
    for (const FaceRun& run : runs_[subset]) {
        if (!view->MayShow(run.min, run.max, grow)) continue;
        if (count > 0 && start + count == run.indexStart) {
            count += run.indexCount;
            continue;
        }
        if (count > 0) device_->DrawMesh(buffer_, start, count);
        start = run.indexStart;
        count = run.indexCount;
    }
    if (count > 0) device_->DrawMesh(buffer_, start, count);
}

void Mesh::Release() {
    if (device_ && buffer_) device_->ReleaseMeshBuffer(buffer_);
    buffer_ = 0;
    device_ = nullptr;
    data_ = {};
}


namespace {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ModelData ReadModelFile(const std::string& path) {
    ModelData data;
    data.name = FileNameOf(path);
    std::string error;
    if (!LoadXFile(path, data.mesh, error)) {
        data.problems.push_back(error);  // a missing model draws nothing
        return data;
    }
    data.read = true;
    std::map<std::string, std::shared_ptr<const TextureImage>> decoded;
    for (const MeshMaterial& m : data.mesh.materials) {
        auto [picture, first] = decoded.try_emplace(m.texturePath);
        if (first && !m.texturePath.empty()) {
            auto image = std::make_shared<TextureImage>();
            if (LoadTextureImage(m.texturePath, false, *image, error))
                picture->second = std::move(image);
            else
                data.problems.push_back(error);
        }
        data.pictures.push_back(picture->second);
    }
    return data;
}

bool Model::Load(RenderDevice* device, const std::string& path) {
    if (device) return Create(device, ReadModelFile(path));
    ModelData unread;
    unread.name = FileNameOf(path);
    return Create(device, std::move(unread));
}

bool Model::Create(RenderDevice* device, ModelData data) {
    Release();
    name = data.name;
    if (!device || !data.read) return false;
    const size_t count = data.mesh.materials.size();
    materialCount = static_cast<uint32_t>(count);
    materials = std::make_unique<Material[]>(count);
    materialTextures = std::make_unique<Texture[]>(count);
    for (size_t i = 0; i < count; ++i) {
        const MeshMaterial& m = data.mesh.materials[i];
        materials[i] = {m.diffuse, m.diffuse, m.specular, m.emissive, m.power};
        if (!m.texturePath.empty()) materialTextures[i].CreateFromImage(m.texturePath, data.pictures[i].get());
    }
    mesh = std::make_unique<Mesh>();
    if (!mesh->Create(*device, std::move(data.mesh))) {
        Release();
        name = data.name;
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
