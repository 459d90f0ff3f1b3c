// The glyph table from a font file: every glyph that comes out holds a
// bitmap of exactly its size, and metrics the text layout can use.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "check.hpp"
#include "quiet.hpp"
#include "render/glyphs.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    silenceConsole();
    std::vector<GlyphImage> glyphs;
    if (rasteriseGlyphs(data, size, glyphs) != 0) {
        FUZZ_CHECK(glyphs.empty());
        return 0;
    }
    FUZZ_CHECK(glyphs.size() <= 128);
    int last = -1;
    for (const GlyphImage& glyph : glyphs) {
        FUZZ_CHECK(glyph.code > last && glyph.code < 128);
        last = glyph.code;
        FUZZ_CHECK(glyph.size.x >= 0 && glyph.size.y >= 0);
        FUZZ_CHECK(glyph.coverage.size() ==
                   static_cast<std::size_t>(glyph.size.x) * static_cast<std::size_t>(glyph.size.y));
        // Nothing larger than a glyph may be: not its bitmap, nor the pen's
        // move to the next one.
        FUZZ_CHECK(glyph.size.x <= 512 && glyph.size.y <= 512);
        FUZZ_CHECK((glyph.advance >> 6) <= 512);
    }
    return 0;
}
