// Named render states and the guard that restores them.
#include "graphics/render_state_guard.hpp"

using namespace platform;

namespace {

struct BlendStates {
    BlendOp op;
    platform::Blend source, destination;
};

BlendStates StatesOf(BlendMode mode) {
    switch (mode) {
        case BlendMode::Additive: return {BlendOp::Add, platform::Blend::SrcAlpha, platform::Blend::One};
        case BlendMode::Alpha: break;
    }
    return {BlendOp::Add, platform::Blend::SrcAlpha, platform::Blend::InvSrcAlpha};
}

}  // namespace

void SetBlendMode(RenderDevice& device, BlendMode mode) {
    const BlendStates s = StatesOf(mode);
    device.SetRenderState(RenderState::BlendOp, s.op);
    device.SetRenderState(RenderState::SrcBlend, s.source);
    device.SetRenderState(RenderState::DestBlend, s.destination);
}

RenderStateGuard::~RenderStateGuard() {
    while (count_ > 0) {
        const Saved& s = saved_[--count_];
        device_.SetRenderState(s.state, s.value);
    }
}

RenderStateGuard& RenderStateGuard::Set(RenderState state, uint32_t value) {
    bool known = false;
    for (size_t i = 0; i < count_ && !known; ++i) known = saved_[i].state == state;
    // Only the value before the guard's first change of a state is kept.
    if (!known) saved_[count_++] = {state, device_.GetRenderState(state)};
    device_.SetRenderState(state, value);
    return *this;
}

RenderStateGuard& RenderStateGuard::Blend(BlendMode mode) {
    const BlendStates s = StatesOf(mode);
    Set(RenderState::BlendOp, static_cast<uint32_t>(s.op));
    Set(RenderState::SrcBlend, static_cast<uint32_t>(s.source));
    return Set(RenderState::DestBlend, static_cast<uint32_t>(s.destination));
}

RenderStateGuard& RenderStateGuard::Lighting(bool on) { return Set(RenderState::Lighting, on ? 1u : 0u); }

RenderStateGuard& RenderStateGuard::DepthWrite(bool on) { return Set(RenderState::ZWriteEnable, on ? 1u : 0u); }
