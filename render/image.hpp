#pragma once
// Image files decoded with stb_image into plain pixels, before any of them
// reaches OpenGL: textures and the sky's faces read through here.
#include <cstddef>
#include <vector>

struct Image {
    int width = 0;
    int height = 0;
    int channels = 0;                  // 1 grey, 2 grey and alpha, 3 RGB, 4 RGBA
    std::vector<unsigned char> pixels; // rows top first, tightly packed
};

// No OpenGL 4.3 context has to take a texture larger than this on a side.
inline constexpr int maxImageSide = 16384;
// The game's pictures are 512 pixels a side at most. A forged header of a few
// bytes can claim hundreds of millions, which the decoder then allocates and
// fills for seconds; the limit is checked before the decode.
inline constexpr long maxImagePixels = 4096L * 4096L;

// The largest picture file read; the game's are below 1 MiB.
inline constexpr std::size_t maxImageFileBytes = std::size_t{16} << 20;

// Decodes PNG, JPEG and TGA, and refuses the other formats stb_image knows
// before decoding them. channels 0
// keeps the file's own count; 1 to 4 asks for exactly that many. Fails on
// anything undecodable or too large, leaving out empty.
bool decodeImage(const unsigned char* data, std::size_t size, int channels, Image& out);

// The same for a file on disk: a regular file of at most maxImageFileBytes.
bool readImageFile(const char* path, int channels, Image& out);

// Whether a decoded image can be one face of a cube map next to faces of
// the given side (0 when it is the first): square, and the same size.
bool fitsSkyFace(const Image& face, int side);
