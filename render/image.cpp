#include "render/image.hpp"

#include <algorithm>
#include <climits>

#include <stb/stb_image.h>
#include <zlib.h>

#include "app/file_bytes.hpp"

namespace {

bool isPng(const unsigned char* data, std::size_t size) {
    static constexpr unsigned char signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    return size >= sizeof signature && std::equal(signature, signature + 8, data);
}

// stb_image sizes its buffer for a PNG's image data by the lengths its
// chunks claim, before reading them: 94 bytes claiming two gigabytes got
// two gigabytes. A chunk longer than what is left of the file is refused.
bool pngChunksFit(const unsigned char* data, std::size_t size) {
    if (!isPng(data, size))
        return true;
    for (std::size_t at = 8; at + 8 <= size;) {
        const std::size_t length = std::size_t{data[at]} << 24 | std::size_t{data[at + 1]} << 16 |
                                   std::size_t{data[at + 2]} << 8 | data[at + 3];
        if (length > size - at - 8)
            return false;
        at += 8 + length + 4; // length, type, data, checksum
    }
    return true;
}

// stb_image 2.27 takes the deflate distance codes 30 and 31, which do not
// exist, as a distance of 0 and copies bytes it has not written yet: the
// picture fills with whatever the heap held, and may decode or not from one
// run to the next. zlib reads the image data first, and a PNG whose data it
// calls corrupt is refused, as is one that inflates past the largest
// picture taken (16-bit RGBA, a filter byte a row): stb would hold it all.
// The chunks are known to fit (pngChunksFit).
bool pngDataInflates(const unsigned char* data, std::size_t size) {
    if (!isPng(data, size))
        return true;
    constexpr uLong mostData = maxImagePixels * 8 + 8L * maxImageSide;
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return false;
    unsigned char scratch[16384];
    int status = Z_OK;
    for (std::size_t at = 8; at + 8 <= size && status != Z_STREAM_END;) {
        const std::size_t length = std::size_t{data[at]} << 24 | std::size_t{data[at + 1]} << 16 |
                                   std::size_t{data[at + 2]} << 8 | data[at + 3];
        if (std::equal(data + at + 4, data + at + 8, "IEND"))
            break; // stb reads no further
        if (std::equal(data + at + 4, data + at + 8, "IDAT")) {
            stream.next_in = const_cast<unsigned char*>(data + at + 8);
            stream.avail_in = static_cast<uInt>(length);
            while (stream.avail_in > 0 && status == Z_OK) {
                stream.next_out = scratch;
                stream.avail_out = sizeof scratch;
                status = inflate(&stream, Z_NO_FLUSH);
                if (status == Z_BUF_ERROR)
                    status = Z_OK; // wants more input: the next chunk's
                if (stream.total_out > mostData)
                    status = Z_DATA_ERROR;
            }
            if (status != Z_OK && status != Z_STREAM_END)
                break;
        }
        at += 8 + length + 4;
    }
    inflateEnd(&stream);
    return status == Z_OK || status == Z_STREAM_END;
}

// stb_image 2.27 builds a JPEG Huffman table of as many codes as the table's
// sixteen counts add up to, into room for 256: a table claiming more writes
// past the decoder's own tables. The segments are walked the way the
// decoder walks them, and a file holding such a table is refused.
bool jpegHuffmanTablesFit(const unsigned char* data, std::size_t size) {
    if (size < 2 || data[0] != 0xFF || data[1] != 0xD8)
        return true; // not a JPEG
    // The decoder reads zeros past the end; so does the walk.
    const auto at = [&](std::size_t i) -> unsigned { return i < size ? data[i] : 0; };
    const auto length = [&](std::size_t i) { return at(i) << 8 | at(i + 1); };
    for (std::size_t pos = 2; pos < size;) {
        // A marker is 0xFF, any number of fill 0xFF, and its code.
        while (pos < size && data[pos] != 0xFF)
            ++pos;
        while (pos < size && data[pos] == 0xFF)
            ++pos;
        if (pos >= size)
            return true;
        const unsigned marker = data[pos++];
        if (marker == 0xD9) // end of image
            return true;
        if (marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8))
            continue; // no segment follows
        if (marker == 0xC4) {
            std::size_t table = pos + 2;
            for (long left = static_cast<long>(length(pos)) - 2; left > 0;) {
                unsigned codes = 0;
                for (std::size_t i = 1; i <= 16; ++i)
                    codes += at(table + i);
                if (codes > 256)
                    return false;
                table += 17 + codes;
                left -= 17 + static_cast<long>(codes);
            }
        }
        pos += length(pos);
        if (marker == 0xDA) {
            // Entropy-coded data follows the scan's header: a 0xFF in it is
            // followed by 0 or a restart code, up to the next marker.
            while (pos + 1 < size &&
                   !(data[pos] == 0xFF && data[pos + 1] != 0 && data[pos + 1] != 0xFF &&
                     (data[pos + 1] < 0xD0 || data[pos + 1] > 0xD7)))
                ++pos;
        }
    }
    return true;
}

// A TGA's pixels follow its header as they are, or in runs of at most 128
// pixels, each a byte and a pixel: a file too short for the pixels its
// header claims is refused. stb_image reads zeros past the end, so 23 bytes
// claiming twelve million pixels took it seconds to "decode".
bool tgaHoldsItsPixels(const unsigned char* data, std::size_t size) {
    const auto word = [&](std::size_t at) {
        return std::size_t{data[at]} | std::size_t{data[at + 1]} << 8;
    };
    const int type = data[2];
    const std::size_t mapBytes = data[1] == 1 ? word(5) * ((data[7] + 7u) / 8u) : 0;
    const std::size_t pixelBytes = (data[16] + 7u) / 8u;
    const std::size_t pixels = word(12) * word(14);
    const std::size_t packed =
        type >= 9 ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes;
    return size >= 18 + std::size_t{data[0]} + mapBytes + packed;
}

// The game ships PNG, JPEG and TGA pictures only. stb_image also decodes
// BMP, GIF, PSD, PIC, PNM and HDR, whose readers the game has no use for;
// such a file never reaches the decoder. A TGA has no signature, but its
// second byte (no colour map, or one) is one no other format's signature
// has, so stb's earlier tests cannot claim what passes here.
bool shippedFormat(const unsigned char* data, std::size_t size) {
    static constexpr unsigned char png[4] = {0x89, 'P', 'N', 'G'};
    if (size >= 4 && std::equal(png, png + 4, data))
        return true;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return true;
    if (size < 18 || data[1] > 1)
        return false;
    const int type = data[2], bits = data[16];
    const bool mapped = type == 1 || type == 9;
    const bool validType = mapped || type == 2 || type == 3 || type == 10 || type == 11;
    const bool validBits = mapped
                               ? bits == 8 || bits == 16
                               : bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
    return validType && validBits && (data[1] == 1) == mapped && tgaHoldsItsPixels(data, size);
}

} // namespace

bool decodeImage(const unsigned char* data, std::size_t size, int channels, Image& out) {
    out = Image{};
    if (size == 0 || size > static_cast<std::size_t>(INT_MAX) || !shippedFormat(data, size) ||
        !pngChunksFit(data, size) || !pngDataInflates(data, size) ||
        !jpegHuffmanTablesFit(data, size))
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
    std::vector<unsigned char> bytes;
    return readFileBytes(path, maxImageFileBytes, bytes) &&
           decodeImage(bytes.data(), bytes.size(), channels, out);
}

bool fitsSkyFace(const Image& face, int side) {
    return face.width > 0 && face.width == face.height && (side == 0 || face.width == side);
}
