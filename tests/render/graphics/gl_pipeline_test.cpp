// Pixels from the OpenGL device under a real (virtual) display: the frame pipeline, both render
// targets of the 3D pass, sprites against depth, text, orientation, culling and the blur.
#include "gl_fixture.hpp"

using namespace render_test;

namespace {

using GlPipelineTest = GlFixture;

TEST_F(GlPipelineTest, ASceneThatDrawsNothingGivesAnOpaqueBlackFrame) {
    std::vector<uint8_t> glow;
    std::vector<uint8_t> px = Frame(nullptr, nullptr, &glow);
    ASSERT_EQ(px.size(), size_t(kW) * kH * 4);
    for (size_t i = 0; i < px.size(); i += 4) {
        ASSERT_EQ(px[i] | px[i + 1] | px[i + 2], 0) << "pixel " << i / 4;
        ASSERT_EQ(px[i + 3], 255) << "pixel " << i / 4;
    }
    EXPECT_EQ(At(glow, kW / 2, kH / 2).g, 0);
}

TEST_F(GlPipelineTest, The3DPassWritesThePictureAndTheGlowAtOnce) {
    Effect effect;
    std::string errors;
    ASSERT_TRUE(effect.CreateFromText(device(), R"(technique Tech
pass
vertex_shader
#version 330 core
layout(location = 0) in vec3 inPosition;
void main() { gl_Position = vec4(inPosition, 1.0); }
end_shader
fragment_shader
#version 330 core
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outGlow;
void main() { outColor = vec4(1.0, 0.0, 0.0, 1.0); outGlow = vec4(0.0, 0.5, 0.0, 1.0); }
end_shader
)", "Both.fx", &errors)) << errors;
    std::vector<uint8_t> glow;
    std::vector<uint8_t> px = Frame(
        [&] {
            effect.Begin();
            effect.BeginPass(0);
            ClipQuad(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 0xFFFFFFFF);
            effect.EndPass();
            effect.End();
        },
        nullptr, &glow);
    EXPECT_EQ(At(px, kW / 2, kH / 2).r, 255);
    EXPECT_NEAR(At(glow, kW / 2, kH / 2).g, 128, 1);
    EXPECT_EQ(At(glow, kW / 2, kH / 2).r, 0);
    EXPECT_EQ(At(glow, 10, 10).g, 0) << "nothing drawn there";
    // The blurred glow is added over the picture: green shows where only glow could put it.
    EXPECT_GT(At(px, kW / 2, kH / 2).g, 200);
    EXPECT_EQ(At(px, 10, 10).g, 0);
    effect.Release();
}

TEST_F(GlPipelineTest, FixedFunctionDrawsLeaveTheGlowAlone) {
    std::vector<uint8_t> glow;
    std::vector<uint8_t> px = Frame([] { ClipQuad(-1, -1, 1, 1, 0.5f, 0xFF00FF00); }, nullptr, &glow);
    EXPECT_EQ(At(px, kW / 2, kH / 2).g, 255);
    EXPECT_EQ(At(glow, kW / 2, kH / 2).g, 0);
}

TEST_F(GlPipelineTest, SpritesAtDepthOneLieBehindTheWorldAtDepthZeroInFront) {
    Texture white;
    ASSERT_EQ(white.CreateTarget(kW, kH, 1, TextureUsage::None), 1);
    white.Fill(0xFFFFFFFF);
    GraphicsDevice& gd = GraphicsDevice::Instance();
    for (float z : {1.0f, 0.0f}) {
        std::vector<uint8_t> px = Frame([] { ClipQuad(-1, -1, 0, 1, 0.5f, 0xFF0000FF); },  // blue left half
                                        [&] {
                                            Matrix at = MatrixTranslation(0, 0, z);
                                            gd.DrawSprite(&white, 0xFFFFFFFF, &at);
                                        });
        const Pixel left = At(px, kW / 4, kH / 2), right = At(px, 3 * kW / 4, kH / 2);
        EXPECT_EQ(right.r, 255) << "z = " << z;
        if (z == 1.0f) {
            EXPECT_EQ(left.r, 0) << "the backdrop stays behind what the 3D pass drew";
            EXPECT_EQ(left.b, 255);
        } else {
            EXPECT_EQ(left.r, 255) << "a z = 0 sprite lies on top";
        }
    }
}

// Below full scale the 3D picture is drawn smaller and stretched: its edges move by a pixel or
// so, but what lies behind it stays hidden and the sprites stay sharp at full resolution.
TEST_F(GlPipelineTest, AScaledPictureKeepsItsDepthAndLeavesTheSpritesSharp) {
    Texture white;
    ASSERT_EQ(white.CreateTarget(kW, kH, 1, TextureUsage::None), 1);
    white.Fill(0xFFFFFFFF);
    GraphicsDevice& gd = GraphicsDevice::Instance();
    for (float scale : {0.75f, 0.5f}) {
        std::vector<uint8_t> px = Frame([] { ClipQuad(-1, -1, 0, 1, 0.5f, 0xFF0000FF); },  // blue left half
                                        [&] {
                                            const Matrix back = MatrixTranslation(0, 0, 1);
                                            gd.DrawSprite(&white, 0xFFFFFFFF, &back);
                                            // A line one pixel wide over the blue, in front.
                                            const Matrix line = MatrixScaling(1.0f / kW, 1, 1) * MatrixTranslation(301, 0, 0);
                                            gd.DrawSprite(&white, 0xFF00FF00, &line);
                                        },
                                        nullptr, Matrix::Identity(), scale);
        for (int y : {10, kH / 2, kH - 10}) {
            EXPECT_EQ(At(px, kW / 4, y).b, 255) << scale << ": the picture, stretched";
            EXPECT_EQ(At(px, kW / 4, y).r, 0) << scale << ": the backdrop stays behind it";
            EXPECT_EQ(At(px, kW / 2 - 3, y).r, 0) << scale << ": the picture's edge within a pixel or two";
            EXPECT_EQ(At(px, kW / 2 + 3, y).r, 255) << scale << ": the backdrop beside it";
            EXPECT_EQ(At(px, 301, y).g, 255) << scale << ": the line";
            EXPECT_EQ(At(px, 300, y).g, 0) << scale << ": the line is one pixel wide";
            EXPECT_EQ(At(px, 302, y).g, 0) << scale << ": the line is one pixel wide";
        }
    }
}

TEST_F(GlPipelineTest, TextDrawsWhereTheTransformPutsIt) {
    GraphicsDevice& gd = GraphicsDevice::Instance();
    std::vector<uint8_t> px = Frame(nullptr, [&] {
        Matrix at = MatrixScaling(2, 2, 1) * MatrixTranslation(100, 100, 0);
        gd.DrawText("Ver.1.1.0", 0xFFFFFFFF, &at);
    });
    int lit = 0, stray = 0;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool inside = x >= 100 && x < 100 + 160 && y >= 100 && y < 100 + 24;
            const bool bright = At(px, x, y).r > 128;
            if (bright && inside) ++lit;
            if (bright && !inside) ++stray;
        }
    EXPECT_GT(lit, 150);
    EXPECT_EQ(stray, 0);
}

TEST_F(GlPipelineTest, PictureIsTheRightWayUpAndCullingKeepsClockwiseTriangles) {
    std::vector<uint8_t> px = Frame(
        [] {
            // On screen, y down: top-left, top-right, bottom is clockwise.
            const HudVertex clockwise[3] = {{-0.9f, 0.9f, 0.5f, 0xFFFF0000, 0, 0}, {-0.1f, 0.9f, 0.5f, 0xFFFF0000, 0, 0},
                                            {-0.5f, 0.1f, 0.5f, 0xFFFF0000, 0, 0}};
            const HudVertex counter[3] = {{0.1f, 0.9f, 0.5f, 0xFF00FF00, 0, 0}, {0.5f, 0.1f, 0.5f, 0xFF00FF00, 0, 0},
                                          {0.9f, 0.9f, 0.5f, 0xFF00FF00, 0, 0}};
            device().SetTransform(TransformType::Projection, Matrix::Identity());
            device().SetTexture(0, 0);
            device().DrawPrimitiveUP(PrimitiveType::TriangleList, clockwise, 3);
            device().DrawPrimitiveUP(PrimitiveType::TriangleList, counter, 3);
            // A pre-transformed strip in the top-left corner of the picture.
            const ScreenVertex corner[4] = {{0, 0, 0, 1, 0, 0}, {40, 0, 0, 1, 1, 0}, {0, 20, 0, 1, 0, 1}, {40, 20, 0, 1, 1, 1}};
            device().DrawPrimitiveUP(PrimitiveType::TriangleStrip, corner, 4);
        },
        nullptr);
    EXPECT_EQ(At(px, kW / 4, kH / 4).r, 255) << "the clockwise triangle is drawn, in the upper half";
    EXPECT_EQ(At(px, kW / 4, 3 * kH / 4).r, 0);
    EXPECT_EQ(At(px, 3 * kW / 4, kH / 4).g, 0) << "the counter-clockwise triangle is culled";
    const Pixel corner = At(px, 5, 5);
    EXPECT_EQ(corner.r + corner.g + corner.b, 3 * 255) << "row 0 is the top of the picture";
    EXPECT_EQ(At(px, 5, kH - 5).r, 0);
}

TEST_F(GlPipelineTest, BlurSpreadsOneBrightPixelIntoASoftSpotAndKeepsTheTarget) {
    BlurFilter& blur = GameEffects::Instance().blurFilter;
    ASSERT_TRUE(blur.valid());
    Texture source;
    ASSERT_EQ(source.CreateTarget(kW, kH, 1, TextureUsage::RenderTarget), 1);
    std::vector<uint8_t> px(size_t(kW) * kH * 4, 0);
    for (size_t i = 3; i < px.size(); i += 4) px[i] = 255;
    for (int dy = 0; dy < 2; ++dy)
        for (int dx = 0; dx < 2; ++dx) {
            uint8_t* p = &px[(size_t(360 + dy) * kW + 640 + dx) * 4];
            p[0] = p[1] = p[2] = 255;
        }
    device().UpdateTexture(source.texture, 0, px.data());
    device().BeginScene();
    device().SetRenderTarget(0, kBackBuffer);
    blur.Blur(source);
    EXPECT_EQ(device().GetRenderTarget(0), kBackBuffer);
    device().EndScene();
    std::vector<uint8_t> out = device().ReadPixels(blur.targets[1].texture);
    const int w = kW / 2;
    const int centre = At(out, 320, 180, w).r;
    EXPECT_GT(centre, 0);
    EXPECT_LT(centre, 255) << "the energy is spread out";
    // Symmetric, no brighter away from the middle, and gone far away. Spread over the whole
    // halo a single spot is too faint to show its fall-off in 8 bits; the line test reads that.
    EXPECT_GT(At(out, 323, 180, w).r, 0);
    EXPECT_LE(At(out, 323, 180, w).r, centre);
    EXPECT_NEAR(At(out, 317, 180, w).r, At(out, 323, 180, w).r, 3);
    EXPECT_NEAR(At(out, 320, 177, w).r, At(out, 320, 183, w).r, 3);
    EXPECT_EQ(At(out, 300, 180, w).r, 0);
    EXPECT_EQ(At(out, 0, 0, w).r, 0);
}

}  // namespace
