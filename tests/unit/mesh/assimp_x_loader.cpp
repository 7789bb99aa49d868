// The game's former .x loader, kept to cross-check our own reader: Assimp reads the file, we undo
// its right-handed conversion and merge the meshes exactly as the game once did.
#include "assimp_x_loader.hpp"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/scene.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unordered_map>

namespace platform {

namespace {

// Assimp's .x importer mirrors every file along z (vertices, normals and each frame matrix as
// S M S with S = diag(1, 1, -1)), reverses each face's index order and turns v into 1 - v. Each
// of these is its own inverse, so doing them again gives back exactly what the file holds.
Matrix FileMatrix(const aiMatrix4x4& a) {
    const float ai[4][4] = {{a.a1, a.a2, a.a3, a.a4}, {a.b1, a.b2, a.b3, a.b4}, {a.c1, a.c2, a.c3, a.c4},
                            {a.d1, a.d2, a.d3, a.d4}};
    Matrix m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            const float sign = ((r == 2) != (c == 2)) ? -1.0f : 1.0f;
            // Assimp keeps column vectors; the file (and the game) keeps row vectors.
            m.m[c][r] = sign * ai[r][c];
        }
    }
    return m;
}

Vec3 FileVector(const aiVector3D& v) { return {v.x, v.y, -v.z}; }

ColorValue Color4(const aiMaterial& mat, const char* key, unsigned type, unsigned index) {
    aiColor4D c(0, 0, 0, 1);
    mat.Get(key, type, index, c);
    return {c.r, c.g, c.b, c.a};
}

// Specular and emissive have no alpha in the file; it reads as 1.
ColorValue Color3(const aiMaterial& mat, const char* key, unsigned type, unsigned index) {
    aiColor3D c(0, 0, 0);
    mat.Get(key, type, index, c);
    return {c.r, c.g, c.b, 1.0f};
}

struct VertexKey {
    uint32_t words[8];
    bool operator==(const VertexKey& o) const { return std::memcmp(words, o.words, sizeof words) == 0; }
};
struct VertexKeyHash {
    size_t operator()(const VertexKey& k) const {
        size_t h = 1469598103934665603ull;
        for (uint32_t w : k.words) h = (h ^ w) * 1099511628211ull;
        return h;
    }
};

// One triangle on its way into the merged mesh, already in model space.
struct Corner3 {
    MeshVertex v[3];
};

class Merger {
public:
    Merger(const aiScene& scene, std::vector<std::vector<Corner3>>& buckets) : scene_(scene), buckets_(buckets) {}

    void Walk(const aiNode& node, const Matrix& parentWorld) {
        // Row vectors: the node's own transform applies first, then its parent's.
        const Matrix world = FileMatrix(node.mTransformation) * parentWorld;
        float det = 0;
        const Matrix normalMatrix = MatrixTranspose(MatrixInverse(world, &det));
        for (unsigned i = 0; i < node.mNumMeshes; ++i) {
            if (node.mMeshes[i] < scene_.mNumMeshes)
                AddMesh(*scene_.mMeshes[node.mMeshes[i]], world, det != 0 ? normalMatrix : world);
        }
        for (unsigned i = 0; i < node.mNumChildren; ++i) Walk(*node.mChildren[i], world);
    }

private:
    void AddMesh(const aiMesh& mesh, const Matrix& world, const Matrix& normalMatrix) {
        if (mesh.mMaterialIndex >= buckets_.size()) return;
        std::vector<Corner3>& bucket = buckets_[mesh.mMaterialIndex];
        const bool hasNormals = mesh.mNormals != nullptr;
        const aiVector3D* uv = mesh.mTextureCoords[0];
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices < 3) continue;
            // Back to the file's order, then a fan from the first corner.
            std::vector<unsigned> order(face.mIndices, face.mIndices + face.mNumIndices);
            std::reverse(order.begin(), order.end());
            for (size_t k = 1; k + 1 < order.size(); ++k) {
                Corner3 tri;
                const unsigned corner[3] = {order[0], order[k], order[k + 1]};
                bool valid = true;
                for (int c = 0; c < 3; ++c) {
                    const unsigned idx = corner[c];
                    if (idx >= mesh.mNumVertices) {
                        valid = false;
                        break;
                    }
                    MeshVertex& v = tri.v[c];
                    v.position = Vec3TransformCoord(FileVector(mesh.mVertices[idx]), world);
                    v.normal = hasNormals ? Vec3Normalize(Vec3TransformNormal(FileVector(mesh.mNormals[idx]), normalMatrix))
                                          : Vec3{};
                    v.u = uv ? uv[idx].x : 0.0f;
                    v.v = uv ? 1.0f - uv[idx].y : 0.0f;
                }
                if (!valid) continue;
                if (!hasNormals) {
                    // A clockwise triangle faces the viewer in a left-handed frame.
                    const Vec3 n = Vec3Normalize(Vec3Cross(tri.v[1].position - tri.v[0].position,
                                                           tri.v[2].position - tri.v[0].position));
                    for (MeshVertex& v : tri.v) v.normal = n;
                }
                bucket.push_back(tri);
            }
        }
    }

    const aiScene& scene_;
    std::vector<std::vector<Corner3>>& buckets_;
};

std::string TextureName(const aiMaterial& mat) {
    aiString name;
    if (mat.GetTexture(aiTextureType_DIFFUSE, 0, &name) != AI_SUCCESS) return {};
    std::string s = name.C_Str();
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

}  // namespace

bool LoadXFileWithAssimp(const std::string& path, MeshData& out, std::string& error) {
    out = MeshData{};
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot open the file (" + std::strerror(errno) + ")";
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 16 || bytes.compare(0, 4, "xof ") != 0) {
        error = path + ": not a DirectX .x file (no \"xof \" header)";
        return false;
    }

    Assimp::Importer importer;
    importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
    // No post-processing: every step would work in Assimp's mirrored frame.
    const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), 0, "x");
    if (!scene || !scene->mRootNode) {
        error = path + ": " + importer.GetErrorString();
        return false;
    }
    if (scene->mNumMeshes == 0) {
        error = path + ": the file holds no mesh";
        return false;
    }

    std::vector<std::vector<Corner3>> buckets(scene->mNumMaterials);
    Merger(*scene, buckets).Walk(*scene->mRootNode, Matrix::Identity());

    const std::string folder = DirectoryOf(path);
    std::unordered_map<VertexKey, uint32_t, VertexKeyHash> welded;
    for (unsigned m = 0; m < scene->mNumMaterials; ++m) {
        const aiMaterial& mat = *scene->mMaterials[m];
        MeshMaterial material;
        material.diffuse = Color4(mat, AI_MATKEY_COLOR_DIFFUSE);
        material.ambient = material.diffuse;
        material.specular = Color3(mat, AI_MATKEY_COLOR_SPECULAR);
        material.emissive = Color3(mat, AI_MATKEY_COLOR_EMISSIVE);
        mat.Get(AI_MATKEY_SHININESS, material.power);
        const std::string texture = TextureName(mat);
        if (!texture.empty()) material.texturePath = folder + texture;
        out.materials.push_back(std::move(material));

        MeshSubset subset;
        subset.indexStart = static_cast<uint32_t>(out.indices.size());
        for (const Corner3& tri : buckets[m]) {
            for (const MeshVertex& v : tri.v) {
                VertexKey key;
                static_assert(sizeof key.words == sizeof v);
                std::memcpy(key.words, &v, sizeof v);
                auto [it, added] = welded.try_emplace(key, static_cast<uint32_t>(out.vertices.size()));
                if (added) out.vertices.push_back(v);
                out.indices.push_back(it->second);
            }
        }
        subset.indexCount = static_cast<uint32_t>(out.indices.size()) - subset.indexStart;
        out.subsets.push_back(subset);
    }
    if (out.indices.empty()) {
        out = MeshData{};
        error = path + ": the file's meshes hold no faces";
        return false;
    }
    out.Finish();
    return true;
}

}  // namespace platform
