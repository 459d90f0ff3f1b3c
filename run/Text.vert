#version 430 core
// One glyph quad in window pixels: xy position, zw texture coordinate.
layout (location = 0) in vec4 vertex;

out vec2 TexCoords;

uniform mat4 projection;

void main()
{
    gl_Position = projection * vec4(vertex.xy, 0.0, 1.0);
    // Texts are drawn before the scene with depth testing on: put them on the
    // near plane so nothing of the scene covers them.
    gl_Position.z = -gl_Position.w;
    TexCoords = vertex.zw;
}
