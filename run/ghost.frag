#version 430 core
// Pale and see-through, brighter at the rim, where the eye grazes it.
out vec4 FragColor;

in vec3 Normal;
in vec3 FragPos;

uniform vec3 viewPos;

void main()
{
    vec3 toEye = normalize(viewPos - FragPos);
    float rim = 1.0 - abs(dot(normalize(Normal), toEye));
    vec3 colour = mix(vec3(0.80, 0.90, 1.00), vec3(1.0), rim);
    FragColor = vec4(colour, 0.30 + 0.35 * rim);
}
