// Ray tests with the meaning the game relies on: nearest hit, both faces, nothing behind.
#include <gtest/gtest.h>

#include <random>

#include "platform/mesh/x_file_loader.hpp"
#include "x_file_test_files.hpp"

using namespace platform;

namespace {

// Two squares of side 2 on the z axis, at z = 5 and z = 10, loaded from one file each and merged.
MeshData TwoSquares() {
    MeshData mesh;
    for (float z : {5.0f, 10.0f}) {
        const uint32_t base = uint32_t(mesh.vertices.size());
        for (Vec3 p : {Vec3{-1, -1, z}, Vec3{-1, 1, z}, Vec3{1, 1, z}, Vec3{1, -1, z}}) mesh.vertices.push_back({p, {}, 0, 0});
        for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) mesh.indices.push_back(base + i);
    }
    mesh.subsets.push_back({0, uint32_t(mesh.indices.size())});
    mesh.Finish();
    return mesh;
}

TEST(RayTest, NearestHitOverBothFacesAndNothingBehindTheOrigin) {
    const MeshData mesh = TwoSquares();
    struct Case {
        const char* what;
        Vec3 origin, direction;
        bool hit;
        float distance;
    } cases[] = {
        {"front face", {0.2f, 0.3f, 0}, {0, 0, 1}, true, 5},
        {"miss beside", {3, 0, 0}, {0, 0, 1}, false, 0},
        {"miss parallel", {0, 0, 0}, {0, 1, 0}, false, 0},
        {"back face, nearest from behind", {0.2f, 0.3f, 20}, {0, 0, -1}, true, 10},
        {"the square behind is ignored", {0.2f, 0.3f, 7}, {0, 0, 1}, true, 3},
        {"everything behind", {0.2f, 0.3f, 12}, {0, 0, 1}, false, 0},
        {"direction not normalised", {0.2f, 0.3f, 0}, {0, 0, 2}, true, 2.5f},
        {"slanted", {0, 0, 0}, {0.1f, 0, 1}, true, 5},
        {"zero direction", {0, 0, 5}, {0, 0, 0}, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const RayHit hit = mesh.Intersect(c.origin, c.direction);
        ASSERT_EQ(hit.hit, c.hit);
        if (!c.hit) continue;
        EXPECT_NEAR(hit.distance, c.distance, 1e-5f);
        // Face index and barycentrics name the point the distance names.
        const Vec3 v0 = mesh.vertices[mesh.indices[hit.face * 3]].position;
        const Vec3 v1 = mesh.vertices[mesh.indices[hit.face * 3 + 1]].position;
        const Vec3 v2 = mesh.vertices[mesh.indices[hit.face * 3 + 2]].position;
        const Vec3 fromBary = v0 + (v1 - v0) * hit.u + (v2 - v0) * hit.v;
        const Vec3 fromRay = c.origin + c.direction * hit.distance;
        EXPECT_NEAR(fromBary.x, fromRay.x, 1e-5f);
        EXPECT_NEAR(fromBary.y, fromRay.y, 1e-5f);
        EXPECT_NEAR(fromBary.z, fromRay.z, 1e-5f);
    }
}

TEST(RayTest, ARayCarriedIntoAFrameScaledByFiveReportsTheWorldDistance) {
    TempFolder folder("korvelin_ray_scaled");
    MeshData mesh;
    std::string error;
    ASSERT_TRUE(LoadXFile(folder.Write("sky.x", SquareX(5)), mesh, error)) << error;
    // The mesh is drawn scaled by 5 and moved to (100, 0, 0): the square sits at z = 25 in the world.
    const Matrix world = MatrixScaling(5, 5, 5) * MatrixTranslation(100, 0, 0);
    const Matrix toMesh = MatrixInverse(world);
    const Vec3 origin{101, 2, 0}, direction{0, 0, 1};
    const RayHit hit = mesh.Intersect(Vec3TransformCoord(origin, toMesh), Vec3TransformNormal(direction, toMesh));
    ASSERT_TRUE(hit.hit);
    EXPECT_NEAR(hit.distance, 25.0f, 1e-4f);
}

TEST(RayTest, EmptyMeshReportsNoHit) {
    MeshData mesh;
    mesh.Finish();
    EXPECT_FALSE(mesh.Intersect({0, 0, 0}, {0, 0, 1}).hit);
    TriangleBvh bvh;
    EXPECT_FALSE(bvh.Intersect({0, 0, 0}, {0, 0, 1}).hit);
}

TEST(RayTest, OutOfRangeIndicesNeverHitAndNeverReadOutside) {
    const std::vector<Vec3> positions = {{-1, -1, 5}, {-1, 1, 5}, {1, 0, 5}};
    const std::vector<uint32_t> indices = {0, 1, 7, 0, 1, 2};
    TriangleBvh bvh;
    bvh.Build(positions, indices);
    const RayHit hit = bvh.Intersect({0, 0, 0}, {0, 0, 1});
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(hit.face, 1u);
}

// A damaged model can put vertices anywhere in the float range: the centroids then spread
// wider than a float can say, and the hierarchy must still build and answer.
TEST(RayTest, TrianglesAcrossTheWholeFloatRangeStillBuildAndHit) {
    const float far = 3.0e38f;
    std::vector<Vec3> positions = {{-1, -1, 5}, {-1, 1, 5}, {1, 0, 5}};
    std::vector<uint32_t> indices = {0, 1, 2};
    for (int f = 0; f < 64; ++f) {
        const float at = (f % 2 ? far : -far) * (1.0f - 0.01f * float(f % 7)), side = f % 3 ? at : -at;
        for (Vec3 p : {Vec3{at, side, at}, Vec3{at, at, side}, Vec3{side, at, at}}) {
            indices.push_back(uint32_t(positions.size()));
            positions.push_back(p);
        }
    }
    TriangleBvh bvh;
    bvh.Build(positions, indices);
    const RayHit hit = bvh.Intersect({0, 0, 0}, {0, 0, 1});
    ASSERT_TRUE(hit.hit);
    EXPECT_EQ(hit.face, 0u);
    EXPECT_FLOAT_EQ(hit.distance, 5.0f);
}

// The hierarchy must give exactly the brute-force answer: same faces, same distances.
TEST(RayTest, HierarchyAgreesWithBruteForceOnARandomSoup) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> pos(-50, 50), small(-3, 3);
    std::vector<Vec3> positions;
    std::vector<uint32_t> indices;
    for (uint32_t f = 0; f < 4000; ++f) {
        const Vec3 c{pos(rng), pos(rng), pos(rng)};
        for (int k = 0; k < 3; ++k) {
            indices.push_back(uint32_t(positions.size()));
            positions.push_back(c + Vec3{small(rng), small(rng), small(rng)});
        }
    }
    TriangleBvh bvh;
    bvh.Build(positions, indices);
    EXPECT_GT(bvh.NodeCount(), 100u);
    int hits = 0;
    for (int r = 0; r < 2000; ++r) {
        const Vec3 origin{pos(rng), pos(rng), pos(rng)};
        const Vec3 direction{small(rng), small(rng), small(rng)};
        const RayHit expected = IntersectBruteForce(positions, indices, origin, direction);
        const RayHit got = bvh.Intersect(origin, direction);
        ASSERT_EQ(got.hit, expected.hit) << r;
        if (!expected.hit) continue;
        ++hits;
        EXPECT_EQ(got.face, expected.face) << r;
        EXPECT_EQ(got.distance, expected.distance) << r;
    }
    EXPECT_GT(hits, 200);
}

}  // namespace
