// Fixed-function stand-in program and the shared program compiler.
#include "platform/gl/gl_fixed_function.hpp"

#include <vector>

#include "platform/render/render_device.hpp"

namespace platform {

namespace {

const char* kVertex = R"(#version 330 core
layout(location = 0) in vec4 inPosition;
layout(location = 1) in vec4 inColor;
layout(location = 2) in vec2 inTexCoord;
uniform int uMode;          // 0: transformed by uWvp, 1: pre-transformed pixels
uniform mat4 uWvp;
uniform vec2 uTargetSize;
out vec4 vColor;
out vec2 vTexCoord;
void main() {
    if (uMode == 0) {
        gl_Position = uWvp * vec4(inPosition.xyz, 1.0);
    } else {
        // Pixels of the render target: y down, z as given, rhw as 1/w.
        float w = inPosition.w != 0.0 ? 1.0 / inPosition.w : 1.0;
        vec2 ndc = vec2(inPosition.x / uTargetSize.x * 2.0 - 1.0, 1.0 - inPosition.y / uTargetSize.y * 2.0);
        gl_Position = vec4(ndc * w, inPosition.z * w, w);
    }
    vColor = inColor;
    vTexCoord = inTexCoord;
}
)";

const char* kFragment = R"(#version 330 core
in vec4 vColor;
in vec2 vTexCoord;
uniform sampler2D uTexture;
uniform bool uHasTexture;
uniform int uColorOp, uColorArg1, uColorArg2, uAlphaOp, uAlphaArg1, uAlphaArg2;
uniform int uAlphaFunc;
uniform float uAlphaRef;
layout(location = 0) out vec4 oColor;

vec4 Arg(int which, vec4 tex) {
    // 0 diffuse, 1 current (the diffuse at stage 0), 2 texture
    return which == 2 ? tex : vColor;
}
float Combine(int op, float a, float b) {
    if (op == 2) return a;        // select arg 1
    if (op == 3) return b;        // select arg 2
    if (op == 4) return a * b;    // modulate
    return b;                     // disabled: the diffuse passes through
}
bool Compare(int func, float a, float ref) {
    if (func == 1) return false;
    if (func == 2) return a < ref;
    if (func == 3) return a == ref;
    if (func == 4) return a <= ref;
    if (func == 5) return a > ref;
    if (func == 6) return a != ref;
    if (func == 7) return a >= ref;
    return true;
}
void main() {
    // An unbound stage reads as opaque white: an untextured quad shows its vertex colour.
    vec4 tex = uHasTexture ? texture(uTexture, vTexCoord) : vec4(1.0);
    vec4 c1 = Arg(uColorArg1, tex), c2 = Arg(uColorArg2, tex);
    vec4 a1 = Arg(uAlphaArg1, tex), a2 = Arg(uAlphaArg2, tex);
    vec3 rgb = vec3(Combine(uColorOp, c1.r, c2.r), Combine(uColorOp, c1.g, c2.g), Combine(uColorOp, c1.b, c2.b));
    float a = Combine(uAlphaOp, a1.a, a2.a);
    if (!Compare(uAlphaFunc, floor(a * 255.0 + 0.5), uAlphaRef)) discard;
    oColor = vec4(rgb, a);
}
)";

bool CompileStage(GLuint shader, const std::string& src, std::string* log) {
    const char* text = src.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (ok) return true;
    GLint len = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &len);
    std::vector<char> buf(len > 1 ? len : 1);
    glGetShaderInfoLog(shader, static_cast<GLsizei>(buf.size()), nullptr, buf.data());
    if (log) *log += buf.data();
    return false;
}

}  // namespace

GLuint CompileProgram(const std::string& vs, const std::string& fs, ProgramLog* log) {
    GLuint v = glCreateShader(GL_VERTEX_SHADER);
    GLuint f = glCreateShader(GL_FRAGMENT_SHADER);
    bool ok = CompileStage(v, vs, log ? &log->vertex : nullptr);
    ok = CompileStage(f, fs, log ? &log->fragment : nullptr) && ok;
    GLuint program = 0;
    if (ok) {
        program = glCreateProgram();
        glAttachShader(program, v);
        glAttachShader(program, f);
        glBindAttribLocation(program, 0, "inPosition");
        glBindAttribLocation(program, 1, "inNormal");
        glBindAttribLocation(program, 1, "inColor");
        glBindAttribLocation(program, 2, "inTexCoord");
        glBindFragDataLocation(program, 0, "oColor");
        glBindFragDataLocation(program, 1, "oGlow");
        glLinkProgram(program);
        GLint linked = 0;
        glGetProgramiv(program, GL_LINK_STATUS, &linked);
        if (!linked) {
            GLint len = 0;
            glGetProgramiv(program, GL_INFO_LOG_LENGTH, &len);
            std::vector<char> buf(len > 1 ? len : 1);
            glGetProgramInfoLog(program, static_cast<GLsizei>(buf.size()), nullptr, buf.data());
            if (log) log->link += buf.data();
            glDeleteProgram(program);
            program = 0;
        }
    }
    glDeleteShader(v);
    glDeleteShader(f);
    return program;
}

bool GlFixedFunction::Create(std::string* log) {
    ProgramLog programLog;
    program = CompileProgram(kVertex, kFragment, &programLog);
    if (log) *log = programLog.All();
    if (!program) return false;
    uMode = glGetUniformLocation(program, "uMode");
    uWvp = glGetUniformLocation(program, "uWvp");
    uTargetSize = glGetUniformLocation(program, "uTargetSize");
    uHasTexture = glGetUniformLocation(program, "uHasTexture");
    uTexture = glGetUniformLocation(program, "uTexture");
    uColorOp = glGetUniformLocation(program, "uColorOp");
    uColorArg1 = glGetUniformLocation(program, "uColorArg1");
    uColorArg2 = glGetUniformLocation(program, "uColorArg2");
    uAlphaOp = glGetUniformLocation(program, "uAlphaOp");
    uAlphaArg1 = glGetUniformLocation(program, "uAlphaArg1");
    uAlphaArg2 = glGetUniformLocation(program, "uAlphaArg2");
    uAlphaFunc = glGetUniformLocation(program, "uAlphaFunc");
    uAlphaRef = glGetUniformLocation(program, "uAlphaRef");
    return true;
}

void GlFixedFunction::Destroy() {
    if (program) glDeleteProgram(program);
    program = 0;
}

}  // namespace platform
