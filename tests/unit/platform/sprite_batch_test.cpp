// The sprite batch: what it changes, what it restores, and what it leaves alone.
#include "platform/render/sprite_batch.hpp"

#include <gtest/gtest.h>

#include "platform/null/null_render_device.hpp"

using namespace platform;

namespace {

TEST(SpriteBatch, SwitchesToSpriteStatesAndRestoresThemAtEnd) {
    NullRenderDevice d(1280, 720);
    d.SetRenderState(RenderState::CullMode, Cull::CCW);
    d.SetRenderState(RenderState::DestBlend, Blend::One);
    d.SetRenderState(RenderState::ZEnable, 1u);
    d.SetRenderState(RenderState::ZWriteEnable, 1u);
    const Matrix view = MatrixTranslation(1, 2, 3);
    d.SetTransform(TransformType::View, view);
    TextureId picture = d.CreateTexture(200, 100, 1, false);

    SpriteBatch batch(d);
    d.BeginScene();
    batch.Begin();
    batch.SetTransform(MatrixTranslation(320, 100, 1));
    batch.Draw(picture, {0, 0, 200, 100}, 0x80FFFFFF);
    batch.End();
    d.EndScene();

    ASSERT_EQ(d.draws().size(), 1u);
    const NullDraw& draw = d.draws()[0];
    EXPECT_EQ(draw.states[size_t(RenderState::CullMode)], uint32_t(Cull::None));
    EXPECT_EQ(draw.states[size_t(RenderState::AlphaBlendEnable)], 1u);
    EXPECT_EQ(draw.states[size_t(RenderState::DestBlend)], uint32_t(Blend::InvSrcAlpha));
    EXPECT_EQ(draw.states[size_t(RenderState::AlphaTestEnable)], 1u);
    // Depth is untouched, so z from the transform meets the 3D pass.
    EXPECT_EQ(draw.states[size_t(RenderState::ZEnable)], 1u);
    EXPECT_EQ(draw.states[size_t(RenderState::ZWriteEnable)], 1u);
    EXPECT_EQ(draw.transforms[size_t(TransformType::World)].m[3][2], 1.0f);
    // The quad covers the picture's pixels with its colour.
    ASSERT_EQ(draw.hud.size(), 6u);
    EXPECT_EQ(draw.hud[2].x, 200.0f);
    EXPECT_EQ(draw.hud[2].y, 100.0f);
    EXPECT_EQ(draw.hud[0].color, 0x80FFFFFFu);
    // Pixels map onto clip space: (0,0) top-left, (1280,720) bottom-right.
    const Matrix& p = draw.transforms[size_t(TransformType::Projection)];
    Vec3 topLeft = Vec3TransformCoord({0, 0, 0}, p), bottomRight = Vec3TransformCoord({1280, 720, 1}, p);
    EXPECT_NEAR(topLeft.x, -1, 1e-6);
    EXPECT_NEAR(topLeft.y, 1, 1e-6);
    EXPECT_NEAR(bottomRight.x, 1, 1e-6);
    EXPECT_NEAR(bottomRight.y, -1, 1e-6);
    EXPECT_NEAR(bottomRight.z, 1, 1e-6);

    EXPECT_EQ(d.GetRenderState(RenderState::CullMode), uint32_t(Cull::CCW));
    EXPECT_EQ(d.GetRenderState(RenderState::DestBlend), uint32_t(Blend::One));
    EXPECT_EQ(d.GetRenderState(RenderState::AlphaTestEnable), 0u);
    EXPECT_EQ(d.GetTransform(TransformType::View), view);
    EXPECT_TRUE(d.errors().empty());
}

TEST(SpriteBatch, BatchesByTextureAndSkipsWhatCannotBeDrawn) {
    NullRenderDevice d(64, 64);
    TextureId a = d.CreateTexture(8, 8, 1, false), b = d.CreateTexture(8, 8, 1, false);
    SpriteBatch batch(d);
    batch.Draw(a, {0, 0, 8, 8}, 0xFFFFFFFF);  // outside Begin/End: nothing
    d.BeginScene();
    batch.Begin();
    batch.Draw(a, {0, 0, 8, 8}, 0xFFFFFFFF);
    batch.Draw(a, {0, 0, 4, 4}, 0xFFFFFFFF, {10, 0, 0});
    batch.Draw(b, {0, 0, 8, 8}, 0xFFFFFFFF);
    batch.Draw(0, {0, 0, 8, 8}, 0xFFFFFFFF);      // no texture
    batch.Draw(a, {0, 0, 0, 8}, 0xFFFFFFFF);      // empty rectangle
    batch.Draw(b, {0, 0, 8, 8}, 0x00FFFFFF);      // fully faded: every texel fails the alpha test
    batch.End();
    d.EndScene();
    ASSERT_EQ(d.draws().size(), 2u);
    EXPECT_EQ(d.draws()[0].hud.size(), 12u);
    EXPECT_EQ(d.draws()[0].texture0, a);
    EXPECT_EQ(d.draws()[1].texture0, b);
}

}  // namespace
