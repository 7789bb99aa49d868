// The render-state guard puts back exactly what it changed, whatever the states were before.
#include "graphics/render_state_guard.hpp"

#include <gtest/gtest.h>

#include "platform/null/null_render_device.hpp"

using namespace platform;

namespace {

TEST(RenderStateGuard, PutsBackWhatItFoundEvenWhenNestedOrChangedTwice) {
    NullRenderDevice device(64, 64);
    device.SetRenderState(RenderState::BlendOp, BlendOp::Max);
    device.SetRenderState(RenderState::SrcBlend, Blend::One);
    device.SetRenderState(RenderState::DestBlend, Blend::Zero);
    device.SetRenderState(RenderState::Lighting, 1u);
    device.SetRenderState(RenderState::ZWriteEnable, 1u);
    device.SetRenderState(RenderState::CullMode, Cull::CW);
    {
        RenderStateGuard outer(device);
        outer.Blend(BlendMode::Additive).Lighting(false);
        EXPECT_EQ(device.GetRenderState(RenderState::BlendOp), uint32_t(BlendOp::Add));
        EXPECT_EQ(device.GetRenderState(RenderState::SrcBlend), uint32_t(Blend::SrcAlpha));
        EXPECT_EQ(device.GetRenderState(RenderState::DestBlend), uint32_t(Blend::One));
        {
            RenderStateGuard inner(device);
            inner.Blend(BlendMode::Alpha).DepthWrite(false).Blend(BlendMode::Additive).Blend(BlendMode::Alpha);
            EXPECT_EQ(device.GetRenderState(RenderState::DestBlend), uint32_t(Blend::InvSrcAlpha));
            EXPECT_EQ(device.GetRenderState(RenderState::ZWriteEnable), 0u);
        }
        // The inner guard's first change of each state is what it put back: the outer's values.
        EXPECT_EQ(device.GetRenderState(RenderState::DestBlend), uint32_t(Blend::One));
        EXPECT_EQ(device.GetRenderState(RenderState::ZWriteEnable), 1u);
        EXPECT_EQ(device.GetRenderState(RenderState::Lighting), 0u);
    }
    EXPECT_EQ(device.GetRenderState(RenderState::BlendOp), uint32_t(BlendOp::Max));
    EXPECT_EQ(device.GetRenderState(RenderState::SrcBlend), uint32_t(Blend::One));
    EXPECT_EQ(device.GetRenderState(RenderState::DestBlend), uint32_t(Blend::Zero));
    EXPECT_EQ(device.GetRenderState(RenderState::Lighting), 1u);
    EXPECT_EQ(device.GetRenderState(RenderState::CullMode), uint32_t(Cull::CW)) << "untouched";
}

}  // namespace
