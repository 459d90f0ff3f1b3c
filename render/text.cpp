#include "render/text.hpp"

#include <glad/gl.h>

#include "app/keyboard.hpp"
#include "render/glyphs.hpp"
#include "render/shader.hpp"

std::map<char, Character> Characters;
unsigned int textVAO = 0;
unsigned int textVBO = 0;

int buildGlyphTable() {
    std::vector<GlyphImage> glyphs;
    if (rasteriseGlyphs("../assets/fonts/arial.ttf", glyphs) != 0)
        return -1;

    // Glyph rows are tightly packed bytes; every later upload relies on this too.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);

    Characters.clear();
    for (const GlyphImage& glyph : glyphs) {
        unsigned int texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RED, glyph.size.x, glyph.size.y, 0, GL_RED,
                     GL_UNSIGNED_BYTE, glyph.coverage.empty() ? nullptr : glyph.coverage.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        Characters.insert({static_cast<char>(glyph.code),
                           Character{texture, glyph.size, glyph.bearing, glyph.advance}});
    }
    glBindTexture(GL_TEXTURE_2D, 0);

    glGenVertexArrays(1, &textVAO);
    glGenBuffers(1, &textVBO);
    glBindVertexArray(textVAO);
    glBindBuffer(GL_ARRAY_BUFFER, textVBO);
    glBufferData(GL_ARRAY_BUFFER, sizeof(float) * 6 * 4, nullptr, GL_DYNAMIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
    return 0;
}

float centredTextStart(const std::map<char, Character>& glyphs, std::string_view text, float x,
                       float scale) {
    int width = 0;
    for (char ch : text) {
        auto found = glyphs.find(ch);
        if (found == glyphs.end())
            continue; // a zero record adds nothing
        const Character& glyph = found->second;
        width = static_cast<int>(static_cast<float>(glyph.size.x) * scale +
                                 static_cast<float>(glyph.bearing.x) + static_cast<float>(width));
    }
    return x - static_cast<float>(width / 2);
}

void RenderText(Shader& shader, std::string text, float x, float y, float scale, glm::vec3 color,
                bool center) {
    renderTextView(shader, text, x, y, scale, color, center);
}

void renderTextView(Shader& shader, std::string_view text, float x, float y, float scale,
                    glm::vec3 color, bool center) {
    if (showHud)
        renderTextAlways(shader, text, x, y, scale, color, center);
}

void renderTextAlways(Shader& shader, std::string_view text, float x, float y, float scale,
                      glm::vec3 color, bool center) {
    shader.bind();
    shader.setUniformVec3("textColor", color);
    glActiveTexture(GL_TEXTURE0);
    glBindVertexArray(textVAO);

    if (center)
        x = centredTextStart(Characters, text, x, scale);

    for (char ch : text) {
        const Character& glyph = Characters[ch]; // unknown codes get a zero record
        float xpos = x + static_cast<float>(glyph.bearing.x) * scale;
        float ypos = y - static_cast<float>(glyph.size.y - glyph.bearing.y) * scale;
        float w = static_cast<float>(glyph.size.x) * scale;
        float h = static_cast<float>(glyph.size.y) * scale;
        // v is 0 at the top: the bitmap's first row is its top row.
        const float vertices[6][4] = {
            {xpos, ypos + h, 0.0f, 0.0f}, {xpos, ypos, 0.0f, 1.0f},
            {xpos + w, ypos, 1.0f, 1.0f}, {xpos, ypos + h, 0.0f, 0.0f},
            {xpos + w, ypos, 1.0f, 1.0f}, {xpos + w, ypos + h, 1.0f, 0.0f},
        };
        glBindTexture(GL_TEXTURE_2D, glyph.textureID);
        glBindBuffer(GL_ARRAY_BUFFER, textVBO);
        glBufferSubData(GL_ARRAY_BUFFER, 0, sizeof vertices, vertices);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        x += static_cast<float>(glyph.advance >> 6) * scale;
    }
    glBindVertexArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}
