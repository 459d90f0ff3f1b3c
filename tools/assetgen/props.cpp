// The small props of the level: ice cubes, cacti and alien larvae.
#include <cmath>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "generators.hpp"
#include "image.hpp"
#include "obj_writer.hpp"

namespace assetgen {

namespace {

Image iceTexture() {
    return painted(256, 256, [](float u, float v) {
        // Frosted rim, clearer heart, a few cracks and trapped bubbles.
        const float edge = std::min({u, v, 1.0f - u, 1.0f - v});
        const float rim = 1.0f - glm::smoothstep(0.0f, 0.12f, edge);
        const float cloud = fbm(glm::vec2{u, v} * 4.0f, 4, 4, 0.55f, 501u);
        const float crackNoise = fbm(glm::vec2{u, v} * 3.0f, 3, 4, 0.5f, 503u);
        const float crack = 1.0f - glm::smoothstep(0.0f, 0.015f, std::abs(crackNoise - 0.5f));
        glm::vec3 colour =
            glm::mix(glm::vec3{0.55f, 0.78f, 0.95f}, glm::vec3{0.80f, 0.93f, 1.0f}, cloud);
        colour = glm::mix(colour, glm::vec3{0.97f, 0.99f, 1.0f}, 0.75f * rim + 0.6f * crack);
        const float bubble = fbm(glm::vec2{u, v} * 16.0f, 16, 2, 0.5f, 505u);
        if (bubble > 0.78f)
            colour = glm::mix(colour, glm::vec3{1.0f}, 0.5f);
        return colour;
    });
}

Image iceSpecular() {
    return painted(128, 128, [](float u, float v) {
        const float edge = std::min({u, v, 1.0f - u, 1.0f - v});
        return glm::vec3{0.55f + 0.45f * (1.0f - glm::smoothstep(0.0f, 0.1f, edge))};
    });
}

Image cactusTexture() {
    constexpr int ribs = 10;
    return painted(256, 256, [](float u, float v) {
        // Around the stem (u): ridges light, grooves dark; spines as pale dots
        // along each ridge; along the stem (v): a little mottling.
        const float rib = std::fmod(u * ribs, 1.0f);
        const float ridge = 1.0f - std::abs(2.0f * rib - 1.0f);
        const float mottle = fbm(glm::vec2{u * 4.0f, v * 8.0f}, 4, 3, 0.5f, 511u);
        glm::vec3 colour = ramp({{0.0f, {0.12f, 0.30f, 0.12f}}, {1.0f, {0.36f, 0.58f, 0.26f}}},
                                0.25f + 0.5f * ridge + 0.4f * (mottle - 0.5f));
        const float along = std::fmod(v * 40.0f, 1.0f);
        if (std::abs(rib - 0.5f) < 0.06f && std::abs(along - 0.5f) < 0.08f)
            colour = {0.93f, 0.90f, 0.72f};
        return colour;
    });
}

// The larva is one mesh of one material, so the 20 larvae cost one draw call
// each: its maps hold the skin below `larvaSkinTop` and the eyes from
// `larvaEyeBand` up (in texture v, tail at 0), with a gap against bleeding
// between mipmap levels.
constexpr float larvaSkinTop = 0.84f;
constexpr float larvaEyeBand = 0.875f;

// Texture v of an image row coordinate: the first row is the top.
float textureV(float row) {
    return 1.0f - row;
}

glm::vec3 eyeColour(float u, float v) {
    // A glowing red iris around a black pupil, looking out along +X after placement.
    const float d =
        glm::length(glm::vec2{std::min(std::abs(u - 0.5f), 1.0f - std::abs(u - 0.5f)), v - 0.5f});
    return d < 0.1f ? glm::vec3{0.02f}
                    : glm::mix(glm::vec3{1.0f, 0.25f, 0.05f}, glm::vec3{0.3f, 0.02f, 0.02f},
                               glm::smoothstep(0.1f, 0.4f, d));
}

Image larvaTexture() {
    return painted(256, 256, [](float u, float row) {
        const float t = textureV(row);
        if (t >= larvaEyeBand)
            return eyeColour(u, (t - larvaEyeBand) / (1.0f - larvaEyeBand));
        const float v = std::min(t / larvaSkinTop, 1.0f);
        // v runs tail to head; segment creases every 1/9, darker and slick.
        const float seg = std::fmod(v * 9.0f, 1.0f);
        const float crease = 1.0f - glm::smoothstep(0.0f, 0.18f, std::min(seg, 1.0f - seg));
        const float blotch = fbm(glm::vec2{u * 6.0f, v * 6.0f}, 6, 4, 0.55f, 521u);
        // The belly (u about 0.75, facing down after the turn) is paler.
        const float belly = std::max(0.0f, std::cos((u - 0.75f) * glm::two_pi<float>()));
        glm::vec3 colour = ramp({{0.0f, {0.30f, 0.42f, 0.10f}},
                                 {0.5f, {0.55f, 0.70f, 0.18f}},
                                 {1.0f, {0.78f, 0.62f, 0.22f}}},
                                blotch);
        colour = glm::mix(colour, glm::vec3{0.88f, 0.82f, 0.55f}, 0.5f * belly * belly);
        colour = glm::mix(colour, glm::vec3{0.22f, 0.12f, 0.25f}, 0.7f * crease);
        if (blotch > 0.68f)
            colour = glm::mix(colour, glm::vec3{0.45f, 0.18f, 0.45f}, 0.6f);
        return colour;
    });
}

Image larvaSpecular() {
    return painted(128, 128, [](float u, float row) {
        if (textureV(row) >= larvaEyeBand)
            return glm::vec3{0.9f}; // wet, glossy eyes
        return glm::vec3{0.55f + 0.3f * fbm(glm::vec2{u * 4.0f, row * 4.0f}, 4, 3, 0.5f, 531u)};
    });
}

} // namespace

bool makeIceCube(const std::string& objects) {
    Model model;
    model.materials = {{"ice", "ice.png", "ice_spec.png", glm::vec3{0.9f}, 96.0f}};
    model.add("ice", box(glm::vec3{0.2f}));
    const std::string dir = objects + "/icecube";
    bool ok = writeObj(dir, "icecube", model);
    ok = writePng(dir + "/ice.png", iceTexture()) && ok;
    ok = writePng(dir + "/ice_spec.png", iceSpecular()) && ok;
    return ok;
}

bool makeCactus(const std::string& objects) {
    constexpr float base = -0.2f;
    Mesh trunk = lathe({{0.0f, base},
                        {0.30f, base},
                        {0.30f, base},
                        {0.32f, 0.3f},
                        {0.31f, 0.9f},
                        {0.30f, 1.5f},
                        {0.29f, 2.1f},
                        {0.27f, 2.45f},
                        {0.22f, 2.65f},
                        {0.13f, 2.76f},
                        {0.0f, 2.8f}},
                       20);
    // Ten ribs: push the stem out along its ridges. With twenty segments every
    // other ring vertex sits on a ridge, the rest in the grooves.
    displace(trunk, [](glm::vec3 p) {
        const float r = glm::length(glm::vec2{p.x, p.z});
        const float a = std::atan2(-p.z, p.x);
        return r < 0.02f ? 0.0f : r * 0.12f * (std::cos(10.0f * a) - 0.3f);
    });
    for (Vertex& v : trunk.vertices)
        v.position.y = std::max(v.position.y, base); // keep the foot flat
    smoothNormals(trunk);

    // Arms: out from the trunk, an elbow, then up, ending in a rounded tip.
    auto arm = [](float height, float side, float reach, float rise, float lean) {
        std::vector<glm::vec3> path;
        std::vector<float> radii;
        const int steps = 6;
        for (int i = 0; i <= steps; ++i) {
            const float t = static_cast<float>(i) / steps;
            const float a = t * glm::half_pi<float>(); // quarter turn from out to up
            const float out = 0.1f + reach * std::sin(a);
            const float up = rise * (1.0f - std::cos(a));
            path.push_back({lean * t, height + up, side * out});
            radii.push_back(0.17f - 0.02f * t);
        }
        const glm::vec3 top = path.back();
        for (float k : {0.35f, 0.6f, 0.8f}) {
            path.push_back(top + glm::vec3{lean * 0.2f * k, k * 0.55f, 0.0f});
            radii.push_back(0.15f);
        }
        path.push_back(top + glm::vec3{0.0f, 0.62f, 0.0f});
        radii.push_back(0.10f);
        path.push_back(top + glm::vec3{0.0f, 0.66f, 0.0f});
        radii.push_back(0.04f);
        return tube(path, radii, 8);
    };
    Model model;
    model.materials = {{"cactus", "cactus.png", "cactus_spec.png", glm::vec3{0.1f}, 8.0f}};
    model.add("cactus", trunk);
    model.add("cactus", arm(0.95f, 1.0f, 0.45f, 0.30f, 0.04f));
    model.add("cactus", arm(1.45f, -1.0f, 0.38f, 0.22f, -0.05f));
    const std::string dir = objects + "/cactus-low-poly/source";
    return writeObj(dir, "cactus._testobj", model) &&
           writePng(dir + "/cactus.png", cactusTexture()) &&
           writePng(dir + "/cactus_spec.png", flatSpecular(0.1f)); // a waxy sheen
}

bool makeLarva(const std::string& objects) {
    // The body is a lathe along Y (tail at 0, head at the top), later laid
    // down along X with the head toward -X, facing whoever comes from there.
    constexpr float length = 1.5f;
    constexpr int segments = 9;
    std::vector<ProfilePoint> profile;
    const int rings = 27; // three per body segment
    for (int i = 0; i <= rings; ++i) {
        const float t = static_cast<float>(i) / rings;
        // Clamped: sin(pi) in float is a hair below zero, and pow of that is NaN.
        const float envelope = 0.21f *
                               std::pow(std::max(std::sin(glm::pi<float>() * t), 0.0f), 0.55f) *
                               (0.75f + 0.25f * t);
        const float bulge =
            0.84f + 0.16f * std::sqrt(std::abs(std::sin(glm::pi<float>() * segments * t)));
        profile.push_back({(i == 0 || i == rings) ? 0.0f : envelope * bulge, t * length});
    }
    Mesh body = lathe(profile, 10);
    for (Vertex& v : body.vertices)
        v.uv.y = v.position.y / length * larvaSkinTop; // bands line up with the creases
    smoothNormals(body);

    Model model;
    model.materials = {{"skin", "larva.png", "larva_spec.png", glm::vec3{0.8f}, 64.0f}};
    // Lay it down: +Y to -X, then squash the belly and arch the back.
    glm::mat4 lay = glm::rotate(glm::mat4(1.0f), glm::half_pi<float>(), glm::vec3{0, 0, 1});
    lay = glm::translate(lay, glm::vec3{0.0f, -length * 0.5f, 0.0f});
    transform(body, lay);
    auto arch = [](Mesh& m) {
        for (Vertex& v : m.vertices) {
            v.position.y = v.position.y * 0.82f + 0.07f * std::cos(v.position.x * 2.0f);
        }
    };
    arch(body);
    smoothNormals(body);
    Mesh eyes;
    for (float side : {-1.0f, 1.0f}) {
        Mesh eye = sphere(0.045f, 8, 5);
        for (Vertex& v : eye.vertices)
            v.uv.y = larvaEyeBand + v.uv.y * (1.0f - larvaEyeBand);
        // Turn the sphere so its pupil (u = 0.5, the -X side) looks forward and out.
        translate(eye, {-0.60f, 0.09f, side * 0.085f});
        merge(eyes, eye);
    }
    arch(eyes);
    // Rest on the ground: lowest point at y = -0.2.
    float lowest = 1e9f;
    for (const Vertex& v : body.vertices)
        lowest = std::min(lowest, v.position.y);
    translate(body, {0.0f, -0.2f - lowest, 0.0f});
    translate(eyes, {0.0f, -0.2f - lowest, 0.0f});
    model.add("skin", body);
    model.add("skin", eyes);
    const std::string dir = objects + "/74307_Alien_Larvae";
    bool ok = writeObj(dir, "Larve1", model);
    ok = writePng(dir + "/larva.png", larvaTexture()) && ok;
    ok = writePng(dir + "/larva_spec.png", larvaSpecular()) && ok;
    return ok;
}

} // namespace assetgen
