technique T
pass
FogEnable = false
vertex_shader
v
end_shader
fragment_shader
f
end_shader
