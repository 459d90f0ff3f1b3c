#version 430 core
// Cel shading: flat-coloured texture, light in a few hard bands, a hard
// highlight and a dark rim along silhouettes.
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

const float levels = 5.0;

void main()
{
    vec4 albedo = texture(texture_diffuse1, TexCoords);
    // Posterised colour gives the flat, painted look even on flat ground.
    vec3 base = floor(albedo.rgb * levels + 0.5) / levels;
    vec3 specularMap = texture(texture_specular1, TexCoords).rgb;

    float normalLength = length(Normal);
    vec3 n = normalLength > 1e-6 ? Normal / normalLength : vec3(0.0, 1.0, 0.0);
    vec3 toLight = normalize(-light.direction);
    vec3 toViewer = normalize(viewPos - FragPos);

    float lambert = max(dot(n, toLight), 0.0);
    float band = lambert > 0.9 ? 1.0 : lambert > 0.55 ? 0.7 : lambert > 0.2 ? 0.4 : 0.15;

    vec3 halfway = normalize(toLight + toViewer);
    float highlight = pow(max(dot(n, halfway), 0.0), max(material.shininess, 1.0));
    float spot = lambert > 0.0 ? step(0.5, highlight) : 0.0;

    vec3 colour = light.ambient * base + light.diffuse * band * base * 1.6
                + light.specular * spot * max(specularMap, vec3(0.6));

    // Silhouette: surfaces seen edge-on turn dark. Up-facing surfaces (the
    // ground under a low camera) need a far flatter angle before they do.
    float edge = 1.0 - max(dot(n, toViewer), 0.0);
    float upness = clamp(n.y, 0.0, 1.0);
    float limit = mix(0.6, 1.01, upness * upness);
    if (edge > limit)
        colour *= 0.25;

    FragColor = vec4(min(colour, vec3(1.0)), albedo.a);
}
