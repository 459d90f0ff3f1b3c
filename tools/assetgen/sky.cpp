// The desert sky box: one environment function of direction, rendered into
// the six cube faces with OpenGL's face orientation so the faces join.
#include <array>
#include <cmath>

#include <glm/gtc/constants.hpp>

#include "generators.hpp"
#include "image.hpp"

namespace assetgen {

namespace {

constexpr int faceSize = 512;

// Low in the sky ahead and a little to the right of the start view (+X, with
// +Z on the right), so the player sees it from the first frame.
const glm::vec3 sunDirection = glm::normalize(glm::vec3{0.90f, 0.27f, 0.34f});

// Elevation (radians) of a ring of dunes at an azimuth; noise taken on a
// circle so the ring closes on itself.
float duneRidge(float azimuth, float radius, float base, float amplitude, std::uint32_t seed) {
    const glm::vec3 p{std::cos(azimuth) * radius, std::sin(azimuth) * radius, 0.5f};
    const float n = fbm(p, 4, 0.5f, seed);
    const float crest = 1.0f - std::abs(2.0f * n - 1.0f);
    return base + amplitude * crest * crest;
}

glm::vec3 skyColour(glm::vec3 d) {
    const float up = std::max(d.y, 0.0f);
    const glm::vec3 zenith{0.16f, 0.38f, 0.72f};
    const glm::vec3 mid{0.42f, 0.62f, 0.86f};
    const glm::vec3 haze{0.93f, 0.86f, 0.74f};
    glm::vec3 sky = up < 0.25f ? glm::mix(haze, mid, glm::smoothstep(0.0f, 0.25f, up))
                               : glm::mix(mid, zenith, glm::smoothstep(0.25f, 1.0f, up));
    // Thin high cirrus, streaked along the wind.
    if (d.y > 0.01f) {
        const glm::vec2 plane = glm::vec2{d.x, d.z} / (d.y + 0.12f);
        const float n = fbm(glm::vec3{plane.x * 0.8f, plane.y * 2.4f, 3.0f}, 5, 0.55f, 811u);
        const float cloud =
            glm::smoothstep(0.52f, 0.74f, n) * glm::smoothstep(0.01f, 0.2f, d.y) * 0.55f;
        sky = glm::mix(sky, glm::vec3{1.0f, 0.97f, 0.92f}, cloud);
    }
    // Sun: a wide warm glow, a tight halo and a bright disc.
    const float c = std::max(glm::dot(d, sunDirection), 0.0f);
    sky +=
        glm::vec3{1.0f, 0.78f, 0.45f} * (0.30f * std::pow(c, 10.0f) + 0.45f * std::pow(c, 300.0f));
    const float angle = std::acos(glm::clamp(glm::dot(d, sunDirection), -1.0f, 1.0f));
    const float disc = 1.0f - glm::smoothstep(0.030f, 0.036f, angle);
    return glm::mix(sky, glm::vec3{1.0f, 0.98f, 0.90f}, disc);
}

glm::vec3 environment(glm::vec3 d) {
    d = glm::normalize(d);
    const float elevation = std::asin(glm::clamp(d.y, -1.0f, 1.0f));
    const float azimuth = std::atan2(d.z, d.x);
    const float pixel = glm::half_pi<float>() / faceSize; // about one texel, for soft silhouettes
    const glm::vec3 sky = skyColour(d);

    // Distant dunes in two rings, the far one paler in the haze.
    const glm::vec3 sand{0.86f, 0.66f, 0.42f};
    const float sunSide =
        0.5f + 0.5f * std::cos(azimuth - std::atan2(sunDirection.z, sunDirection.x));
    const float far = duneRidge(azimuth, 2.5f, 0.015f, 0.08f, 821u);
    const float near = duneRidge(azimuth + 1.3f, 4.0f, 0.006f, 0.045f, 823u);
    glm::vec3 colour = sky;
    const glm::vec3 farSand =
        glm::mix(sand * (0.85f + 0.15f * sunSide), glm::vec3{0.93f, 0.84f, 0.72f}, 0.55f);
    colour = glm::mix(colour, farSand, 1.0f - glm::smoothstep(far - pixel, far + pixel, elevation));
    const float ripple =
        fbm(glm::vec3{std::cos(azimuth) * 40.0f, std::sin(azimuth) * 40.0f, elevation * 60.0f}, 3,
            0.5f, 827u);
    const glm::vec3 nearSand = glm::mix(sand * (0.78f + 0.22f * sunSide) * (0.9f + 0.2f * ripple),
                                        glm::vec3{0.93f, 0.84f, 0.72f}, 0.3f);
    colour =
        glm::mix(colour, nearSand, 1.0f - glm::smoothstep(near - pixel, near + pixel, elevation));
    // Below the horizon the desert floor fades out of the haze.
    if (elevation < 0.0f) {
        const float depth = glm::smoothstep(0.0f, -0.4f, elevation);
        const glm::vec3 floorColour = sand * (0.85f + 0.06f * fbm(d * 30.0f, 3, 0.5f, 829u));
        colour = glm::mix(colour, floorColour, depth);
    }
    return colour;
}

// Direction of the texel centre (s, t in (-1, 1)) of a face, by the cube-map
// table of OpenGL: row 0 of an image is t = -1.
glm::vec3 faceDirection(int face, float sc, float tc) {
    switch (face) {
    case 0:
        return {1.0f, -tc, -sc}; // +X
    case 1:
        return {-1.0f, -tc, sc}; // -X
    case 2:
        return {sc, 1.0f, tc}; // +Y
    case 3:
        return {sc, -1.0f, -tc}; // -Y
    case 4:
        return {sc, -tc, 1.0f}; // +Z
    default:
        return {-sc, -tc, -1.0f}; // -Z
    }
}

} // namespace

bool makeSky(const std::string& objects) {
    // File names in the game's load order: +X, -X, +Y, -Y, +Z, -Z.
    const std::array<const char*, 6> names = {"sahara_lf", "sahara_rt", "sahara_up",
                                              "sahara_dn", "sahara_ft", "sahara_bk"};
    bool ok = true;
    for (int face = 0; face < 6; ++face) {
        Image image(faceSize, faceSize);
        image.paint([&](float s, float t) {
            return environment(faceDirection(face, 2.0f * s - 1.0f, 2.0f * t - 1.0f));
        });
        ok = writeTga(objects + "/skybox/" + names[face] + ".tga", image) && ok;
    }
    return ok;
}

} // namespace assetgen
