#include "image.hpp"

#include <algorithm>
#include <cmath>

#include <stb/stb_image_write.h>

namespace assetgen {

namespace {

int wrap(int i, int period) {
    if (period <= 0)
        return i;
    const int m = i % period;
    return m < 0 ? m + period : m;
}

float smooth(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

std::uint32_t hash(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    // A few rounds of multiply-xorshift mixing (after the murmur finaliser).
    std::uint32_t h = seed * 0x9E3779B9u;
    for (std::uint32_t k : {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                            static_cast<std::uint32_t>(z)}) {
        h ^= k * 0x85EBCA6Bu;
        h = (h << 13) | (h >> 19);
        h = h * 5u + 0xE6546B64u;
    }
    h ^= h >> 16;
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
    return h;
}

float hash01(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed) {
    return static_cast<float>(hash(x, y, z, seed) >> 8) / 16777216.0f;
}

float valueNoise(glm::vec2 p, int period, std::uint32_t seed) {
    const float fx = std::floor(p.x), fy = std::floor(p.y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const float tx = smooth(p.x - fx), ty = smooth(p.y - fy);
    auto at = [&](int dx, int dy) {
        return hash01(wrap(ix + dx, period), wrap(iy + dy, period), 0, seed);
    };
    const float a = glm::mix(at(0, 0), at(1, 0), tx);
    const float b = glm::mix(at(0, 1), at(1, 1), tx);
    return glm::mix(a, b, ty);
}

float valueNoise(glm::vec3 p, std::uint32_t seed) {
    const glm::vec3 f = glm::floor(p);
    const glm::ivec3 i(f);
    const glm::vec3 t{smooth(p.x - f.x), smooth(p.y - f.y), smooth(p.z - f.z)};
    auto at = [&](int dx, int dy, int dz) { return hash01(i.x + dx, i.y + dy, i.z + dz, seed); };
    const float x00 = glm::mix(at(0, 0, 0), at(1, 0, 0), t.x),
                x10 = glm::mix(at(0, 1, 0), at(1, 1, 0), t.x);
    const float x01 = glm::mix(at(0, 0, 1), at(1, 0, 1), t.x),
                x11 = glm::mix(at(0, 1, 1), at(1, 1, 1), t.x);
    return glm::mix(glm::mix(x00, x10, t.y), glm::mix(x01, x11, t.y), t.z);
}

float fbm(glm::vec2 p, int period, int octaves, float gain, std::uint32_t seed) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * valueNoise(p, period, seed + static_cast<std::uint32_t>(o) * 101u);
        total += weight;
        weight *= gain;
        p *= 2.0f;
        if (period > 0)
            period *= 2;
    }
    return sum / total;
}

float fbm(glm::vec3 p, int octaves, float gain, std::uint32_t seed) {
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int o = 0; o < octaves; ++o) {
        sum += weight * valueNoise(p, seed + static_cast<std::uint32_t>(o) * 101u);
        total += weight;
        weight *= gain;
        p = p * 2.0f + glm::vec3(17.3f, 5.1f, 9.7f); // shift so octaves do not line up
    }
    return sum / total;
}

glm::vec3 ramp(const std::vector<ColourStop>& stops, float t) {
    if (t <= stops.front().first)
        return stops.front().second;
    for (size_t i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            const float k = (t - stops[i - 1].first) / (stops[i].first - stops[i - 1].first);
            return glm::mix(stops[i - 1].second, stops[i].second, k);
        }
    }
    return stops.back().second;
}

void Image::set(int x, int y, glm::vec3 colour) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    for (int c = 0; c < 3; ++c) {
        pixels[i + c] =
            static_cast<std::uint8_t>(std::lround(std::clamp(colour[c], 0.0f, 1.0f) * 255.0f));
    }
}

glm::vec3 Image::get(int x, int y) const {
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return glm::vec3{pixels[i], pixels[i + 1], pixels[i + 2]} / 255.0f;
}

Image solid(int size, glm::vec3 colour) {
    return painted(size, size, [&](float, float) { return colour; });
}

Image flatSpecular(float strength) {
    return solid(1, glm::vec3{strength});
}

bool writePng(const std::string& path, const Image& image) {
    return stbi_write_png(path.c_str(), image.width, image.height, 3, image.pixels.data(),
                          image.width * 3) != 0;
}

bool writeJpg(const std::string& path, const Image& image, int quality) {
    return stbi_write_jpg(path.c_str(), image.width, image.height, 3, image.pixels.data(),
                          quality) != 0;
}

bool writeTga(const std::string& path, const Image& image) {
    stbi_write_tga_with_rle = 0; // plain, so any reader takes it
    return stbi_write_tga(path.c_str(), image.width, image.height, 3, image.pixels.data()) != 0;
}

} // namespace assetgen
