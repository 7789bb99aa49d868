// Effect files: techniques, passes, states and shader blocks, and errors with their lines.
#include <gtest/gtest.h>

#include "platform/effect/effect_parser.hpp"
#include "platform/effect/render_state_names.hpp"

using namespace platform;

namespace {

const char* kGood =
    "// Outline effect\n"          // 1
    "technique Tech\n"             // 2
    "pass P0\n"                    // 3
    "    CullMode = CW   // back faces of the hull\n"  // 4
    "    zwriteenable = FALSE\n"   // 5
    "vertex_shader\n"              // 6
    "#version 330 core\n"          // 7
    "void main() { gl_Position = vec4(0.0); }\n"  // 8
    "end_shader\n"                 // 9
    "    SrcBlend = One\n"         // 10
    "  fragment_shader  \r\n"      // 11
    "#version 330 core\r\n"        // 12
    "out vec4 color; // end_shader in a comment stays GLSL\r\n"  // 13
    "void main() { color = vec4(1.0); }\r\n"  // 14
    "  end_shader\n"               // 15
    "pass Ignored\n"               // 16
    "vertex_shader\nA\nend_shader\nfragment_shader\nB\nend_shader\n"  // 17-22
    "\n"                           // 23
    "technique Other\n"            // 24
    "pass\n"                       // 25
    "ColorWriteEnable = Red|Alpha\n"  // 26
    "AlphaRef = 0x80\n"            // 27
    "vertex_shader\n"              // 28
    "V\n"                          // 29
    "end_shader\n"                 // 30
    "fragment_shader\n"            // 31
    "end_shader\n";                // 32: an empty shader is the compiler's business

TEST(EffectParser, ReadsTechniquesPassesStatesAndShaders) {
    EffectDescription fx;
    std::string errors;
    ASSERT_TRUE(ParseEffect(kGood, "Shader/Test.fx", fx, errors)) << errors;
    EXPECT_EQ(fx.fileName, "Shader/Test.fx");
    ASSERT_EQ(fx.techniques.size(), 2u);

    const EffectTechnique* tech = fx.FindTechnique("Tech");
    ASSERT_NE(tech, nullptr);
    EXPECT_EQ(tech->line, 2);
    ASSERT_EQ(tech->passes.size(), 2u);
    const EffectPass& pass = tech->passes[0];
    EXPECT_EQ(pass.name, "P0");
    EXPECT_EQ(pass.vertexSource, "#version 330 core\nvoid main() { gl_Position = vec4(0.0); }\n");
    EXPECT_EQ(pass.vertexLine, 7);
    EXPECT_EQ(pass.fragmentSource,
              "#version 330 core\nout vec4 color; // end_shader in a comment stays GLSL\nvoid main() { color = vec4(1.0); }\n");
    EXPECT_EQ(pass.fragmentLine, 12);
    const std::vector<EffectStateValue> states = {
        {RenderState::CullMode, uint32_t(Cull::CW)},
        {RenderState::ZWriteEnable, 0},
        {RenderState::SrcBlend, uint32_t(Blend::One)},
    };
    EXPECT_EQ(pass.states, states);

    const EffectTechnique* other = fx.FindTechnique("Other");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->passes[0].name, "");
    EXPECT_EQ(other->passes[0].vertexLine, 29);
    EXPECT_EQ(other->passes[0].fragmentSource, "");
    const std::vector<EffectStateValue> otherStates = {{RenderState::ColorWriteEnable, 9}, {RenderState::AlphaRef, 128}};
    EXPECT_EQ(other->passes[0].states, otherStates);
    EXPECT_EQ(fx.FindTechnique("tech"), nullptr);  // technique names are case-sensitive
}

TEST(EffectParser, ErrorsNameTheFileAndLine) {
    const std::string shaders = "vertex_shader\nv\nend_shader\nfragment_shader\nf\nend_shader\n";
    struct Case {
        std::string text;
        std::string error;
    } cases[] = {
        {"", "X.fx(1): the file declares no technique"},
        {"// only a comment\n\n", "X.fx(2): the file declares no technique"},
        {"technique T\npass\nCullMode = Sideways\n" + shaders, "X.fx(3): bad value \"Sideways\": CullMode takes one of: None, CW, CCW"},
        {"technique T\npass\nFogColor = 3\n" + shaders, "X.fx(3): unknown render state \"FogColor\""},
        {"technique T\npass\nAlphaRef = 256\n" + shaders, "X.fx(3): bad value \"256\": AlphaRef takes a number from 0 to 255"},
        {"technique T\npass\nZEnable = 1\n" + shaders, "X.fx(3): bad value \"1\": ZEnable takes one of: false, true"},
        {"technique T\npass\nColorWriteEnable = Red|\n" + shaders, "X.fx(3): bad value \"Red|\""},
        {"technique T\npass\nCullMode = CW\ncullmode = CCW\n" + shaders, "X.fx(4): CullMode is set twice in this pass"},
        {"CullMode = CW\ntechnique T\npass\n" + shaders, "X.fx(1): render state \"CullMode\" outside a pass"},
        {"pass\n", "X.fx(1): \"pass\" outside a technique"},
        {"technique T\nvertex_shader\nv\nend_shader\n", "X.fx(2): \"vertex_shader\" outside a pass"},
        {"technique T\npass\n\nvertex_shader\nvoid main() {}\n", "X.fx(4): \"vertex_shader\" block has no \"end_shader\""},
        {"technique T\npass\nvertex_shader\nv\nend_shader\n\ntechnique U\n", "X.fx(2): the pass has no fragment_shader"},
        {"technique T\npass\nfragment_shader\nf\nend_shader\n", "X.fx(2): the pass has no vertex_shader"},
        {"technique T\n\n", "X.fx(1): technique \"T\" has no pass"},
        {"technique T\npass\n" + shaders + "technique T\npass\n" + shaders, "X.fx(9): technique \"T\" is declared twice"},
        {"technique\npass\n" + shaders, "X.fx(1): \"technique\" needs a name"},
        {"technique 9lives\npass\n" + shaders, "X.fx(1): \"technique\" needs a name"},
        {"technique T\npass two words\n" + shaders, "X.fx(2): a pass name is letters, digits and '_'"},
        {"technique T\npass\nvertex_shader {\nv\nend_shader\n", "X.fx(3): \"vertex_shader\" stands alone on its line"},
        {"technique T\npass\n" + shaders + "vertex_shader\nw\nend_shader\n", "X.fx(9): the pass already has a vertex shader"},
        {"technique T\npass\n" + shaders + "end_shader\n", "X.fx(9): \"end_shader\" without a shader block"},
        {"technique T\npass\n" + shaders + "float4 x;\n", "X.fx(9): unknown statement \"float4\""},
        {std::string("technique T\npass\n\0\n", 19) + shaders, "X.fx(3): the line holds a NUL byte"},
    };
    for (const Case& c : cases) {
        EffectDescription fx;
        std::string errors;
        EXPECT_FALSE(ParseEffect(c.text, "X.fx", fx, errors)) << c.text;
        EXPECT_NE(errors.find(c.error), std::string::npos) << "expected: " << c.error << "\ngot: " << errors;
        EXPECT_TRUE(fx.techniques.empty());
    }
}

TEST(EffectParser, ReportsEveryErrorOfAFileOnePerLine) {
    EffectDescription fx;
    std::string errors;
    const char* text =
        "technique T\n"
        "pass\n"
        "Bogus = 1\n"
        "CullMode = Up\n"
        "vertex_shader\nv\nend_shader\n"
        "fragment_shader\nf\nend_shader\n";
    ASSERT_FALSE(ParseEffect(text, "A.fx", fx, errors));
    EXPECT_EQ(errors,
              "A.fx(3): unknown render state \"Bogus\"\n"
              "A.fx(4): bad value \"Up\": CullMode takes one of: None, CW, CCW");
}

TEST(EffectParser, AMissingFileIsNamed) {
    EffectDescription fx;
    std::string errors;
    EXPECT_FALSE(LoadEffectFile("/nonexistent/Shader/Simple.fx", fx, errors));
    EXPECT_EQ(errors, "/nonexistent/Shader/Simple.fx: cannot open: No such file or directory");
    EXPECT_FALSE(LoadEffectFile("/tmp", fx, errors));
    EXPECT_EQ(errors, "/tmp: is a folder, not a file");
}

TEST(RenderStateNames, EveryValueNameReadsBackToItsValue) {
    for (size_t i = 0; i < size_t(RenderState::Count); ++i) {
        const RenderState state = RenderState(i);
        const std::string name = RenderStateName(state);
        ASSERT_FALSE(name.empty());
        ASSERT_EQ(RenderStateFromName(name), state);
        const uint32_t limit = state == RenderState::AlphaRef ? 256 : 16;
        for (uint32_t v = 0; v < limit; ++v) {
            const std::string text = RenderStateValueName(state, v);
            uint32_t back = 0;
            std::string why;
            // Names for enum values, numbers for the numeric states; values outside an enum do not parse.
            if (ParseRenderStateValue(state, text, back, why)) {
                EXPECT_EQ(back, v) << name << " = " << text;
            }
        }
    }
    uint32_t value = 0;
    std::string why;
    EXPECT_TRUE(ParseRenderStateValue(RenderState::DestBlend, "invsrcalpha", value, why));
    EXPECT_EQ(value, uint32_t(Blend::InvSrcAlpha));
    EXPECT_TRUE(ParseRenderStateValue(RenderState::ZFunc, "LessEqual", value, why));
    EXPECT_EQ(value, uint32_t(CompareFunc::LessEqual));
    EXPECT_TRUE(ParseRenderStateValue(RenderState::BlendOp, "RevSubtract", value, why));
    EXPECT_EQ(value, uint32_t(BlendOp::RevSubtract));
    EXPECT_TRUE(ParseRenderStateValue(RenderState::ColorWriteEnable, "Red | Green | Blue", value, why));
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(ParseRenderStateValue(RenderState::ColorWriteEnable, "16", value, why));
}

}  // namespace
