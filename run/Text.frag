#version 430 core
// The glyph bitmap's red channel is its coverage; blending does the rest.
in vec2 TexCoords;

out vec4 FragColor;

layout (binding = 0) uniform sampler2D text;
uniform vec3 textColor;

void main()
{
    float coverage = texture(text, TexCoords).r;
    // An empty part of the quad must not write depth, or it would punch a
    // hole of clear colour into the scene drawn after the texts.
    if (coverage < 0.3)
        discard;
    FragColor = vec4(textColor, coverage);
}
