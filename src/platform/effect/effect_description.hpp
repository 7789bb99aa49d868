// What an effect file describes: named techniques, their passes, shaders and render states.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types/render_types.hpp"

namespace platform {

// One render state a pass sets while it is active; the value uses the numbering of the state's
// value enum in render_types.hpp (Blend, Cull, CompareFunc, ...), 0/1 for switches.
struct EffectStateValue {
    RenderState state = RenderState::Count;
    uint32_t value = 0;
    bool operator==(const EffectStateValue&) const = default;
};

struct EffectPass {
    std::string name;  // may be empty
    int line = 0;      // the file line of "pass"
    std::string vertexSource;    // GLSL 330 core, exactly the lines of the block
    std::string fragmentSource;
    int vertexLine = 0;    // file line of the vertex shader's first line: GLSL line n is file line
    int fragmentLine = 0;  // vertexLine + n - 1 (see MapShaderLog)
    std::vector<EffectStateValue> states;  // in file order, each state at most once
};

struct EffectTechnique {
    std::string name;
    int line = 0;
    std::vector<EffectPass> passes;  // at least one; the game draws pass 0 only
};

struct EffectDescription {
    std::string fileName;
    std::vector<EffectTechnique> techniques;  // names are unique

    const EffectTechnique* FindTechnique(std::string_view name) const {
        for (const EffectTechnique& t : techniques)
            if (t.name == name) return &t;
        return nullptr;
    }
};

}  // namespace platform
