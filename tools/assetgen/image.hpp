#pragma once
// RGB images and the noise they are painted with. All noise is hashed from
// integer lattice points with a fixed seed, so every run paints the same.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

std::uint32_t hash(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed);
// Hash to [0, 1).
float hash01(std::int32_t x, std::int32_t y, std::int32_t z, std::uint32_t seed);

// Value noise in [0, 1]. The 2-D form wraps with the given period (in
// lattice cells) so that textures tile; period 0 means no wrap.
float valueNoise(glm::vec2 p, int period, std::uint32_t seed);
float valueNoise(glm::vec3 p, std::uint32_t seed);
// Fractal sum of octaves, each twice the frequency and `gain` the weight;
// normalised to [0, 1].
float fbm(glm::vec2 p, int period, int octaves, float gain, std::uint32_t seed);
float fbm(glm::vec3 p, int octaves, float gain, std::uint32_t seed);

// Piecewise-linear colour ramp over sorted stops.
using ColourStop = std::pair<float, glm::vec3>;
glm::vec3 ramp(const std::vector<ColourStop>& stops, float t);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // RGB, first row first

    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 3, 0) {}
    void set(int x, int y, glm::vec3 colour); // colour in [0, 1], clamped
    glm::vec3 get(int x, int y) const;
    // Paints every pixel from f(u, v) with u, v the pixel centre in [0, 1).
    template <typename F> void paint(F f) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                set(x, y,
                    f((static_cast<float>(x) + 0.5f) / static_cast<float>(width),
                      (static_cast<float>(y) + 0.5f) / static_cast<float>(height)));
    }
};

// A new image of the given size, painted from f(u, v) as Image::paint does.
template <typename F> Image painted(int width, int height, F f) {
    Image image(width, height);
    image.paint(f);
    return image;
}

Image solid(int size, glm::vec3 colour);
// The specular map of a surface that shines evenly: one texel, the cheapest
// map a software renderer can sample, and named so no stale map lights it.
Image flatSpecular(float strength);

// Writers; each returns false when the file could not be written.
bool writePng(const std::string& path, const Image& image);
bool writeJpg(const std::string& path, const Image& image, int quality);
bool writeTga(const std::string& path, const Image& image);

} // namespace assetgen
