// Models and the model cache on the null device: materials, names, ray tests, one load per
// name, and models whose file is missing.
#include "graphics/model.hpp"

#include <gtest/gtest.h>

#include "graphics/game_effects.hpp"
#include "graphics/model_cache.hpp"
#include "graphics/simple_shader.hpp"
#include "null_world.hpp"

namespace {

// A 2 x 2 quad in the y = 0 plane, facing up, one orange material without a texture.
const char* kQuad = R"(xof 0303txt 0032
Mesh quad {
4;
-1.0;0.0;-1.0;,
-1.0;0.0;1.0;,
1.0;0.0;1.0;,
1.0;0.0;-1.0;;
2;
3;0,1,2;,
3;0,2,3;;
MeshMaterialList {
1;
2;
0,
0;;
Material {
1.0;0.5;0.0;1.0;;
12.0;
0.3;0.3;0.3;;
0.0;0.0;0.0;;
}
}
}
)";

class ModelTest : public NullWorld {
protected:
    void SetUp() override {
        EnterOwnFolder();
        quad = Write("quad.x", kQuad);
    }
    std::string quad;
};

TEST_F(ModelTest, LoadsMaterialsWithAmbientFromDiffuseAndAnswersRays) {
    Model model;
    ASSERT_TRUE(model.Load(GraphicsDevice::Instance().device.get(), quad));
    EXPECT_EQ(model.name, "quad.x");
    ASSERT_EQ(model.materialCount, 1u);
    EXPECT_EQ(model.materials[0].ambient, (ColorValue{1, 0.5f, 0, 1}));
    EXPECT_EQ(model.materials[0].power, 12.0f);
    EXPECT_EQ(model.materialTextures[0].texture, 0u);
    // Straight down from 10 above: the hit is 10 direction-lengths away, 5 with a direction twice as long.
    EXPECT_TRUE(model.Intersect({0.5f, 10, 0.5f}, {0, -1, 0}).hit);
    EXPECT_NEAR(model.Intersect({0.5f, 10, 0.5f}, {0, -2, 0}).distance, 5.0f, 1e-5f);
    EXPECT_FALSE(model.Intersect({5, 10, 5}, {0, -1, 0}).hit);
}

TEST_F(ModelTest, CacheLoadsOncePerNameAndKeepsAMissingModelEmptyAndNamedOnce) {
    ModelCache cache;
    const std::string file = quad;
    testing::internal::CaptureStderr();
    Model* first = cache.Get(file);
    EXPECT_EQ(cache.Get(file), first);
    EXPECT_EQ(first->materialCount, 1u);
    const std::string nothing = OwnFile("nothing.x");
    Model* missing = cache.Get(nothing);
    EXPECT_EQ(cache.Get(nothing), missing);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "korvelin: " + nothing + ": cannot open: No such file or directory\n")
        << "the failure is named once, by the reader's own words";
    EXPECT_EQ(missing->materialCount, 0u);
    EXPECT_FALSE(missing->Intersect({0, 10, 0}, {0, -1, 0}).hit);
    // Drawing an empty model draws nothing, even with no effect at all.
    SimpleShader shader;
    shader.Draw(missing);
    shader.Draw(first);
    EXPECT_TRUE(device().draws().empty());
    cache.ReleaseAll();
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_TRUE(device().errors().empty());
}

// A row of `count` quads along x, quad k over x = 2k .. 2k + 2 in the y = 0 plane: two faces
// each, one material.
std::string QuadRow(int count) {
    std::string x = "xof 0303txt 0032\nMesh row {\n" + std::to_string(4 * count) + ";\n";
    for (int k = 0; k < count; ++k)
        for (const auto& [dx, dz] : {std::pair{0, -1}, {0, 1}, {2, 1}, {2, -1}})
            x += std::to_string(2 * k + dx) + ".0;0.0;" + std::to_string(dz) + ".0;" + (k + 1 == count && dx == 2 && dz == -1 ? ";\n" : ",\n");
    x += std::to_string(2 * count) + ";\n";
    for (int k = 0; k < count; ++k) {
        const int v = 4 * k;
        x += "3;" + std::to_string(v) + "," + std::to_string(v + 1) + "," + std::to_string(v + 2) + ";,\n";
        x += "3;" + std::to_string(v) + "," + std::to_string(v + 2) + "," + std::to_string(v + 3) + (k + 1 == count ? ";;\n" : ";,\n");
    }
    x += "MeshMaterialList {\n1;\n" + std::to_string(2 * count) + ";\n";
    for (int f = 0; f < 2 * count; ++f) x += f + 1 == 2 * count ? "0;;\n" : "0,\n";
    x += "Material {\n1.0;1.0;1.0;1.0;;\n0.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\n}\n}\n}\n";
    return x;
}

// The index ranges of the mesh draws made since the last look.
std::vector<std::pair<uint32_t, uint32_t>> MeshRanges(platform::NullRenderDevice& d) {
    std::vector<std::pair<uint32_t, uint32_t>> ranges;
    for (const platform::NullDraw& draw : d.draws())
        if (draw.kind == platform::NullDraw::Kind::Mesh) ranges.emplace_back(draw.firstIndex, draw.indexCount);
    d.ClearDraws();
    return ranges;
}

TEST_F(ModelTest, DrawsOnlyTheFacesTheViewCanShowInTheirOrder) {
    Model row;
    ASSERT_TRUE(row.Load(GraphicsDevice::Instance().device.get(), Write("row.x", QuadRow(160))));
    const uint32_t all = 160 * 2 * 3;
    SimpleShader& shader = GameEffects::Instance().simpleShader;
    ModelShader& outlines = GameEffects::Instance().modelShader;
    shader.cullOutOfView = outlines.cullOutOfView = true;  // as in the window; headless runs skip it
    const Matrix projection = MatrixPerspectiveFovLH(0.8f, 16.0f / 9.0f, 1.0f, 1000.0f);
    const auto look = [&](Vec3 eye, Vec3 at) {
        for (Effect* e : {&shader.effect, &outlines.effect}) {
            e->SetMatrix("mV", MatrixLookAtLH(eye, at, {0, 1, 0}));
            e->SetMatrix("mP", projection);
        }
    };
    device().BeginScene();
    device().ClearDraws();

    // Seen whole from high above: one draw of every face, as an unculled draw makes it.
    look({160, 600, -1}, {160, 0, 0});
    shader.Draw(&row, Matrix::Identity());
    EXPECT_EQ(MeshRanges(device()), (std::vector<std::pair<uint32_t, uint32_t>>{{0, all}}));

    // From just above the middle, looking down the row towards +x: the faces behind the camera
    // are left out, the ones ahead drawn in the file's order, and none the view reaches is lost.
    look({160, 2, 0}, {320, 0, 0});
    shader.Draw(&row, Matrix::Identity());
    const auto ahead = MeshRanges(device());
    ASSERT_EQ(ahead.size(), 1u);
    EXPECT_GT(ahead[0].first, 0u);
    EXPECT_LE(ahead[0].first, 3u * 2 * 81) << "the quad just beyond the near plane (x 162..164) is drawn";
    EXPECT_EQ(ahead[0].first + ahead[0].second, all);

    // Looking away from the row: nothing is drawn; the same model placed ahead by its world is.
    look({-10, 2, 0}, {-100, 0, 0});
    shader.Draw(&row, Matrix::Identity());
    EXPECT_TRUE(MeshRanges(device()).empty());
    shader.Draw(&row, MatrixTranslation(-400, 0, 0));
    EXPECT_FALSE(MeshRanges(device()).empty());

    // The row ahead, just above the top of the picture (which reaches y = -16 there): the body
    // is left out, an outline pushed 40 units out along the normals reaches into the view.
    look({160, -100, -200}, {160, -100, 0});
    shader.Draw(&row, Matrix::Identity());
    EXPECT_TRUE(MeshRanges(device()).empty());
    outlines.DrawOutline(&row, Matrix::Identity(), 40.0f, {1, 1, 1, 1});
    EXPECT_FALSE(MeshRanges(device()).empty());
    device().EndScene();
    EXPECT_TRUE(device().errors().empty());
}

}  // namespace
