#include "render/glyphs.hpp"

#include <algorithm>
#include <iostream>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_OUTLINE_H

namespace {

// At 48 pixels a real glyph is a few dozen wide. A forged outline can ask
// for a bitmap of thousands on a side, which takes seconds to render and
// as much texture memory, or a pen advance that throws the rest of a line
// off the screen; such a glyph is left out like one that failed.
constexpr int maxGlyphSide = 512;

bool withinSize(FT_GlyphSlot slot) {
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        FT_BBox box;
        FT_Outline_Get_CBox(&slot->outline, &box);
        const double side = 64.0 * maxGlyphSide; // 26.6 fixed point
        return static_cast<double>(box.xMax) - static_cast<double>(box.xMin) <= side &&
               static_cast<double>(box.yMax) - static_cast<double>(box.yMin) <= side;
    }
    return true; // a bitmap already made is checked once rendered
}

// One coverage byte per pixel, top row first, whatever the bitmap's own
// layout: a rendered outline has grey bytes in padded rows, an embedded
// bitmap may have one bit per pixel.
bool copyCoverage(FT_Library library, const FT_Bitmap& bitmap, std::vector<unsigned char>& out) {
    const std::size_t width = bitmap.width, rows = bitmap.rows;
    out.assign(width * rows, 0);
    if (out.empty())
        return true;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256 &&
        bitmap.pitch >= static_cast<int>(width)) {
        for (std::size_t row = 0; row < rows; ++row)
            std::copy_n(bitmap.buffer + row * static_cast<std::size_t>(bitmap.pitch), width,
                        out.begin() + static_cast<std::ptrdiff_t>(row * width));
        return true;
    }
    FT_Bitmap grey;
    FT_Bitmap_Init(&grey);
    const bool converted = FT_Bitmap_Convert(library, &bitmap, &grey, 1) == 0 &&
                           grey.width == bitmap.width && grey.rows == bitmap.rows &&
                           grey.num_grays >= 2;
    if (converted) {
        const int top = grey.num_grays - 1;
        for (std::size_t row = 0; row < rows; ++row)
            for (std::size_t x = 0; x < width; ++x) {
                const int level = grey.buffer[row * static_cast<std::size_t>(grey.pitch) + x];
                out[row * width + x] = static_cast<unsigned char>(std::min(level, top) * 255 / top);
            }
    }
    FT_Bitmap_Done(library, &grey);
    return converted;
}

void rasterise(FT_Library library, FT_Face face, std::vector<GlyphImage>& out) {
    FT_Set_Pixel_Sizes(face, 0, 48);
    for (int c = 0; c < 128; ++c) {
        // Loading and rendering as two steps lets an oversized outline be
        // refused before it is drawn.
        const FT_GlyphSlot slot = face->glyph;
        GlyphImage glyph;
        const bool loaded = FT_Load_Char(face, static_cast<FT_ULong>(c), FT_LOAD_DEFAULT) == 0 &&
                            withinSize(slot) && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0 &&
                            slot->bitmap.width <= maxGlyphSide &&
                            slot->bitmap.rows <= maxGlyphSide &&
                            slot->advance.x <= 64L * maxGlyphSide &&
                            copyCoverage(library, slot->bitmap, glyph.coverage);
        if (!loaded) {
            std::cout << "ERROR::FREETYTPE: Failed to load Glyph" << std::endl;
            continue;
        }
        glyph.code = c;
        glyph.size = {static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows)};
        glyph.bearing = {slot->bitmap_left, slot->bitmap_top};
        // A negative advance would wrap to millions of pixels; the pen stands.
        glyph.advance = slot->advance.x > 0 ? static_cast<unsigned int>(slot->advance.x) : 0;
        out.push_back(std::move(glyph));
    }
}

// Opens the face one way or the other, then rasterises it.
template <typename Open> int rasteriseWith(Open open, std::vector<GlyphImage>& out) {
    out.clear();
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << std::endl;
        return -1;
    }
    FT_Face face;
    if (open(library, &face)) {
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        FT_Done_FreeType(library);
        return -1;
    }
    rasterise(library, face, out);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}

} // namespace

int rasteriseGlyphs(const char* fontPath, std::vector<GlyphImage>& out) {
    return rasteriseWith(
        [&](FT_Library library, FT_Face* face) { return FT_New_Face(library, fontPath, 0, face); },
        out);
}

int rasteriseGlyphs(const unsigned char* data, std::size_t size, std::vector<GlyphImage>& out) {
    return rasteriseWith(
        [&](FT_Library library, FT_Face* face) {
            return FT_New_Memory_Face(library, data, static_cast<FT_Long>(size), 0, face);
        },
        out);
}
