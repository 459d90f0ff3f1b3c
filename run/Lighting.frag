#version 430 core
// The vertex stage lit the surface; here the two maps colour it.
in vec3 Lit;
in vec3 Shine;
in vec2 TexCoords;

out vec4 FragColor;

uniform sampler2D texture_diffuse1;
uniform sampler2D texture_specular1;

void main()
{
    vec4 albedo = texture(texture_diffuse1, TexCoords);
    vec3 specularMap = texture(texture_specular1, TexCoords).rgb;
    FragColor = vec4(min(Lit * albedo.rgb + Shine * specularMap, vec3(1.0)), albedo.a);
}
