#include "render/image.hpp"

#include <algorithm>
#include <climits>
#include <fstream>
#include <iterator>

#include <stb/stb_image.h>

namespace {

// stb_image sizes its buffer for a PNG's image data by the lengths its
// chunks claim, before reading them: 94 bytes claiming two gigabytes got
// two gigabytes. A chunk longer than what is left of the file is refused.
bool pngChunksFit(const unsigned char* data, std::size_t size) {
    static constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (size < sizeof signature || !std::equal(signature, signature + 8, data))
        return true; // not a PNG
    for (std::size_t at = sizeof signature; at + 8 <= size;) {
        const std::size_t length = std::size_t{data[at]} << 24 | std::size_t{data[at + 1]} << 16 |
                                   std::size_t{data[at + 2]} << 8 | data[at + 3];
        if (length > size - at - 8)
            return false;
        at += 8 + length + 4; // length, type, data, checksum
    }
    return true;
}

} // namespace

bool decodeImage(const unsigned char* data, std::size_t size, int channels, Image& out) {
    out = Image{};
    if (size == 0 || size > static_cast<std::size_t>(INT_MAX) || !pngChunksFit(data, size))
        return false;
    const int length = static_cast<int>(size);
    int width = 0, height = 0, fileChannels = 0;
    if (!stbi_info_from_memory(data, length, &width, &height, &fileChannels) || width <= 0 ||
        height <= 0 || width > maxImageSide || height > maxImageSide ||
        static_cast<long>(width) * height > maxImagePixels)
        return false;
    unsigned char* pixels =
        stbi_load_from_memory(data, length, &width, &height, &fileChannels, channels);
    if (!pixels)
        return false;
    out.width = width;
    out.height = height;
    out.channels = channels != 0 ? channels : fileChannels;
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                              static_cast<std::size_t>(out.channels);
    out.pixels.assign(pixels, pixels + bytes);
    stbi_image_free(pixels);
    return true;
}

bool readImageFile(const char* path, int channels, Image& out) {
    out = Image{};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file),
                                           std::istreambuf_iterator<char>()};
    return decodeImage(bytes.data(), bytes.size(), channels, out);
}

bool fitsSkyFace(const Image& face, int side) {
    return face.width > 0 && face.width == face.height && (side == 0 || face.width == side);
}
