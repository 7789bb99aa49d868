// Material references resolved by name, and the subset order they give.
#include "platform/mesh/x_material_table.hpp"

#include <string_view>
#include <unordered_map>

namespace platform {

void ResolveMaterials(XScene& scene, const XLexer& lexer) {
    // First of each name wins.
    std::unordered_map<std::string_view, uint32_t> loose;
    for (uint32_t i = 0; i < scene.looseMaterials.size(); ++i)
        loose.try_emplace(scene.looseMaterials[i].name, i);

    std::vector<bool> looseUsed(scene.looseMaterials.size(), false);
    ForEachMesh(scene.root, Matrix::Identity(), [&](XMesh& mesh, const Matrix&) {
        for (const XMaterialEntry& e : mesh.materials) {
            if (!e.reference) continue;
            if (auto it = loose.find(e.material.name); it != loose.end()) looseUsed[it->second] = true;
        }
    });

    std::vector<XMaterial>& table = scene.materials;
    std::vector<uint32_t> looseSlot(scene.looseMaterials.size(), 0);
    for (size_t i = 0; i < scene.looseMaterials.size(); ++i) {
        if (!looseUsed[i]) continue;
        looseSlot[i] = static_cast<uint32_t>(table.size());
        table.push_back(scene.looseMaterials[i]);
    }

    std::unordered_map<std::string, uint32_t> own;
    bool needDefault = false;
    ForEachMesh(scene.root, Matrix::Identity(), [&](XMesh& mesh, const Matrix&) {
        mesh.slots.assign(mesh.materials.size(), 0);
        for (size_t k = 0; k < mesh.materials.size(); ++k) {
            const XMaterialEntry& e = mesh.materials[k];
            if (e.reference) continue;
            mesh.slots[k] = static_cast<uint32_t>(table.size());
            if (!e.material.name.empty()) own.try_emplace(e.material.name, mesh.slots[k]);
            table.push_back(e.material);
        }
        if (mesh.materials.empty() && !mesh.faceSizes.empty()) needDefault = true;
    });

    ForEachMesh(scene.root, Matrix::Identity(), [&](XMesh& mesh, const Matrix&) {
        for (size_t k = 0; k < mesh.materials.size(); ++k) {
            const XMaterialEntry& e = mesh.materials[k];
            if (!e.reference) continue;
            if (auto it = loose.find(e.material.name); it != loose.end()) {
                mesh.slots[k] = looseSlot[it->second];
            } else if (auto found = own.find(e.material.name); found != own.end()) {
                mesh.slots[k] = found->second;
            } else {
                lexer.Fail(e.offset, "a reference to material '" + e.material.name + "', which the file does not hold");
            }
        }
    });

    if (!needDefault) return;
    const uint32_t slot = static_cast<uint32_t>(table.size());
    XMaterial& grey = table.emplace_back();
    grey.faceColor = {0.5f, 0.5f, 0.5f, 1.0f};
    grey.power = 1.0f;
    ForEachMesh(scene.root, Matrix::Identity(), [&](XMesh& mesh, const Matrix&) {
        if (mesh.materials.empty()) mesh.slots.assign(1, slot);
    });
}

}  // namespace platform
