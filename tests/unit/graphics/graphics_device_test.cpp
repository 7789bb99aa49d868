// The graphics device on the null backend: the default state, light 0, and the 2D helpers.
#include "graphics/graphics_device.hpp"

#include <gtest/gtest.h>

#include <cstring>

#include "graphics/texture.hpp"
#include "null_world.hpp"

using namespace platform;

namespace {

using GraphicsDeviceTest = NullWorld;

TEST_F(GraphicsDeviceTest, DefaultStatesAreTheGamesOwn) {
    RenderDevice& d = device();
    const struct {
        RenderState state;
        uint32_t value;
    } expected[] = {
        {RenderState::ZEnable, 1},
        {RenderState::ZWriteEnable, 1},
        {RenderState::StencilEnable, 1},
        {RenderState::AlphaBlendEnable, 1},
        {RenderState::BlendOp, uint32_t(BlendOp::Add)},
        {RenderState::SrcBlend, uint32_t(Blend::SrcAlpha)},
        {RenderState::DestBlend, uint32_t(Blend::InvSrcAlpha)},
        {RenderState::CullMode, uint32_t(Cull::CCW)},
        {RenderState::SeparateAlphaBlendEnable, 1},
        {RenderState::SrcBlendAlpha, uint32_t(Blend::One)},
        {RenderState::DestBlendAlpha, uint32_t(Blend::InvSrcAlpha)},
        {RenderState::SpecularEnable, 1},
        {RenderState::FogEnable, 0},
    };
    for (const auto& e : expected) EXPECT_EQ(d.GetRenderState(e.state), e.value) << int(e.state);
    EXPECT_EQ(d.GetSamplerState(SamplerState::MipFilter), uint32_t(TextureFilter::Linear));
    EXPECT_EQ(d.GetSamplerState(SamplerState::AddressU), uint32_t(TextureAddress::Wrap));
    float bias;
    uint32_t bits = d.GetSamplerState(SamplerState::MipLodBias);
    std::memcpy(&bias, &bits, sizeof bias);
    EXPECT_EQ(bias, -1.0f);
    // Light 0: white, directional, towards normalise(0.5, -1, 0.3), enabled.
    Light light;
    GraphicsDevice::Instance().GetLight(&light, 0);
    EXPECT_TRUE(d.IsLightEnabled(0));
    const float len = std::sqrt(0.25f + 1.0f + 0.09f);
    EXPECT_NEAR(light.direction.x, 0.5f / len, 1e-6f);
    EXPECT_NEAR(light.direction.y, -1.0f / len, 1e-6f);
    EXPECT_EQ(light.diffuse, (ColorValue{1, 1, 1, 1}));
    EXPECT_EQ(light.ambient, (ColorValue{0, 0, 0, 1}));
    EXPECT_EQ(light.range, 0.0f);
    EXPECT_EQ(GraphicsDevice::Instance().presentParams.backBufferWidth, 1280);
}

TEST_F(GraphicsDeviceTest, NullTextAndNullSpriteDrawNothingAndKeepTheTransform) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    device().BeginScene();
    gd.sprite->Begin();
    const Matrix before = MatrixTranslation(7, 8, 0);
    gd.sprite->SetTransform(before);
    const Matrix other = MatrixTranslation(100, 100, 0);
    gd.DrawText(nullptr, 0xFFFFFFFF, &other);
    gd.DrawSprite(nullptr, 0xFFFFFFFF, &other);
    Texture empty;
    gd.DrawSprite(&empty, 0xFFFFFFFF, &other);
    EXPECT_EQ(gd.sprite->GetTransform(), before);
    gd.sprite->End();
    device().EndScene();
    EXPECT_TRUE(device().draws().empty());
}

TEST_F(GraphicsDeviceTest, QuadCoversExactlyItsRectangleWithTheWholeTexture) {
    device().BeginScene();
    GraphicsDevice::Instance().DrawQuad(0, 0, 640, 360, 1, 1, 0x12345678);
    device().EndScene();
    ASSERT_EQ(device().draws().size(), 1u);
    const auto& v = device().draws()[0].screen;
    ASSERT_EQ(v.size(), 4u);
    const float expected[4][4] = {{0, 0, 0, 0}, {640, 0, 1, 0}, {0, 360, 0, 1}, {640, 360, 1, 1}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(v[i].x, expected[i][0]);
        EXPECT_EQ(v[i].y, expected[i][1]);
        EXPECT_EQ(v[i].u, expected[i][2]);
        EXPECT_EQ(v[i].v, expected[i][3]);
        EXPECT_EQ(v[i].z, 0.0f);
        EXPECT_EQ(v[i].rhw, 1.0f);
    }
    EXPECT_EQ(device().draws()[0].primitive, PrimitiveType::TriangleStrip);
}

TEST_F(GraphicsDeviceTest, SpriteDrawsTheSourceRectangleFadedByTheColour) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    Texture t;
    ASSERT_EQ(t.CreateTarget(300, 100, 1, TextureUsage::None), 1);
    device().BeginScene();
    gd.sprite->Begin();
    Matrix at = MatrixTranslation(500, 500, 0);
    gd.DrawSprite(&t, 0x40FFFFFF, &at);
    gd.sprite->End();
    device().EndScene();
    ASSERT_EQ(device().draws().size(), 1u);
    const NullDraw& d = device().draws()[0];
    EXPECT_EQ(d.hud[2].x, 300.0f);
    EXPECT_EQ(d.hud[2].y, 100.0f);
    EXPECT_EQ(d.hud[0].color >> 24, 0x40u);
    EXPECT_EQ(d.transforms[size_t(TransformType::World)].m[3][0], 500.0f);
}

}  // namespace
