// Mesh assembly: frames applied, faces fanned and grouped by material, equal corners welded.
#include "platform/mesh/x_mesh_assembly.hpp"

#include <cstring>

#include "platform/mesh/x_file_error.hpp"

namespace platform {

namespace {

// Welds equal corners (same bits of position, normal and texture coordinates) into one vertex,
// numbered in the order they first appear: open addressing over indices into `vertices`.
class VertexWelder {
public:
    VertexWelder(std::vector<MeshVertex>& vertices, size_t corners) : vertices_(vertices) {
        size_t capacity = 16;
        while (capacity < corners * 2) capacity *= 2;
        slots_.assign(capacity, kEmpty);
    }

    uint32_t Add(const MeshVertex& v) {
        uint32_t words[8];
        static_assert(sizeof words == sizeof v);
        std::memcpy(words, &v, sizeof v);
        uint64_t h = 1469598103934665603ull;
        for (uint32_t w : words) h = (h ^ w) * 1099511628211ull;
        const size_t mask = slots_.size() - 1;
        for (size_t i = static_cast<size_t>(h ^ (h >> 29)) & mask;; i = (i + 1) & mask) {
            if (slots_[i] == kEmpty) {
                slots_[i] = static_cast<uint32_t>(vertices_.size());
                vertices_.push_back(v);
                return slots_[i];
            }
            if (std::memcmp(&vertices_[slots_[i]], &v, sizeof v) == 0) return slots_[i];
        }
    }

private:
    static constexpr uint32_t kEmpty = UINT32_MAX;
    std::vector<MeshVertex>& vertices_;
    std::vector<uint32_t> slots_;
};

// A mesh moved into model space, each vertex and normal transformed once.
struct PlacedMesh {
    const XMesh* mesh;
    std::vector<Vec3> positions;
    std::vector<Vec3> normals;  // empty when the mesh has none
};

PlacedMesh Place(const XMesh& mesh, const Matrix& world) {
    PlacedMesh placed{&mesh, std::vector<Vec3>(mesh.positions.size()), std::vector<Vec3>(mesh.normals.size())};
    for (size_t i = 0; i < placed.positions.size(); ++i)
        placed.positions[i] = Vec3TransformCoord(mesh.positions[i], world);
    float det = 0;
    const Matrix inverseTranspose = MatrixTranspose(MatrixInverse(world, &det));
    const Matrix& normalMatrix = det != 0 ? inverseTranspose : world;
    for (size_t i = 0; i < placed.normals.size(); ++i)
        placed.normals[i] = Vec3Normalize(Vec3TransformNormal(mesh.normals[i], normalMatrix));
    return placed;
}

// One triangle of the merged mesh: three corners (indices into XMesh::corners) of one mesh.
struct TriangleRef {
    uint32_t mesh;
    uint32_t corner[3];
};

// Calls emit(slot, first corner, corner count) for every face of the mesh: material by material
// of the mesh's list, in file order within each, which is the order the game's subsets always had.
template <typename Emit>
void ForEachFace(const XMesh& mesh, Emit&& emit) {
    const size_t faceCount = mesh.faceSizes.size();
    std::vector<uint32_t> faceStart(faceCount);
    for (size_t f = 0, at = 0; f < faceCount; ++f) {
        faceStart[f] = static_cast<uint32_t>(at);
        at += mesh.faceSizes[f];
    }
    auto entryOf = [&](size_t f) { return mesh.faceMaterials.empty() ? 0u : mesh.faceMaterials[f]; };
    const size_t entries = mesh.slots.size();
    if (entries <= 1) {
        for (size_t f = 0; f < faceCount; ++f) emit(mesh.slots[entryOf(f)], faceStart[f], mesh.faceSizes[f]);
        return;
    }
    // A stable counting sort of the faces by their entry.
    std::vector<uint32_t> next(entries + 1, 0), order(faceCount);
    for (size_t f = 0; f < faceCount; ++f) ++next[entryOf(f) + 1];
    for (size_t k = 1; k <= entries; ++k) next[k] += next[k - 1];
    for (size_t f = 0; f < faceCount; ++f) order[next[entryOf(f)]++] = static_cast<uint32_t>(f);
    for (uint32_t f : order) emit(mesh.slots[entryOf(f)], faceStart[f], mesh.faceSizes[f]);
}

std::string TexturePath(const std::string& folder, const std::string& name) {
    if (name.empty()) return {};
    // Exporters write "a\\b" as often as "a\b": a run of backslashes is one separator.
    std::string path = folder;
    bool afterBackslash = false;
    for (char c : name) {
        if (c == '\\') {
            if (!afterBackslash) path += '/';
            afterBackslash = true;
            continue;
        }
        afterBackslash = false;
        path += c;
    }
    return path;
}

}  // namespace

void AssembleMesh(const XScene& scene, const std::string& folder, MeshData& out) {
    out = MeshData{};
    std::vector<PlacedMesh> meshes;
    ForEachMesh(scene.root, Matrix::Identity(),
                [&](const XMesh& mesh, const Matrix& world) { meshes.push_back(Place(mesh, world)); });
    if (meshes.empty()) throw XFileError("the file holds no mesh");

    // Each face fanned from its first corner, the triangles laid out subset by subset.
    const size_t slots = scene.materials.size();
    std::vector<size_t> slotStart(slots + 1, 0);
    for (const PlacedMesh& placed : meshes) {
        const XMesh& mesh = *placed.mesh;
        for (size_t f = 0; f < mesh.faceSizes.size(); ++f) {
            if (mesh.faceSizes[f] >= 3)
                slotStart[mesh.slots[mesh.faceMaterials.empty() ? 0 : mesh.faceMaterials[f]] + 1] += mesh.faceSizes[f] - 2;
        }
    }
    for (size_t m = 1; m <= slots; ++m) slotStart[m] += slotStart[m - 1];
    std::vector<TriangleRef> triangles(slotStart[slots]);
    std::vector<size_t> cursor(slotStart.begin(), slotStart.end() - 1);
    for (uint32_t i = 0; i < meshes.size(); ++i) {
        ForEachFace(*meshes[i].mesh, [&](uint32_t slot, uint32_t first, uint32_t size) {
            for (uint32_t k = 1; k + 1 < size; ++k) triangles[cursor[slot]++] = {i, {first, first + k, first + k + 1}};
        });
    }

    out.indices.reserve(triangles.size() * 3);
    VertexWelder welder(out.vertices, triangles.size() * 3);
    for (size_t m = 0; m < slots; ++m) {
        const XMaterial& x = scene.materials[m];
        MeshMaterial material;
        material.diffuse = x.faceColor;
        material.ambient = material.diffuse;
        material.specular = {x.specular.x, x.specular.y, x.specular.z, 1.0f};
        material.emissive = {x.emissive.x, x.emissive.y, x.emissive.z, 1.0f};
        material.power = x.power;
        material.texturePath = TexturePath(folder, x.texture);
        out.materials.push_back(std::move(material));

        out.subsets.push_back({static_cast<uint32_t>(slotStart[m] * 3), static_cast<uint32_t>((slotStart[m + 1] - slotStart[m]) * 3)});
        for (size_t t = slotStart[m]; t < slotStart[m + 1]; ++t) {
            const PlacedMesh& placed = meshes[triangles[t].mesh];
            const XMesh& mesh = *placed.mesh;
            MeshVertex v[3];
            for (int c = 0; c < 3; ++c) {
                const uint32_t corner = triangles[t].corner[c];
                const uint32_t index = mesh.corners[corner];
                v[c].position = placed.positions[index];
                v[c].normal = placed.normals.empty() ? Vec3{} : placed.normals[mesh.normalCorners[corner]];
                v[c].u = mesh.uvs.empty() ? 0.0f : mesh.uvs[2 * size_t{index}];
                v[c].v = mesh.uvs.empty() ? 0.0f : mesh.uvs[2 * size_t{index} + 1];
            }
            if (placed.normals.empty()) {
                // A clockwise triangle faces the viewer in a left-handed frame.
                const Vec3 n = Vec3Normalize(Vec3Cross(v[1].position - v[0].position, v[2].position - v[0].position));
                for (MeshVertex& corner : v) corner.normal = n;
            }
            for (const MeshVertex& corner : v) out.indices.push_back(welder.Add(corner));
        }
    }
    if (out.indices.empty()) {
        out = MeshData{};
        throw XFileError("the file's meshes hold no faces");
    }
    out.Finish();
}

}  // namespace platform
