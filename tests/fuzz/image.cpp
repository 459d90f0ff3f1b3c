// Textures and sky faces: the decoder with the file's own channel count
// (as a texture loads), with three (as a sky face loads), and the face check.
#include <cstddef>
#include <cstdint>

#include "check.hpp"
#include "render/image.hpp"

namespace {

void checkImage(const Image& image, int asked) {
    FUZZ_CHECK(image.width > 0 && image.width <= maxImageSide);
    FUZZ_CHECK(image.height > 0 && image.height <= maxImageSide);
    FUZZ_CHECK(static_cast<long>(image.width) * image.height <= maxImagePixels);
    FUZZ_CHECK(image.channels >= 1 && image.channels <= 4);
    FUZZ_CHECK(asked == 0 || image.channels == asked);
    FUZZ_CHECK(image.pixels.size() == static_cast<std::size_t>(image.width) *
                                          static_cast<std::size_t>(image.height) *
                                          static_cast<std::size_t>(image.channels));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Image texture;
    if (decodeImage(data, size, 0, texture))
        checkImage(texture, 0);
    else
        FUZZ_CHECK(texture.pixels.empty() && texture.width == 0);

    Image face;
    if (decodeImage(data, size, 3, face)) {
        checkImage(face, 3);
        FUZZ_CHECK(face.width == texture.width && face.height == texture.height);
        if (fitsSkyFace(face, 0))
            FUZZ_CHECK(face.width == face.height && fitsSkyFace(face, face.width));
    }
    return 0;
}
