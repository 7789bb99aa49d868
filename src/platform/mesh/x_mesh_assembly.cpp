// Mesh assembly: frames applied, faces fanned and grouped by material, equal corners welded.
#include "platform/mesh/x_mesh_assembly.hpp"

#include <cstring>

#include "platform/mesh/x_file_error.hpp"

namespace platform {

namespace {

// One triangle on its way into the merged mesh, already in model space.
struct Corner3 {
    MeshVertex v[3];
};

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

// Adds one mesh's triangles to the buckets of its materials. Faces go material by material of the
// mesh's list and in file order within each, which is the order the game's subsets always had.
void AddMesh(const XMesh& mesh, const Matrix& world, std::vector<std::vector<Corner3>>& buckets) {
    float det = 0;
    const Matrix inverseTranspose = MatrixTranspose(MatrixInverse(world, &det));
    const Matrix& normalMatrix = det != 0 ? inverseTranspose : world;

    std::vector<Vec3> positions(mesh.positions.size());
    for (size_t i = 0; i < positions.size(); ++i) positions[i] = Vec3TransformCoord(mesh.positions[i], world);
    std::vector<Vec3> normals(mesh.normals.size());
    for (size_t i = 0; i < normals.size(); ++i)
        normals[i] = Vec3Normalize(Vec3TransformNormal(mesh.normals[i], normalMatrix));
    const bool hasNormals = !normals.empty();
    const bool hasUvs = !mesh.uvs.empty();

    const size_t faceCount = mesh.faceSizes.size();
    std::vector<uint32_t> faceStart(faceCount);
    for (size_t f = 0, at = 0; f < faceCount; ++f) {
        faceStart[f] = static_cast<uint32_t>(at);
        at += mesh.faceSizes[f];
    }

    // Faces ordered by their entry in the mesh's material list (a counting sort, stable).
    const size_t entries = mesh.slots.size();
    std::vector<uint32_t> order(faceCount);
    if (mesh.faceMaterials.empty() || entries <= 1) {
        for (size_t f = 0; f < faceCount; ++f) order[f] = static_cast<uint32_t>(f);
    } else {
        std::vector<uint32_t> next(entries + 1, 0);
        for (uint32_t m : mesh.faceMaterials) ++next[m + 1];
        for (size_t k = 1; k <= entries; ++k) next[k] += next[k - 1];
        for (size_t f = 0; f < faceCount; ++f) order[next[mesh.faceMaterials[f]]++] = static_cast<uint32_t>(f);
    }

    for (uint32_t f : order) {
        const uint32_t entry = mesh.faceMaterials.empty() ? 0 : mesh.faceMaterials[f];
        std::vector<Corner3>& bucket = buckets[mesh.slots[entry]];
        const uint32_t* corner = mesh.corners.data() + faceStart[f];
        const uint32_t* normalCorner = hasNormals ? mesh.normalCorners.data() + faceStart[f] : nullptr;
        for (uint32_t k = 1; k + 1 < mesh.faceSizes[f]; ++k) {
            const uint32_t pick[3] = {0, k, k + 1};
            Corner3& tri = bucket.emplace_back();
            for (int c = 0; c < 3; ++c) {
                const uint32_t index = corner[pick[c]];
                MeshVertex& v = tri.v[c];
                v.position = positions[index];
                v.normal = hasNormals ? normals[normalCorner[pick[c]]] : Vec3{};
                v.u = hasUvs ? mesh.uvs[2 * size_t{index}] : 0.0f;
                v.v = hasUvs ? mesh.uvs[2 * size_t{index} + 1] : 0.0f;
            }
            if (!hasNormals) {
                // A clockwise triangle faces the viewer in a left-handed frame.
                const Vec3 n = Vec3Normalize(
                    Vec3Cross(tri.v[1].position - tri.v[0].position, tri.v[2].position - tri.v[0].position));
                for (MeshVertex& v : tri.v) v.normal = n;
            }
        }
    }
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
    bool anyMesh = false;
    std::vector<std::vector<Corner3>> buckets(scene.materials.size());
    ForEachMesh(scene.root, Matrix::Identity(), [&](const XMesh& mesh, const Matrix& world) {
        anyMesh = true;
        AddMesh(mesh, world, buckets);
    });
    if (!anyMesh) throw XFileError("the file holds no mesh");

    size_t corners = 0;
    for (const auto& bucket : buckets) corners += bucket.size() * 3;
    out.indices.reserve(corners);
    VertexWelder welder(out.vertices, corners);
    for (size_t m = 0; m < scene.materials.size(); ++m) {
        const XMaterial& x = scene.materials[m];
        MeshMaterial material;
        material.diffuse = x.faceColor;
        material.ambient = material.diffuse;
        material.specular = {x.specular.x, x.specular.y, x.specular.z, 1.0f};
        material.emissive = {x.emissive.x, x.emissive.y, x.emissive.z, 1.0f};
        material.power = x.power;
        material.texturePath = TexturePath(folder, x.texture);
        out.materials.push_back(std::move(material));

        MeshSubset subset;
        subset.indexStart = static_cast<uint32_t>(out.indices.size());
        for (const Corner3& tri : buckets[m]) {
            for (const MeshVertex& v : tri.v) out.indices.push_back(welder.Add(v));
        }
        subset.indexCount = static_cast<uint32_t>(out.indices.size()) - subset.indexStart;
        out.subsets.push_back(subset);
    }
    if (out.indices.empty()) {
        out = MeshData{};
        throw XFileError("the file's meshes hold no faces");
    }
    out.Finish();
}

}  // namespace platform
