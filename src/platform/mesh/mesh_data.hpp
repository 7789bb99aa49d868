// A mesh as loaded from a model file, on the CPU: vertices, faces grouped by subset, materials.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/math.hpp"
#include "platform/mesh/triangle_bvh.hpp"
#include "platform/types/render_types.hpp"

namespace platform {

// One material of a model file. Ambient already equals diffuse (the game lights its models
// with the diffuse colour alone); specular and emissive carry alpha 1.
struct MeshMaterial {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
    std::string texturePath;  // the model's folder + the file named by the material; empty if none
};

// The faces of one material: indices [indexStart, indexStart + indexCount) of MeshData::indices.
struct MeshSubset {
    uint32_t indexStart = 0;
    uint32_t indexCount = 0;
    uint32_t FaceStart() const { return indexStart / 3; }
    uint32_t FaceCount() const { return indexCount / 3; }
};

struct MeshBounds {
    Vec3 min;
    Vec3 max;
};

// Every mesh of a file merged into one, in the file's own coordinates (left-handed, frame
// transforms applied). Subset i belongs to material i. Faces are triangles, three indices each,
// clockwise front faces as in the file; face k is indices 3k..3k+2.
struct MeshData {
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;
    std::vector<MeshSubset> subsets;
    std::vector<MeshMaterial> materials;  // one per subset
    MeshBounds bounds;                    // of all vertices; zero when there are none
    TriangleBvh bvh;                      // built once after loading, for ray tests

    uint32_t FaceCount() const { return static_cast<uint32_t>(indices.size() / 3); }
    bool Empty() const { return indices.empty(); }

    // Builds the ray-test hierarchy and the bounds from vertices and indices.
    void Finish();

    // A ray test with the meaning of D3DXIntersect: see TriangleBvh::Intersect. An empty mesh
    // reports no hit.
    RayHit Intersect(Vec3 origin, Vec3 direction) const { return bvh.Intersect(origin, direction); }
};

}  // namespace platform
