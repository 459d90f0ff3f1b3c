#version 430 core
// Directional sun: hemispheric ambient, Lambert diffuse and Blinn-Phong
// highlights, coloured by the diffuse and specular maps.
struct Material {
    float shininess;
};

struct Light {
    vec3 direction;
    vec3 ambient;
    vec3 diffuse;
    vec3 specular;
};

in vec3 FragPos;
in vec3 Normal;
in vec2 TexCoords;

out vec4 FragColor;

uniform Material material;
uniform Light light;
uniform vec3 viewPos;
uniform sampler2D texture_diffuse1;
uniform sampler2D texture_specular1;

void main()
{
    vec4 albedo = texture(texture_diffuse1, TexCoords);
    vec3 specularMap = texture(texture_specular1, TexCoords).rgb;

    // Points and lines arrive with zero normals: light them as facing up.
    float normalLength = length(Normal);
    vec3 n = normalLength > 1e-6 ? Normal / normalLength : vec3(0.0, 1.0, 0.0);
    vec3 toLight = normalize(-light.direction);
    vec3 toViewer = normalize(viewPos - FragPos);

    // Warm sky light from above, darker sand bounce from below.
    float hemisphere = mix(0.75, 1.1, n.y * 0.5 + 0.5);
    vec3 ambient = light.ambient * hemisphere * albedo.rgb;

    float lambert = max(dot(n, toLight), 0.0);
    vec3 diffuse = light.diffuse * lambert * albedo.rgb;

    vec3 halfway = normalize(toLight + toViewer);
    float highlight = lambert > 0.0 ? pow(max(dot(n, halfway), 0.0), max(material.shininess, 1.0)) : 0.0;
    vec3 specular = light.specular * highlight * specularMap;

    FragColor = vec4(min(ambient + diffuse + specular, vec3(1.0)), albedo.a);
}
