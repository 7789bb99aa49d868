// Simple.fx: the plain lit effect for the course, characters, gun, gates and title models.
// Per-pixel light 0 (diffuse + ambient), Blinn-Phong highlights, and a glow output for the
// brightest, most saturated texels (neon lines and lamps) so they bloom after the blur.

technique Tech
pass
vertex_shader
#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexCoord;
uniform mat4 mW;
uniform mat4 mV;
uniform mat4 mP;
out vec3 vWorldPos;
out vec3 vNormal;
out vec2 vTexCoord;
void main() {
    vec4 world = mW * vec4(inPosition, 1.0);
    vWorldPos = world.xyz;
    vNormal = mat3(mW) * inNormal;
    vTexCoord = inTexCoord;
    gl_Position = mP * mV * world;
}
end_shader
fragment_shader
#version 330 core
in vec3 vWorldPos;
in vec3 vNormal;
in vec2 vTexCoord;
uniform vec3 LightDir;
uniform vec4 LightColor;
uniform vec4 LightAmbient;
uniform vec4 LightSpecular;
uniform vec3 CamPos;
uniform sampler2D MateDiffuseTex;
uniform vec4 MateDiffuse;
uniform vec4 MateSpecular;
uniform float MateSpePower;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outGlow;
void main() {
    vec3 n = normalize(vNormal);
    vec3 toLight = -normalize(LightDir);
    // Both sides of thin geometry are lit.
    if (!gl_FrontFacing) n = -n;
    float diffuse = max(dot(n, toLight), 0.0);
    vec3 toEye = normalize(CamPos - vWorldPos);
    vec3 halfway = normalize(toLight + toEye);
    float specular = MateSpePower > 0.0 ? pow(max(dot(n, halfway), 0.0), MateSpePower) : 0.0;
    vec4 texel = texture(MateDiffuseTex, vTexCoord);
    vec3 base = texel.rgb * MateDiffuse.rgb;
    vec3 color = base * (LightColor.rgb * diffuse + LightAmbient.rgb) + LightSpecular.rgb * MateSpecular.rgb * specular;
    float alpha = texel.a * MateDiffuse.a;
    outColor = vec4(color, alpha);
    float peak = max(base.r, max(base.g, base.b));
    float saturation = peak - min(base.r, min(base.g, base.b));
    outGlow = vec4(base * smoothstep(0.7, 1.0, peak) * smoothstep(0.3, 0.6, saturation) * 0.12, alpha);
}
end_shader
