#include "render/image.hpp"

#include <climits>
#include <fstream>
#include <iterator>

#include <stb/stb_image.h>

bool decodeImage(const unsigned char* data, std::size_t size, int channels, Image& out)
{
    out = Image{};
    if (size == 0 || size > static_cast<std::size_t>(INT_MAX))
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

bool readImageFile(const char* path, int channels, Image& out)
{
    out = Image{};
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file),
                                           std::istreambuf_iterator<char>()};
    return decodeImage(bytes.data(), bytes.size(), channels, out);
}

bool fitsSkyFace(const Image& face, int side)
{
    return face.width > 0 && face.width == face.height && (side == 0 || face.width == side);
}
