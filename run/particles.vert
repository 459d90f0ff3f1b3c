#version 430 core
// One rock per instance; its model matrix arrives as attributes 3 to 6.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec3 aNormal;
layout (location = 2) in vec2 aTexCoords;
layout (location = 3) in mat4 aInstanceMatrix;

out vec3 Normal;
out vec2 TexCoords;

uniform mat4 view;
uniform mat4 projection;

void main()
{
    Normal = mat3(aInstanceMatrix) * aNormal;
    TexCoords = aTexCoords;
    // Matrix times vector, right to left: 60,000 vertices a frame.
    gl_Position = projection * (view * (aInstanceMatrix * vec4(aPos, 1.0)));
}
