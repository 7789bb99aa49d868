// A mesh from a DirectX .x file with its materials and one texture per material. Every 3D object
// of the game is a Model drawn by an effect; the map meshes also answer ray tests.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/texture.hpp"
#include "graphics/view_volume.hpp"
#include "platform/image/texture_image.hpp"
#include "platform/mesh/mesh_data.hpp"
#include "platform/render/render_device.hpp"

// A material as the effects read it; ambient already equals diffuse.
struct Material {
    ColorValue diffuse, ambient, specular, emissive;
    float power = 0;
};

// The mesh on the device plus the CPU copy the ray tests use.
class Mesh {
public:
    ~Mesh() { Release(); }
    bool Create(platform::RenderDevice& device, platform::MeshData data);
    void Release();
    // Draws the faces of one material with the current effect pass. Given a view, the runs of
    // faces that cannot show in it are left out, each run's box widened by `grow`: the faces
    // drawn keep their order, so the picture is the same.
    void DrawSubset(uint32_t subset, const ViewVolume* view = nullptr, float grow = 0.0f) const;
    // Nearest hit of a ray in the mesh's own frame: both faces, nothing behind the origin, the
    // distance in units of `direction` as given.
    platform::RayHit Intersect(Vec3 origin, Vec3 direction) const { return data_.Intersect(origin, direction); }
    const platform::MeshData& data() const { return data_; }
    uint32_t SubsetCount() const { return static_cast<uint32_t>(data_.subsets.size()); }
    // The device buffer its subsets draw from (tests tell models apart by it).
    platform::MeshBufferId buffer() const { return buffer_; }

private:
    // Consecutive faces of one subset and the box around them.
    struct FaceRun {
        uint32_t indexStart = 0, indexCount = 0;
        Vec3 min, max;
    };
    void MakeFaceRuns();

    platform::RenderDevice* device_ = nullptr;
    platform::MeshBufferId buffer_ = 0;
    platform::MeshData data_;
    std::vector<std::vector<FaceRun>> runs_;  // per subset
};

// Everything of a model file that does not need the device: the mesh with its ray hierarchy
// and the decoded pictures of its materials. Made on any thread; only Model::Create puts it on
// the device.
struct ModelData {
    bool read = false;     // false when the file could not be read
    std::string name;      // file name and extension, without the folder
    platform::MeshData mesh;
    // One per material; null when the material names no picture or it cannot be read. Materials
    // that name the same file share one decoded picture.
    std::vector<std::shared_ptr<const platform::TextureImage>> pictures;
    // The reader's messages, each naming its file: why the model or one of its pictures could
    // not be read.
    std::vector<std::string> problems;
};

// Reads the file, builds its ray hierarchy and decodes its pictures. Touches no shared state.
ModelData ReadModelFile(const std::string& path);

class Model {
public:
    ~Model() { Release(); }
    // Loads the file; a failure leaves the model empty (it draws nothing and is never hit).
    bool Load(platform::RenderDevice* device, const std::string& path);
    // Puts what ReadModelFile made on the device; an unread file leaves the model empty.
    bool Create(platform::RenderDevice* device, ModelData data);
    void Release();
    // Ray test in the model's own frame; no hit for an empty model.
    platform::RayHit Intersect(Vec3 origin, Vec3 direction) const;

    std::unique_ptr<Mesh> mesh;
    std::unique_ptr<Texture[]> materialTextures;
    std::unique_ptr<Material[]> materials;
    uint32_t materialCount = 0;
    std::string name;  // file name and extension, without the folder
};
