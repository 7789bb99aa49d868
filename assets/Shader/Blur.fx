// Blur.fx: the glow post-process. Quads arrive in clip space. "Normaltech" copies (or
// composites) a picture tinted by Color; the blur techniques spread each texel over the eleven
// texels -5..5 with the weights of a Gaussian of 4 texels (0.1199, 0.1162, 0.1058, 0.0905,
// 0.0727, 0.0549 from the middle out), read in six bilinear fetches: each fetch takes two
// neighbouring texels, the middle one shared by the two innermost. Every texel is covered, so a
// bright line gets a halo that falls off smoothly instead of rings. Three rounds of this give
// the halo its width; a wider Gaussian over the same texels flattens the top until 8-bit
// rounding puts small rings back. Reads are clamped to the picture, so glow never wraps round
// from the opposite edge.

technique Normaltech
pass
    ZEnable = false
    ZWriteEnable = false
    CullMode = None
vertex_shader
#version 330 core
layout(location = 0) in vec4 inPosition;
layout(location = 2) in vec2 inTexCoord;
out vec2 vTexCoord;
void main() {
    vTexCoord = inTexCoord;
    gl_Position = inPosition;
}
end_shader
fragment_shader
#version 330 core
in vec2 vTexCoord;
uniform sampler2D InputTex;
uniform vec4 Color;
layout(location = 0) out vec4 outColor;
void main() {
    outColor = texture(InputTex, vTexCoord) * Color;
}
end_shader

technique XBlurTech
pass
    ZEnable = false
    ZWriteEnable = false
    CullMode = None
vertex_shader
#version 330 core
layout(location = 0) in vec4 inPosition;
layout(location = 2) in vec2 inTexCoord;
out vec2 vTexCoord;
void main() {
    vTexCoord = inTexCoord;
    gl_Position = inPosition;
}
end_shader
fragment_shader
#version 330 core
in vec2 vTexCoord;
uniform sampler2D InputTex;
uniform vec4 TexelSize;
uniform vec4 Color;
layout(location = 0) out vec4 outColor;
vec4 Tap(float offset) {
    vec2 uv = vTexCoord + vec2(offset * TexelSize.x, 0.0);
    uv.x = clamp(uv.x, 0.5 * TexelSize.x, 1.0 - 0.5 * TexelSize.x);
    return texture(InputTex, uv);
}
void main() {
    // Offsets and weights of the three fetch pairs (texel pairs 0|1, 2|3, 4|5 each side).
    vec4 sum = (Tap(0.6596864) + Tap(-0.6596864)) * 0.1761276;
    sum += (Tap(2.4610168) + Tap(-2.4610168)) * 0.1962794;
    sum += (Tap(4.4301473) + Tap(-4.4301473)) * 0.1275930;
    outColor = sum * Color;
}
end_shader

technique YBlurTech
pass
    ZEnable = false
    ZWriteEnable = false
    CullMode = None
vertex_shader
#version 330 core
layout(location = 0) in vec4 inPosition;
layout(location = 2) in vec2 inTexCoord;
out vec2 vTexCoord;
void main() {
    vTexCoord = inTexCoord;
    gl_Position = inPosition;
}
end_shader
fragment_shader
#version 330 core
in vec2 vTexCoord;
uniform sampler2D InputTex;
uniform vec4 TexelSize;
uniform vec4 Color;
layout(location = 0) out vec4 outColor;
vec4 Tap(float offset) {
    vec2 uv = vTexCoord + vec2(0.0, offset * TexelSize.y);
    uv.y = clamp(uv.y, 0.5 * TexelSize.y, 1.0 - 0.5 * TexelSize.y);
    return texture(InputTex, uv);
}
void main() {
    // Offsets and weights of the three fetch pairs (texel pairs 0|1, 2|3, 4|5 each side).
    vec4 sum = (Tap(0.6596864) + Tap(-0.6596864)) * 0.1761276;
    sum += (Tap(2.4610168) + Tap(-2.4610168)) * 0.1962794;
    sum += (Tap(4.4301473) + Tap(-4.4301473)) * 0.1275930;
    outColor = sum * Color;
}
end_shader
