// Modelshader.fx: enemies (with an outline), bullets and explosions (with emissive colour and
// fading). Emissive colour and outlines also go to the glow output, so they bloom.

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
uniform vec4 LightDir;
uniform vec4 LightColor;
uniform vec4 LightAmbient;
uniform vec4 LightSpeculer;
uniform vec4 CamPos;
uniform sampler2D MateDiffuseTex;
uniform vec4 MateDiffuse;
uniform vec4 MateSpecular;
uniform vec4 MateEmissive;
uniform float MateSpePower;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outGlow;
void main() {
    vec3 n = normalize(vNormal);
    if (!gl_FrontFacing) n = -n;
    vec3 toLight = -normalize(LightDir.xyz);
    float diffuse = max(dot(n, toLight), 0.0);
    vec3 toEye = normalize(CamPos.xyz - vWorldPos);
    vec3 halfway = normalize(toLight + toEye);
    float specular = MateSpePower > 0.0 ? pow(max(dot(n, halfway), 0.0), MateSpePower) : 0.0;
    vec4 texel = texture(MateDiffuseTex, vTexCoord);
    vec3 base = texel.rgb * MateDiffuse.rgb;
    vec3 color = base * (LightColor.rgb * diffuse + LightAmbient.rgb) + MateEmissive.rgb +
                 LightSpeculer.rgb * MateSpecular.rgb * specular;
    float alpha = texel.a * MateDiffuse.a;
    outColor = vec4(color, alpha);
    outGlow = vec4(MateEmissive.rgb * texel.rgb * 0.18, alpha);
}
end_shader

// The outline: the model's back faces, pushed out along their normals.
technique OutlineTech
pass
    CullMode = CW
vertex_shader
#version 330 core
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
uniform mat4 mW;
uniform mat4 mV;
uniform mat4 mP;
uniform float OutlineSize;
void main() {
    gl_Position = mP * mV * mW * vec4(inPosition + normalize(inNormal) * OutlineSize, 1.0);
}
end_shader
fragment_shader
#version 330 core
uniform vec4 OutlineColor;
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outGlow;
void main() {
    outColor = OutlineColor;
    outGlow = vec4(OutlineColor.rgb * 0.15, OutlineColor.a);
}
end_shader
