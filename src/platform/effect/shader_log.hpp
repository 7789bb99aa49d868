// Turns a GLSL compiler log into messages that point at lines of the effect file.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Rewrites each line of a GLSL info log that names a source line ("0:12(5): error: ..." from
// Mesa, "0(12) : error C0000: ..." from other drivers) as "FILE(LINE): error: ...", where LINE
// is the effect file's line (startLine is EffectPass::vertexLine or fragmentLine). Lines in other
// forms are kept, prefixed with "FILE: ". Empty lines are dropped.
std::string MapShaderLog(std::string_view log, const std::string& fileName, int startLine);

}  // namespace platform
