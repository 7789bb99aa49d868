// The render device's own rules, checked on the null backend: handles, sizes, misuse, clears.
#include "platform/null/null_render_device.hpp"

#include <gtest/gtest.h>

using namespace platform;

namespace {

TEST(RenderDevice, HandlesAreUniqueAcrossKindsAndCarryTheirSizes) {
    NullRenderDevice d(1280, 720);
    TextureId a = d.CreateTexture(300, 100, 0, false);
    TextureId b = d.CreateTexture(640, 360, 1, true);
    const MeshVertex v[3] = {};
    const uint32_t idx[3] = {0, 1, 2};
    MeshBufferId m = d.CreateMeshBuffer(v, 3, idx, 3);
    ProgramLog log;
    ProgramId p = d.CreateProgram("uniform mat4 mW;", "void main(){}", &log);
    EXPECT_NE(a, b);
    EXPECT_NE(a, m);
    EXPECT_NE(m, p);
    ASSERT_NE(d.GetTextureInfo(a), nullptr);
    EXPECT_EQ(d.GetTextureInfo(a)->levels, 9);  // 300x100 down to 1x1
    EXPECT_EQ(d.GetTextureInfo(b)->width, 640);
    EXPECT_TRUE(d.GetTextureInfo(b)->renderTarget);
    EXPECT_EQ(d.UniformLocation(p, "mW"), 0);
    EXPECT_EQ(d.UniformLocation(p, "mV"), -1);
    EXPECT_EQ(d.GetUniformType(p, "mW"), UniformType::Mat4);
    EXPECT_TRUE(d.errors().empty());
}

TEST(RenderDevice, MisuseIsReportedNotIgnored) {
    NullRenderDevice d(64, 64);
    TextureId t = d.CreateTexture(8, 8, 1, false);
    d.SetTexture(0, t);
    d.ReleaseTexture(t);
    EXPECT_EQ(d.GetTexture(0), 0u) << "a released texture is unbound";
    EXPECT_TRUE(d.errors().empty());

    struct Case {
        const char* what;
        std::function<void()> misuse;
    } cases[] = {
        {"double release", [&] { d.ReleaseTexture(t); }},
        {"use after release", [&] { d.SetTexture(0, t); }},
        {"plain texture as a render target", [&] { d.SetRenderTarget(1, d.CreateTexture(4, 4, 1, false)); }},
        {"draw outside a scene", [&] {
             const ScreenVertex q[3] = {};
             d.DrawPrimitiveUP(PrimitiveType::TriangleList, q, 3);
         }},
        {"EndScene without BeginScene", [&] { d.EndScene(); }},
        {"mesh index out of range", [&] {
             const MeshVertex v[2] = {};
             const uint32_t idx[3] = {0, 1, 2};
             EXPECT_EQ(d.CreateMeshBuffer(v, 2, idx, 3), 0u);
         }},
        {"bad texture size", [&] { EXPECT_EQ(d.CreateTexture(0, 4, 1, false), 0u); }},
    };
    for (const Case& c : cases) {
        d.ClearErrors();
        c.misuse();
        EXPECT_EQ(d.errors().size(), 1u) << c.what;
    }
}

TEST(RenderDevice, ClearFillsEveryBoundTargetAndReadsBackTopRowFirst) {
    NullRenderDevice d(4, 2);
    TextureId glow = d.CreateTexture(4, 2, 1, true);
    d.SetRenderTarget(1, glow);
    d.Clear(kClearTarget | kClearZBuffer, 0xFF102030, 1.0f, 0);
    for (TextureId target : {kBackBuffer, glow}) {
        std::vector<uint8_t> px = d.ReadPixels(target);
        ASSERT_EQ(px.size(), 4u * 2u * 4u);
        EXPECT_EQ(px[0], 0x10);
        EXPECT_EQ(px[1], 0x20);
        EXPECT_EQ(px[2], 0x30);
        EXPECT_EQ(px[3], 0xFF);
    }
    // A depth-only clear leaves colours alone.
    d.SetRenderTarget(1, 0);
    d.Clear(kClearZBuffer, 0xFFFFFFFF, 1.0f, 0);
    EXPECT_EQ(d.ReadPixels(kBackBuffer)[0], 0x10);
}

TEST(RenderDevice, FreshDeviceStartsWithTheClassicDefaults) {
    NullRenderDevice d(64, 64);
    EXPECT_EQ(d.GetRenderState(RenderState::ZEnable), 1u);
    EXPECT_EQ(d.GetRenderState(RenderState::ZFunc), uint32_t(CompareFunc::LessEqual));
    EXPECT_EQ(d.GetRenderState(RenderState::CullMode), uint32_t(Cull::CCW));
    EXPECT_EQ(d.GetRenderState(RenderState::AlphaBlendEnable), 0u);
    EXPECT_EQ(d.GetTransform(TransformType::View), Matrix::Identity());
}

TEST(RenderDevice, NullDeviceKeepsTheDrawsOfOneFrameOnly) {
    NullRenderDevice d(64, 64);
    const HudVertex quad[4] = {};
    auto frame = [&](int draws) {
        d.Clear(kClearTarget, 0xFF000000, 1.0f, 0);
        d.BeginScene();
        for (int i = 0; i < draws; ++i) d.DrawPrimitiveUP(PrimitiveType::TriangleFan, quad, 4);
        d.EndScene();
        d.Present(64, 64);
    };
    frame(3);
    EXPECT_EQ(d.draws().size(), 3u) << "a frame's draws are there to read after its Present";
    frame(2);
    EXPECT_EQ(d.draws().size(), 2u) << "the next frame starts a new list";
    d.BeginScene();
    d.DrawPrimitiveUP(PrimitiveType::TriangleFan, quad, 4);
    d.EndScene();
    EXPECT_EQ(d.draws().size(), 1u);
    EXPECT_TRUE(d.errors().empty());
}

}  // namespace
