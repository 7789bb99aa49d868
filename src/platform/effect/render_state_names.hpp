// Names of the render states and their values as effect files (and tools) spell them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/types/render_types.hpp"

namespace platform {

// "CullMode" for RenderState::CullMode; "" for Count.
const char* RenderStateName(RenderState state);
// Case-insensitive look-up of a state name.
std::optional<RenderState> RenderStateFromName(std::string_view name);

// Reads the value text of a state: true/false for switches, the enum names of render_types.hpp
// for blend factors, blend operations, cull modes, compare functions and shade modes (case-
// insensitive), 0..255 for AlphaRef, and for ColorWriteEnable a mask 0..15 or names joined by
// '|' (Red|Green|Blue|Alpha). On failure returns false with the reason (listing what is allowed).
bool ParseRenderStateValue(RenderState state, std::string_view text, uint32_t& value, std::string& why);

// The value written back as text ("CCW", "true", "15"): the same spelling the parser reads.
std::string RenderStateValueName(RenderState state, uint32_t value);

}  // namespace platform
