// The .x loader: frames merged, the file's own winding and coordinates, materials and subsets.
#include <gtest/gtest.h>

#include "platform/mesh/x_file_loader.hpp"
#include "x_file_test_files.hpp"

using namespace platform;

namespace {

void ExpectNear(Vec3 a, Vec3 b) {
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
}

Vec3 Corner(const MeshData& mesh, uint32_t face, int k) { return mesh.vertices[mesh.indices[face * 3 + k]].position; }

class XFileLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = folder_.Write("models/two.x", kTwoFramesX);
        std::string error;
        ASSERT_TRUE(LoadXFile(path_, mesh_, error)) << error;
    }
    TempFolder folder_{"korvelin_xfile_test"};
    std::string path_;
    MeshData mesh_;
};

TEST_F(XFileLoaderTest, MeshesOfTwoFramesAreMergedWithTheirTransforms) {
    // Subsets follow the file's materials: red (1 triangle), green (1), blue (the quad's 2).
    ASSERT_EQ(mesh_.subsets.size(), 3u);
    ASSERT_EQ(mesh_.materials.size(), 3u);
    EXPECT_EQ(mesh_.subsets[0].FaceCount(), 1u);
    EXPECT_EQ(mesh_.subsets[1].FaceCount(), 1u);
    EXPECT_EQ(mesh_.subsets[2].FaceCount(), 2u);
    EXPECT_EQ(mesh_.FaceCount(), 4u);
    for (size_t i = 1; i < mesh_.subsets.size(); ++i)
        EXPECT_EQ(mesh_.subsets[i].indexStart, mesh_.subsets[i - 1].indexStart + mesh_.subsets[i - 1].indexCount);

    // Red: moved by (10, 0, 0); corners in the file's order (clockwise seen from -z).
    ExpectNear(Corner(mesh_, 0, 0), {10, 0, 0});
    ExpectNear(Corner(mesh_, 0, 1), {10, 1, 0});
    ExpectNear(Corner(mesh_, 0, 2), {11, 0, 0});
    // Green: the file's triangle 0, 2, 3 moved by Inner (z + 3), then scaled by 2 and moved up 5.
    ExpectNear(Corner(mesh_, 1, 0), {0, 5, 6});
    ExpectNear(Corner(mesh_, 1, 1), {2, 7, 6});
    ExpectNear(Corner(mesh_, 1, 2), {2, 5, 6});
    // Blue: the quad 0, 1, 2, 3 as the fan (0, 1, 2), (0, 2, 3).
    ExpectNear(Corner(mesh_, 2, 0), {0, 5, 6});
    ExpectNear(Corner(mesh_, 2, 1), {0, 7, 6});
    ExpectNear(Corner(mesh_, 2, 2), {2, 7, 6});
    ExpectNear(Corner(mesh_, 3, 1), {2, 7, 6});
    ExpectNear(Corner(mesh_, 3, 2), {2, 5, 6});

    ExpectNear(mesh_.bounds.min, {0, 0, 0});
    ExpectNear(mesh_.bounds.max, {11, 7, 6});
}

TEST_F(XFileLoaderTest, NormalsAndTextureCoordinatesAreTheFilesOwn) {
    const MeshVertex& a = mesh_.vertices[mesh_.indices[0]];
    const MeshVertex& b = mesh_.vertices[mesh_.indices[1]];
    const MeshVertex& c = mesh_.vertices[mesh_.indices[2]];
    ExpectNear(a.normal, {0, 0, -1});
    EXPECT_FLOAT_EQ(b.u, 0.0f);
    EXPECT_FLOAT_EQ(b.v, 1.0f);
    EXPECT_FLOAT_EQ(c.u, 1.0f);
    EXPECT_FLOAT_EQ(c.v, 0.25f);
    // The quad has no normals in the file: each face gets its own, facing -z for clockwise corners.
    ExpectNear(mesh_.vertices[mesh_.indices[3]].normal, {0, 0, -1});
    ExpectNear(mesh_.vertices[mesh_.indices[6]].normal, {0, 0, -1});
}

TEST_F(XFileLoaderTest, MaterialsTakeAmbientFromDiffuseAndTexturesFromTheModelsFolder) {
    const std::string folder = DirectoryOf(path_);
    ASSERT_EQ(folder, (folder_.path / "models").string() + "/");
    struct Expect {
        ColorValue diffuse, specular, emissive;
        float power;
        std::string texture;
    } expect[] = {
        {{1, 0.5f, 0, 1}, {0.5f, 0.5f, 0.5f, 1}, {0, 0, 0, 1}, 5, folder + "tex/red.png"},
        {{0, 1, 0, 0.5f}, {0, 0, 0, 1}, {0, 0, 0, 1}, 0, ""},
        {{0, 0, 1, 1}, {1, 1, 1, 1}, {0.2f, 0.3f, 0.4f, 1}, 20, folder + "blue.png"},
    };
    for (size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const MeshMaterial& m = mesh_.materials[i];
        EXPECT_EQ(m.diffuse, expect[i].diffuse);
        EXPECT_EQ(m.ambient, expect[i].diffuse);
        EXPECT_EQ(m.specular, expect[i].specular);
        EXPECT_EQ(m.emissive, expect[i].emissive);
        EXPECT_EQ(m.power, expect[i].power);
        EXPECT_EQ(m.texturePath, expect[i].texture);
    }
}

TEST(XFileLoader, TextureOfAModelInTheWorkingFolderHasNoFolder) {
    EXPECT_EQ(DirectoryOf("chara.x"), "");
    EXPECT_EQ(DirectoryOf("data/model/chara.x"), "data/model/");
    EXPECT_EQ(DirectoryOf("data\\model\\chara.x"), "data\\model\\");
}

TEST(XFileLoader, UnreadableFilesFailWithTheFileNamed) {
    TempFolder folder("korvelin_xfile_bad");
    const std::string cases[] = {
        (folder.path / "missing.x").string(),
        folder.Write("empty.x", ""),
        folder.Write("text.x", "just some text that is long enough\n"),
        folder.Write("broken.x", "xof 0303txt 0032\nMesh M {\n 3;\n 0.0;0.0;"),
        folder.Write("nomesh.x", "xof 0303txt 0032\nFrame F {\n}\n"),
    };
    for (const std::string& path : cases) {
        MeshData mesh;
        std::string error;
        EXPECT_FALSE(LoadXFile(path, mesh, error)) << path;
        EXPECT_NE(error.find(path), std::string::npos) << error;
        EXPECT_TRUE(mesh.Empty());
        EXPECT_TRUE(mesh.subsets.empty());
        EXPECT_FALSE(mesh.Intersect({0, 0, -5}, {0, 0, 1}).hit);
    }
}

}  // namespace
