// Our .x reader against the game's former loader (Assimp): the game's 20 models and every .x
// file of Debian's assimp-testmodels that the former loader accepts give the same mesh.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

#include "assimp_x_loader.hpp"
#include "platform/mesh/x_file_loader.hpp"

using namespace platform;
namespace fs = std::filesystem;

// Assimp's parser leaks the pieces of a mesh it was reading when a file breaks off.
extern "C" const char* __lsan_default_suppressions() { return "leak:libassimp.so\n"; }

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }
bool SameBits(Vec3 a, Vec3 b) { return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z); }

// The former loader gives v back as 1 - (1 - v) (the importer flips it and the loader flipped it
// back), which rounds; ours is the file's own v.
bool SameV(float ours, float former) { return SameBits(1.0f - (1.0f - ours), former); }

// Files that start like a .x file, in the folder and below it, sorted.
std::vector<fs::path> XFilesUnder(const fs::path& folder) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        char magic[4] = {};
        std::ifstream(entry.path(), std::ios::binary).read(magic, 4);
        if (std::memcmp(magic, "xof ", 4) == 0) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Rays into the model: along each axis through its centre from outside its bounds, and from
// outside towards a few of its vertices.
std::vector<std::pair<Vec3, Vec3>> RaysInto(const MeshData& mesh) {
    const Vec3 lo = mesh.bounds.min, hi = mesh.bounds.max;
    const Vec3 centre = (lo + hi) * 0.5f;
    const float reach = Vec3Length(hi - lo) + 1.0f;
    std::vector<std::pair<Vec3, Vec3>> rays;
    for (Vec3 axis : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}}) {
        rays.push_back({centre - axis * reach, axis});
        rays.push_back({centre + axis * reach, -axis});
    }
    std::mt19937 rng(5);
    for (int i = 0; i < 6 && !mesh.vertices.empty(); ++i) {
        const Vec3 target = mesh.vertices[rng() % mesh.vertices.size()].position + Vec3{0.001f, 0.002f, 0.0f};
        const Vec3 from = centre + Vec3{reach, reach * 0.5f, -reach};
        rays.push_back({from, target - from});
    }
    return rays;
}

void ExpectSameMesh(const MeshData& ours, const MeshData& former) {
    ASSERT_EQ(ours.vertices.size(), former.vertices.size());
    size_t differing = 0;
    for (size_t i = 0; i < ours.vertices.size(); ++i) {
        const MeshVertex& a = ours.vertices[i];
        const MeshVertex& b = former.vertices[i];
        if (!SameBits(a.position, b.position) || !SameBits(a.normal, b.normal) || !SameBits(a.u, b.u) || !SameV(a.v, b.v))
            ++differing;
    }
    EXPECT_EQ(differing, 0u) << "vertices that differ";
    EXPECT_TRUE(ours.indices == former.indices);
    ASSERT_EQ(ours.subsets.size(), former.subsets.size());
    for (size_t i = 0; i < ours.subsets.size(); ++i) {
        EXPECT_EQ(ours.subsets[i].indexStart, former.subsets[i].indexStart) << "subset " << i;
        EXPECT_EQ(ours.subsets[i].indexCount, former.subsets[i].indexCount) << "subset " << i;
        const MeshMaterial& a = ours.materials[i];
        const MeshMaterial& b = former.materials[i];
        EXPECT_EQ(a.diffuse, b.diffuse) << "material " << i;
        EXPECT_EQ(a.ambient, b.ambient) << "material " << i;
        EXPECT_EQ(a.specular, b.specular) << "material " << i;
        EXPECT_EQ(a.emissive, b.emissive) << "material " << i;
        EXPECT_EQ(a.power, b.power) << "material " << i;
        EXPECT_EQ(a.texturePath, b.texturePath) << "material " << i;
    }
    EXPECT_TRUE(SameBits(ours.bounds.min, former.bounds.min) && SameBits(ours.bounds.max, former.bounds.max));
    for (const auto& [origin, direction] : RaysInto(former)) {
        const RayHit a = ours.Intersect(origin, direction);
        const RayHit b = former.Intersect(origin, direction);
        EXPECT_EQ(a.hit, b.hit);
        EXPECT_EQ(a.face, b.face);
        EXPECT_TRUE(SameBits(a.distance, b.distance) && SameBits(a.u, b.u) && SameBits(a.v, b.v));
    }
}

TEST(XReaderCrossCheck, GameModelsAndImporterTestModelsGiveTheSameMesh) {
    const fs::path gameModels = KORVELIN_GAME_DIR "/data/model";
    const fs::path testModels = KORVELIN_X_TEST_MODELS;
    ASSERT_TRUE(fs::is_directory(testModels)) << testModels << " is missing: install assimp-testmodels";
    const std::vector<fs::path> game = XFilesUnder(gameModels);
    EXPECT_EQ(game.size(), 20u);
    std::vector<fs::path> files = game;
    for (const fs::path& p : XFilesUnder(testModels)) files.push_back(p);

    size_t compared = 0;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.string());
        MeshData former, ours;
        std::string formerError, ourError;
        if (!LoadXFileWithAssimp(path.string(), former, formerError)) continue;  // never read before
        ASSERT_TRUE(LoadXFile(path.string(), ours, ourError)) << ourError;
        ExpectSameMesh(ours, former);
        ++compared;
    }
    std::printf("compared %zu files (%zu of the game's), %s\n", compared, game.size(),
                ::testing::Test::HasFailure() ? "some differ" : "all equal");
    EXPECT_GE(compared, game.size() + 10);
}

}  // namespace
