// The built-in program that stands in for the fixed-function pipeline: HudVertex quads through
// world x view x projection, and pre-transformed quads in pixels; colour = stage 0 texture
// combined with the diffuse colour by the stage's ops; alpha test.
#pragma once

#include <epoxy/gl.h>

#include <string>

namespace platform {

struct GlFixedFunction {
    GLuint program = 0;
    GLint uMode = -1, uWvp = -1, uTargetSize = -1, uHasTexture = -1, uTexture = -1;
    GLint uColorOp = -1, uColorArg1 = -1, uColorArg2 = -1, uAlphaOp = -1, uAlphaArg1 = -1, uAlphaArg2 = -1;
    GLint uAlphaFunc = -1, uAlphaRef = -1;

    bool Create(std::string* log);
    void Destroy();
};

// Compiles and links a vertex and fragment shader, binding the mesh attributes to locations
// 0 (position), 1 (normal or colour), 2 (texture coordinate) and the outputs to 0 (colour) and
// 1 (glow). 0 and the compiler's text on failure.
struct ProgramLog;
GLuint CompileProgram(const std::string& vs, const std::string& fs, ProgramLog* log);

}  // namespace platform
