// The desert floor: flat where the game is played, dunes beyond its edge.
#include <cmath>

#include <glm/gtc/constants.hpp>

#include "generators.hpp"
#include "image.hpp"
#include "obj_writer.hpp"

namespace assetgen {

namespace {

constexpr float levelHalf = 45.0f; // the playable square stays flat
constexpr float tileSize = 2.0f;   // model units per repeat of the sand texture

// Grid lines: coarse over the flat level (the texture carries the detail),
// denser outside where the dunes need shape.
std::vector<float> gridLines() {
    const std::vector<float> outer = {48, 52, 57, 63, 70, 78, 88, 100, 115, 135, 160};
    std::vector<float> lines;
    for (auto it = outer.rbegin(); it != outer.rend(); ++it)
        lines.push_back(-*it);
    for (int i = 0; i <= 9; ++i)
        lines.push_back(-levelHalf + 10.0f * static_cast<float>(i));
    for (float o : outer)
        lines.push_back(o);
    return lines;
}

float duneHeight(float x, float z) {
    const float beyond = std::max(std::abs(x), std::abs(z)) - levelHalf;
    if (beyond <= 0.0f)
        return 0.0f;
    const float rise = glm::smoothstep(0.0f, 35.0f, beyond);
    // Ridged noise gives dunes crests rather than round hills.
    const float n = fbm(glm::vec2{x, z} / 28.0f, 0, 3, 0.5f, 4101u);
    const float crest = 1.0f - std::abs(2.0f * n - 1.0f);
    return rise * (0.8f + 7.0f * crest * crest);
}

Image sandTexture() {
    return painted(512, 512, [](float u, float v) {
        const glm::vec2 p{u, v};
        // Wind ripples: bands across v, their phase bent by noise; the
        // slope facing the wind is lit, the lee side darker.
        const float warp = fbm(p * 4.0f, 4, 3, 0.5f, 11u);
        const float phase = 16.0f * v + 2.2f * warp + 1.0f * u; // whole cycles, so the tile wraps
        const float wave = std::sin(glm::two_pi<float>() * phase);
        const float ripple = wave > 0.0f ? 0.06f * wave : 0.1f * wave;
        const float mottling = fbm(p * 8.0f, 8, 4, 0.55f, 23u) - 0.5f;
        glm::vec3 colour = ramp({{0.0f, {0.78f, 0.60f, 0.40f}},
                                 {0.5f, {0.89f, 0.74f, 0.53f}},
                                 {1.0f, {0.96f, 0.86f, 0.67f}}},
                                0.5f + 0.7f * mottling + ripple * 1.3f);
        // Speckles: single grains, darker and brighter than the sand.
        const int gx = static_cast<int>(u * 512.0f), gy = static_cast<int>(v * 512.0f);
        const float grain = hash01(gx, gy, 0, 37u);
        if (grain < 0.025f)
            colour *= 0.72f;
        else if (grain > 0.985f)
            colour = glm::mix(colour, glm::vec3{1.0f, 0.97f, 0.9f}, 0.6f);
        else
            colour *= 0.96f + 0.08f * hash01(gx, gy, 1, 41u);
        return colour;
    });
}

} // namespace

bool makeDesert(const std::string& objects) {
    const std::vector<float> lines = gridLines();
    const int n = static_cast<int>(lines.size());
    Mesh ground;
    for (int j = 0; j < n; ++j) {
        for (int i = 0; i < n; ++i) {
            const float x = lines[i], z = lines[j];
            // v grows with -z so the texture is not mirrored seen from above.
            ground.vertices.push_back(
                {{x, duneHeight(x, z), z}, {0, 1, 0}, {x / tileSize, -z / tileSize}});
        }
    }
    for (int j = 0; j + 1 < n; ++j) {
        for (int i = 0; i + 1 < n; ++i) {
            const unsigned a = static_cast<unsigned>(j * n + i), b = a + 1,
                           c = a + static_cast<unsigned>(n), d = c + 1;
            ground.triangles.push_back({a, c, b}); // counter-clockwise from above
            ground.triangles.push_back({b, c, d});
        }
    }
    smoothNormals(ground);
    // The level itself is flat: keep its normals straight up so the edge
    // vertices do not lean toward the first dune.
    for (Vertex& v : ground.vertices) {
        if (std::abs(v.position.x) <= levelHalf && std::abs(v.position.z) <= levelHalf)
            v.normal = {0, 1, 0};
    }
    Model model;
    model.materials.push_back({"sand", "sand.png", "sand_spec.png", glm::vec3{0.05f}, 4.0f});
    model.add("sand", ground);
    return writeObj(objects + "/map", "boden1", model) &&
           writePng(objects + "/map/sand.png", sandTexture()) &&
           writePng(objects + "/map/sand_spec.png", flatSpecular(0.05f));
}

} // namespace assetgen
