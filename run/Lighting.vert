#version 430 core
// Directional sun, lit per vertex: hemispheric ambient, Lambert diffuse and a
// Blinn-Phong highlight. A software renderer pays for every pixel of the
// sand, and our meshes are fine enough that per-pixel lighting looks the same.
layout (location = 0) in vec3 aPos;
layout (location = 1) in vec3 aNormal;
layout (location = 2) in vec2 aTexCoords;

struct Material {
    float shininess;
};

struct Light {
    vec3 direction;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
};

out vec3 Lit;      // ambient and diffuse light, to be tinted by the diffuse map
out vec3 Shine;    // the highlight, to be scaled by the specular map
out vec2 TexCoords;

uniform mat4 model;
uniform mat4 view;
uniform mat4 projection;
uniform Material material;
uniform Light light;
uniform vec3 viewPos;

void main()
{
    vec4 worldPos = model * vec4(aPos, 1.0);
    // Inverse transpose keeps normals upright under non-uniform scales too.
    vec3 normal = transpose(inverse(mat3(model))) * aNormal;

    // Points and lines arrive with zero normals: light them as facing up.
    float normalLength = length(normal);
    vec3 n = normalLength > 1e-6 ? normal / normalLength : vec3(0.0, 1.0, 0.0);
    vec3 toLight = normalize(-light.direction);
    vec3 toViewer = normalize(viewPos - worldPos.xyz);

    // Warm sky light from above, darker sand bounce from below.
    float hemisphere = mix(0.75, 1.1, n.y * 0.5 + 0.5);
    float lambert = max(dot(n, toLight), 0.0);
    Lit = light.ambient * hemisphere + light.diffuse * lambert;

    vec3 halfway = normalize(toLight + toViewer);
    float highlight = lambert > 0.0 ? pow(max(dot(n, halfway), 0.0), max(material.shininess, 1.0)) : 0.0;
    Shine = light.specular * highlight;

    TexCoords = aTexCoords;
    gl_Position = projection * view * worldPos;
}
