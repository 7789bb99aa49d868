// A lit model.
technique Tech
pass P0
    CullMode = CCW
    ZWriteEnable = true
    SrcBlend = SrcAlpha
    DestBlend = InvSrcAlpha
vertex_shader
#version 330 core
layout(location = 0) in vec3 inPosition;
uniform mat4 mW, mV, mP;
void main() { gl_Position = mP * mV * mW * vec4(inPosition, 1.0); }
end_shader
fragment_shader
#version 330 core
layout(location = 0) out vec4 outColor;
layout(location = 1) out vec4 outGlow;
uniform vec4 MateDiffuse;
void main() { outColor = MateDiffuse; outGlow = vec4(0.0); }
end_shader

technique OutlineTech
pass
    CullMode = CW
    ColorWriteEnable = Red|Green|Blue|Alpha
    AlphaRef = 0x10
    ZFunc = LessEqual
    BlendOp = Add
vertex_shader
#version 330 core
void main() {}
end_shader
fragment_shader
#version 330 core
void main() {}
end_shader
