technique T
pass
CullMode = Up
vertex_shader
void main() {
