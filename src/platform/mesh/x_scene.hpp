// What the .x reader keeps of a file: the frame tree with its meshes and their materials.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "math/math.hpp"

namespace platform {

// A Material object as the file gives it.
struct XMaterial {
    std::string name;
    ColorValue faceColor;   // diffuse, with alpha
    float power = 0;
    Vec3 specular;
    Vec3 emissive;
    std::string texture;    // the first non-empty TextureFilename, as written
};

// An entry of a mesh's material list: a material of its own, or a name that refers to one
// defined elsewhere in the file.
struct XMaterialEntry {
    bool reference = false;
    XMaterial material;     // for a reference only material.name is set
    size_t offset = 0;      // where the entry starts, for messages
};

// One Mesh object, checked: every index below is in range of what it indexes.
struct XMesh {
    std::vector<Vec3> positions;
    std::vector<uint32_t> faceSizes;     // corners of each face
    std::vector<uint32_t> corners;       // vertex indices of all faces, face after face
    std::vector<Vec3> normals;           // empty when the mesh has none
    std::vector<uint32_t> normalCorners; // normal index of every corner, in the order of `corners`
    std::vector<float> uvs;              // u, v per vertex; empty when the mesh has none
    std::vector<uint32_t> faceMaterials; // entry of `materials` per face; empty with no list
    std::vector<XMaterialEntry> materials;
    std::vector<uint32_t> slots;         // XScene::materials index of each entry; of the
                                         // default material alone when the mesh has none
};

struct XFrame {
    Matrix transform = Matrix::Identity();  // relative to the parent frame
    std::vector<XMesh> meshes;
    std::vector<XFrame> children;
};

// The file's top level reads as a frame with no transform: its meshes are the file's loose
// meshes, its children the top-level frames.
struct XScene {
    XFrame root;
    std::vector<XMaterial> looseMaterials;  // top-level Material objects, in file order
    std::vector<XMaterial> materials;       // one per subset, filled by ResolveMaterials
    uint64_t corners = 0;                   // of all meshes, against kXMaxCorners
};

// Visits every mesh with its frame's world transform (row vectors: a frame's own transform
// applies first, then its parent's): a frame's own meshes first, then its children in file
// order. Frame is XFrame or const XFrame.
template <typename Frame, typename Visit>
void ForEachMesh(Frame& frame, const Matrix& parentWorld, Visit&& visit) {
    const Matrix world = frame.transform * parentWorld;
    for (auto& mesh : frame.meshes) visit(mesh, world);
    for (auto& child : frame.children) ForEachMesh(child, world, visit);
}

}  // namespace platform
