// Blur.fx: the glow post-process. Quads arrive in clip space. "Normaltech" copies (or
// composites) a picture tinted by Color; the blur techniques are a 9-tap Gaussian done in 5
// bilinear fetches per direction. Reads are clamped to the picture, so glow never wraps round
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
    // The taps stand twice as far apart as a plain 9-tap kernel: a wider, softer halo.
    vec4 sum = Tap(0.0) * 0.2270270270;
    sum += (Tap(2.7692307692) + Tap(-2.7692307692)) * 0.3162162162;
    sum += (Tap(6.4615384616) + Tap(-6.4615384616)) * 0.0702702703;
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
    // The taps stand twice as far apart as a plain 9-tap kernel: a wider, softer halo.
    vec4 sum = Tap(0.0) * 0.2270270270;
    sum += (Tap(2.7692307692) + Tap(-2.7692307692)) * 0.3162162162;
    sum += (Tap(6.4615384616) + Tap(-6.4615384616)) * 0.0702702703;
    outColor = sum * Color;
}
end_shader
