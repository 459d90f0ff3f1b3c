#version 430 core
// A point light over a surface whose colour and shine come from two maps.
struct Material {
    sampler2D diffuse;
    sampler2D specular;
    float shininess;
};

struct Light {
    vec3 position;
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

void main()
{
    vec3 albedo = texture(material.diffuse, TexCoords).rgb;
    vec3 shine = texture(material.specular, TexCoords).rgb;

    float normalLength = length(Normal);
    vec3 n = normalLength > 1e-6 ? Normal / normalLength : vec3(0.0, 1.0, 0.0);
    vec3 toLight = normalize(light.position - FragPos);
    vec3 toViewer = normalize(viewPos - FragPos);

    vec3 ambient = light.ambient * albedo;
    float lambert = max(dot(n, toLight), 0.0);
    vec3 diffuse = light.diffuse * lambert * albedo;

    vec3 halfway = normalize(toLight + toViewer);
    float highlight = lambert > 0.0 ? pow(max(dot(n, halfway), 0.0), max(material.shininess, 1.0)) : 0.0;
    vec3 specular = light.specular * highlight * shine;

    FragColor = vec4(min(ambient + diffuse + specular, vec3(1.0)), 1.0);
}
