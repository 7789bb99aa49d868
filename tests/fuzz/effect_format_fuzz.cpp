// Fuzz target: any bytes read as an effect file and as a GLSL compiler log. Parsing must not
// crash; a success must describe complete passes, a failure must explain itself line by line.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/effect/effect_parser.hpp"
#include "platform/effect/shader_log.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::EffectDescription fx;
    std::string errors;
    const bool ok = platform::ParseEffect(text, "F.fx", fx, errors);
    if (ok) {
        if (fx.techniques.empty() || !errors.empty()) std::abort();
        for (const platform::EffectTechnique& t : fx.techniques) {
            if (t.passes.empty() || t.name.empty()) std::abort();
            for (const platform::EffectPass& p : t.passes) {
                if (p.vertexLine <= p.line || p.fragmentLine <= p.line) std::abort();
                if (p.states.size() > size_t(platform::RenderState::Count)) std::abort();
            }
        }
    } else {
        if (errors.empty() || !fx.techniques.empty()) std::abort();
        size_t pos = 0;
        while (pos < errors.size()) {
            if (errors.compare(pos, 5, "F.fx(") != 0) std::abort();
            const size_t end = errors.find('\n', pos);
            pos = end == std::string::npos ? errors.size() : end + 1;
        }
    }
    const std::string mapped = platform::MapShaderLog(text, "F.fx", 1 + int(size % 50));
    if (size > 0 && mapped.size() > size * 2 + 64 * (size + 1)) std::abort();
    return 0;
}
