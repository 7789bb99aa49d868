// The effect runtime: techniques, parameters by name, saved and restored states, compile
// errors with file lines, and an empty effect that ignores everything.
#include "graphics/effect.hpp"

#include <gtest/gtest.h>

#include "platform/null/null_render_device.hpp"

using namespace platform;

namespace {

const char* kEffect = R"(// two techniques
technique Tech
pass
    CullMode = None
    DestBlend = One
vertex_shader
#version 330 core
uniform mat4 mW;
uniform vec3 LightDir;
void main() {}
end_shader
fragment_shader
#version 330 core
uniform sampler2D MateDiffuseTex;
uniform vec4 MateDiffuse;
void main() {}
end_shader

technique Other
pass
vertex_shader
#version 330 core
uniform float OutlineSize;
void main() {}
end_shader
fragment_shader
#version 330 core
void main() {}
end_shader
)";

TEST(Effect, PassStatesAreSetForThePassAndRestoredAtEnd) {
    NullRenderDevice d(64, 64);
    Effect e;
    std::string errors;
    ASSERT_TRUE(e.CreateFromText(d, kEffect, "Test.fx", &errors)) << errors;
    EXPECT_TRUE(e.SetTechnique("Tech"));
    EXPECT_FALSE(e.SetTechnique("Missing"));
    EXPECT_EQ(e.technique(), "Tech");
    d.SetRenderState(RenderState::CullMode, Cull::CCW);
    EXPECT_EQ(e.Begin(), 1u);
    e.BeginPass(0);
    EXPECT_EQ(d.GetRenderState(RenderState::CullMode), uint32_t(Cull::None));
    EXPECT_EQ(d.GetRenderState(RenderState::DestBlend), uint32_t(Blend::One));
    EXPECT_NE(d.GetProgram(), 0u);
    e.EndPass();
    e.End();
    EXPECT_EQ(d.GetRenderState(RenderState::CullMode), uint32_t(Cull::CCW));
    EXPECT_EQ(d.GetProgram(), 0u);
}

TEST(Effect, ParametersReachTheProgramByNameAndShape) {
    NullRenderDevice d(64, 64);
    Effect e;
    ASSERT_TRUE(e.CreateFromText(d, kEffect, "Test.fx", nullptr));
    TextureId tex = d.CreateTexture(1, 1, 1, false);
    e.SetMatrix("mW", MatrixTranslation(1, 2, 3));
    e.SetVector("LightDir", {0, -1, 0, 9});  // a float4 for a float3 loses its w
    e.SetTexture("MateDiffuseTex", tex);
    e.Begin();
    e.BeginPass(0);
    ProgramId program = d.GetProgram();
    ASSERT_NE(d.UniformValue(program, "mW"), nullptr);
    EXPECT_EQ((*d.UniformValue(program, "mW"))[13], 2.0f);
    EXPECT_EQ(*d.UniformValue(program, "LightDir"), (std::vector<float>{0, -1, 0}));
    EXPECT_EQ(d.GetTexture(0), tex);
    // Changes inside a pass wait for CommitChanges.
    e.SetVector("MateDiffuse", {1, 0.5f, 0, 1});
    EXPECT_EQ(d.UniformValue(program, "MateDiffuse"), nullptr);
    e.CommitChanges();
    EXPECT_EQ(*d.UniformValue(program, "MateDiffuse"), (std::vector<float>{1, 0.5f, 0, 1}));
    e.EndPass();
    e.End();
    EXPECT_EQ(d.GetTexture(0), 0u) << "the stage's texture comes back too";
    EXPECT_TRUE(d.errors().empty());
}

// A value is sent to a program once, not on every pass: each technique's program must still get
// every change, however the techniques take turns, and the textures, which belong to the
// device's stages, are bound again on every pass.
TEST(Effect, EveryTechniquesProgramGetsEachChangeAndTexturesAreBoundOnEveryPass) {
    const char* twoTechniques = R"(technique A
pass
vertex_shader
#version 330 core
uniform mat4 mW;
void main() {}
end_shader
fragment_shader
#version 330 core
uniform sampler2D Tex;
void main() {}
end_shader

technique B
pass
vertex_shader
#version 330 core
uniform mat4 mW;
void main() {}
end_shader
fragment_shader
#version 330 core
void main() {}
end_shader
)";
    NullRenderDevice d(64, 64);
    Effect e;
    ASSERT_TRUE(e.CreateFromText(d, twoTechniques, "Two.fx", nullptr));
    const TextureId tex = d.CreateTexture(1, 1, 1, false), other = d.CreateTexture(1, 1, 1, false);
    const auto pass = [&](const char* technique) {
        e.SetTechnique(technique);
        e.Begin();
        e.BeginPass(0);
        const ProgramId program = d.GetProgram();
        const TextureId bound = d.GetTexture(0);
        e.EndPass();
        e.End();
        return std::pair{program, bound};
    };
    const auto x = [&](ProgramId program) { return (*d.UniformValue(program, "mW"))[12]; };
    e.SetTexture("Tex", tex);
    e.SetMatrix("mW", MatrixTranslation(1, 0, 0));
    const ProgramId a = pass("A").first;
    e.SetMatrix("mW", MatrixTranslation(2, 0, 0));
    const ProgramId b = pass("B").first;
    EXPECT_EQ(x(a), 1.0f);
    EXPECT_EQ(x(b), 2.0f);
    d.SetTexture(0, other);  // another draw took the stage
    EXPECT_EQ(pass("A").second, tex);
    EXPECT_EQ(x(a), 2.0f) << "the change made while B drew reaches A's program";
    e.SetMatrix("mW", MatrixTranslation(3, 0, 0));
    pass("B");
    EXPECT_EQ(x(b), 3.0f);
    EXPECT_EQ(x(a), 2.0f);
    EXPECT_TRUE(d.errors().empty());
}

TEST(Effect, CompileErrorsNameTheFileLineAndLeaveAnEffectThatDoesNothing) {
    NullRenderDevice d(64, 64);
    d.FailNextProgram("0:3(1): error: syntax error\n");
    Effect e;
    std::string errors;
    EXPECT_FALSE(e.CreateFromText(d, kEffect, "Shader/Test.fx", &errors));
    // Line 3 of the fragment shader, which starts on file line 13, is file line 15.
    EXPECT_NE(errors.find("Shader/Test.fx(15)"), std::string::npos) << errors;
    EXPECT_FALSE(e.valid());
    e.SetTechnique("Tech");
    e.SetMatrix("mW", Matrix::Identity());
    EXPECT_EQ(e.Begin(), 0u);
    e.BeginPass(0);
    e.CommitChanges();
    e.EndPass();
    e.End();
    EXPECT_EQ(d.GetProgram(), 0u);

    Effect missing;
    EXPECT_FALSE(missing.CreateFromFile(d, "/nonexistent/Shader/Blur.fx", &errors));
    EXPECT_NE(errors.find("/nonexistent/Shader/Blur.fx"), std::string::npos) << errors;
}

}  // namespace
