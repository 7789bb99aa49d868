// GLSL compiler logs turned into effect file lines.
#include <gtest/gtest.h>

#include "platform/effect/shader_log.hpp"

using platform::MapShaderLog;

namespace {

TEST(ShaderLog, CompilerLinesPointAtTheEffectFile) {
    struct Case {
        const char* log;
        int start;
        const char* expected;
    } cases[] = {
        {"0:3(12): error: `foo' undeclared\n", 10, "S.fx(12): error: `foo' undeclared"},
        {"0(1) : error C0000: syntax error\n", 40, "S.fx(40): error C0000: syntax error"},
        {"0:2(1): warning: x\n0:5(7): error: y\n", 7, "S.fx(8): warning: x\nS.fx(11): error: y"},
        {"error: linking failed\n", 7, "S.fx: error: linking failed"},
        {"0:0(1): error: before the first line\n", 7, "S.fx: 0:0(1): error: before the first line"},
        {"\n\n", 7, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(MapShaderLog(c.log, "S.fx", c.start), c.expected) << c.log;
}

}  // namespace
