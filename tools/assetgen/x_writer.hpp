// A mesh with materials, and its DirectX .x text form (the format the game's model loader reads).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "math/math.hpp"

struct XMaterial {
    ColorValue diffuse{1, 1, 1, 1};
    float power = 8.0f;
    Vec3 specular{0.2f, 0.2f, 0.2f};
    Vec3 emissive{0, 0, 0};
    std::string texture;  // file name beside the model; empty for none
};

struct XMesh {
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;
    std::vector<Vec2> uvs;
    std::vector<std::array<uint32_t, 3>> faces;  // clockwise seen from the front (left-handed)
    std::vector<uint32_t> faceMaterial;
    std::vector<XMaterial> materials;

    uint32_t AddMaterial(const XMaterial& m) {
        materials.push_back(m);
        return static_cast<uint32_t>(materials.size() - 1);
    }
    uint32_t AddVertex(Vec3 p, Vec3 n, Vec2 uv) {
        positions.push_back(p);
        normals.push_back(n);
        uvs.push_back(uv);
        return static_cast<uint32_t>(positions.size() - 1);
    }
    void AddFace(uint32_t a, uint32_t b, uint32_t c, uint32_t material) {
        faces.push_back({a, b, c});
        faceMaterial.push_back(material);
    }
};

// The whole file: header, one frame with an identity transform, the mesh with normals,
// texture coordinates and its material list.
std::string WriteXFile(const XMesh& mesh, const std::string& name);

// Floats as the writer prints them: shortest form that reads back exactly, locale-free.
void AppendFloat(std::string& out, float v);
