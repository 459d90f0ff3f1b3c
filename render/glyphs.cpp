#include "render/glyphs.hpp"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iostream>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_MODULE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H

#include "app/file_bytes.hpp"

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

// The game ships a TrueType font. FreeType also reads CFF, Type 1, BDF,
// PCF and more, whose readers the game has no use for: the face is opened
// by the TrueType driver alone, and one without TrueType outlines (an
// OpenType font of CFF outlines) is refused before any glyph is loaded.
// That driver also unpacks WOFF and WOFF2 fonts and opens collections as
// it opens the face, so the file must begin as a plain TrueType file does.
FT_Error openTrueType(FT_Library library, const unsigned char* data, std::size_t size,
                      FT_Face* face) {
    if (size < 4 || (std::memcmp(data, "\0\1\0\0", 4) != 0 && std::memcmp(data, "true", 4) != 0))
        return FT_Err_Unknown_File_Format;
    FT_Open_Args args{};
    args.flags = FT_OPEN_MEMORY | FT_OPEN_DRIVER;
    args.memory_base = data;
    args.memory_size = static_cast<FT_Long>(size);
    args.driver = FT_Get_Module(library, "truetype");
    if (args.driver == nullptr || size > static_cast<std::size_t>(LONG_MAX))
        return FT_Err_Missing_Module;
    FT_Error error = FT_Open_Face(library, &args, 0, face);
    FT_ULong glyphTable = 0;
    if (error == 0 && FT_Load_Sfnt_Table(*face, TTAG_glyf, 0, nullptr, &glyphTable) != 0) {
        FT_Done_Face(*face);
        error = FT_Err_Unknown_File_Format;
    }
    return error;
}

} // namespace

int rasteriseGlyphs(const unsigned char* data, std::size_t size, std::vector<GlyphImage>& out) {
    out.clear();
    FT_Library library;
    if (FT_Init_FreeType(&library)) {
        std::cout << "ERROR::FREETYPE: Could not init FreeType Library" << std::endl;
        return -1;
    }
    FT_Face face;
    if (openTrueType(library, data, size, &face)) {
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        FT_Done_FreeType(library);
        return -1;
    }
    rasterise(library, face, out);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return 0;
}

int rasteriseGlyphs(const char* fontPath, std::vector<GlyphImage>& out) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(fontPath, maxFontFileBytes, bytes)) {
        out.clear();
        std::cout << "ERROR::FREETYPE: Failed to load font" << std::endl;
        return -1;
    }
    return rasteriseGlyphs(bytes.data(), bytes.size(), out);
}
