#pragma once
// On-screen text: a glyph table rasterised once by FreeType, drawn one
// textured quad per character in window pixels (origin bottom left).
#include <map>
#include <string>
#include <string_view>

#include <glm/glm.hpp>

class Shader;

struct Character {
    unsigned int textureID = 0; // coverage bitmap in the red channel
    glm::ivec2 size{0};         // bitmap width and rows
    glm::ivec2 bearing{0};      // left offset from the pen, top above the baseline
    unsigned int advance = 0;   // pen advance in 1/64 pixel
};

extern std::map<char, Character> Characters;
extern unsigned int textVAO;
extern unsigned int textVBO;

// Rasterises codes 0 to 127 of "../assets/fonts/arial.ttf" at 48 pixels and
// creates the quad buffer. Leaves the unpack alignment at 1 for good.
// Returns 0, or -1 after printing why the library or the font failed.
int buildGlyphTable();

// Where a string starts when centred on x: x less half the summed glyph
// widths and unscaled left bearings, each partial sum truncated. Codes
// without a glyph count as zero.
float centredTextStart(const std::map<char, Character>& glyphs, std::string_view text, float x,
                       float scale);

// Draws text with its baseline at y, from x (or centred on x); nothing at all
// while the HUD is switched off.
void RenderText(Shader& shader, std::string text, float x, float y, float scale, glm::vec3 color,
                bool center);

// The same without taking a copy of the text: the HUD draws every frame and
// its longer lines would otherwise cost a heap allocation each time.
void renderTextView(Shader& shader, std::string_view text, float x, float y, float scale,
                    glm::vec3 color, bool center);

// The same whether the HUD is on or off: for the one text a player must see
// even then.
void renderTextAlways(Shader& shader, std::string_view text, float x, float y, float scale,
                      glm::vec3 color, bool center);
