#version 430 core
// Small floating rocks: textured, lit by a fixed sun from above.
in vec3 Normal;
in vec2 TexCoords;

out vec4 FragColor;

uniform sampler2D texture_diffuse1;

const vec3 sunDirection = normalize(vec3(0.3, 1.0, 0.2));

void main()
{
    vec4 albedo = texture(texture_diffuse1, TexCoords);
    float normalLength = length(Normal);
    vec3 n = normalLength > 1e-6 ? Normal / normalLength : vec3(0.0, 1.0, 0.0);
    float light = 0.45 + 0.6 * max(dot(n, sunDirection), 0.0);
    FragColor = vec4(min(albedo.rgb * light, vec3(1.0)), 1.0);
}
