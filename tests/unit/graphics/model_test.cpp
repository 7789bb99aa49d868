// Models and the model cache on the null device: materials, names, ray tests, one load per
// name, and models whose file is missing.
#include "graphics/model.hpp"

#include <gtest/gtest.h>

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

}  // namespace
