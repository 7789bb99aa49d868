// Render states by name for the game's drawing: a blend mode set in one call, and a guard that
// changes states for one scope and puts back, when the scope ends, every state it changed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/render/render_device.hpp"

// How a draw is combined with the picture below it (colour; the alpha channel keeps the
// device's own separate blend).
enum class BlendMode {
    Alpha,     // source × its alpha + picture × (1 − alpha): the game's everyday blend
    Additive,  // source × its alpha added onto the picture: glow, flashes, explosion sprites
};

// The three blend states of the mode.
void SetBlendMode(platform::RenderDevice& device, BlendMode mode);

class RenderStateGuard {
public:
    explicit RenderStateGuard(platform::RenderDevice& device) : device_(device) {}
    // Restores every state this guard changed to what it was before its first change.
    ~RenderStateGuard();
    RenderStateGuard(const RenderStateGuard&) = delete;
    RenderStateGuard& operator=(const RenderStateGuard&) = delete;

    RenderStateGuard& Blend(BlendMode mode);
    // Fixed-function lighting of what the device draws without an effect (HUD quads, sprites).
    RenderStateGuard& Lighting(bool on);
    // Whether draws write their depth; off, they are tested but leave the depth buffer alone.
    RenderStateGuard& DepthWrite(bool on);
    RenderStateGuard& Set(platform::RenderState state, uint32_t value);

private:
    struct Saved {
        platform::RenderState state;
        uint32_t value;
    };
    platform::RenderDevice& device_;
    std::array<Saved, static_cast<size_t>(platform::RenderState::Count)> saved_{};
    size_t count_ = 0;
};
