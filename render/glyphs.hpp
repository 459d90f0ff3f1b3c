#pragma once
// The glyph table's contents, rasterised by FreeType into plain bitmaps
// before any of them reaches OpenGL.
#include <cstddef>
#include <vector>

#include <glm/glm.hpp>

struct GlyphImage {
    int code = 0;
    glm::ivec2 size{0};                  // bitmap width and rows
    glm::ivec2 bearing{0};               // left offset from the pen, top above the baseline
    unsigned int advance = 0;            // pen advance in 1/64 pixel
    std::vector<unsigned char> coverage; // width * rows bytes, top row first
};

// The largest font file read; the game's is well under 1 MiB.
inline constexpr std::size_t maxFontFileBytes = std::size_t{16} << 20;

// Rasterises codes 0 to 127 of a TrueType font file (a regular file of at
// most maxFontFileBytes) at 48 pixels. Prints
// "ERROR::FREETYPE: Could not init FreeType Library" or
// "ERROR::FREETYPE: Failed to load font" and returns -1 when there is no
// table at all (any other kind of font included), and "ERROR::FREETYTPE: Failed to load Glyph" for
// each code left out of it; 0 otherwise.
int rasteriseGlyphs(const char* fontPath, std::vector<GlyphImage>& out);

// The same for a font file already in memory.
int rasteriseGlyphs(const unsigned char* data, std::size_t size, std::vector<GlyphImage>& out);
