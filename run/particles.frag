#version 430 core
// Small floating rocks: textured, lit by the vertex stage.
in float Light;
in vec2 TexCoords;

out vec4 FragColor;

uniform sampler2D texture_diffuse1;

void main()
{
    vec4 albedo = texture(texture_diffuse1, TexCoords);
    FragColor = vec4(min(albedo.rgb * Light, vec3(1.0)), 1.0);
}
