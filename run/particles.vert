#version 430 core
// One rock per instance; its model matrix arrives as attributes 3 to 6.
// Lit per vertex: a rock's facets are flat, so its three corners carry the
// same normal and the light is the same at every pixel of the facet.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec3 aNormal;
layout (location = 2) in vec2 aTexCoords;
layout (location = 3) in mat4 aInstanceMatrix;

out float Light;
out vec2 TexCoords;

uniform mat4 view;
uniform mat4 projection;

// A fixed sun from above.
const vec3 sunDirection = normalize(vec3(0.3, 1.0, 0.2));

void main()
{
    vec3 normal = mat3(aInstanceMatrix) * aNormal;
    float normalLength = length(normal);
    vec3 n = normalLength > 1e-6 ? normal / normalLength : vec3(0.0, 1.0, 0.0);
    Light = 0.45 + 0.6 * max(dot(n, sunDirection), 0.0);
    TexCoords = aTexCoords;
    // Matrix times vector, right to left: 60,000 vertices a frame.
    gl_Position = projection * (view * (aInstanceMatrix * vec4(aPos, 1.0)));
}
