// The rescue helicopter waiting at the end of the level, nose toward the
// snowman (-X), skids on the ground (y = 0).
#include <cmath>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "generators.hpp"
#include "image.hpp"
#include "obj_writer.hpp"

namespace assetgen {

namespace {

Mesh ellipsoid(glm::vec3 centre, glm::vec3 radii, int segments, int rings) {
    Mesh m = sphere(1.0f, segments, rings);
    scale(m, radii);
    translate(m, centre);
    return m;
}

Mesh placedBox(glm::vec3 centre, glm::vec3 half, float yaw = 0.0f, glm::vec3 axis = {0, 1, 0}) {
    Mesh m = box(half);
    transform(m, glm::rotate(glm::translate(glm::mat4(1.0f), centre), yaw, axis));
    return m;
}

Image paintTexture() {
    return painted(256, 256, [](float u, float v) {
        // Lathe u: 0 at +X (tail), 0.5 at the nose; v bottom to top.
        glm::vec3 colour{0.80f, 0.10f, 0.08f};
        if (v > 0.40f && v < 0.50f)
            colour = {0.95f, 0.95f, 0.92f}; // livery stripe
        if (v < 0.22f)
            colour = {0.25f, 0.25f, 0.28f}; // dark belly
        // Side windows, one each side, ahead of the doors.
        for (float centre : {0.36f, 0.64f}) {
            if (std::abs(u - centre) < 0.06f && v > 0.56f && v < 0.74f)
                colour = {0.10f, 0.16f, 0.24f};
        }
        // Door seams.
        for (float seam : {0.27f, 0.73f}) {
            if (std::abs(u - seam) < 0.004f && v > 0.2f && v < 0.78f)
                colour *= 0.5f;
        }
        return colour * (0.92f + 0.08f * fbm(glm::vec2{u, v} * 8.0f, 8, 3, 0.5f, 601u));
    });
}

Image glassTexture() {
    return painted(128, 128, [](float u, float v) {
        const float streak = std::fmod(u * 3.0f + v * 1.5f, 1.0f);
        return glm::mix(glm::vec3{0.30f, 0.45f, 0.58f}, glm::vec3{0.80f, 0.90f, 0.97f},
                        streak > 0.9f ? 0.5f : 0.08f);
    });
}

Image metalTexture() {
    return painted(128, 128, [](float u, float v) {
        return glm::vec3{0.42f, 0.43f, 0.46f} *
               (0.85f + 0.15f * fbm(glm::vec2{u * 2.0f, v * 16.0f}, 0, 3, 0.5f, 611u));
    });
}

} // namespace

bool makeHelicopter(const std::string& objects) {
    Model model;
    model.materials = {
        {"paint", "paint.png", "paint_spec.png", glm::vec3{0.6f}, 48.0f},
        {"glass", "glass.png", "glass_spec.png", glm::vec3{1.0f}, 128.0f},
        {"metal", "metal.png", "metal_spec.png", glm::vec3{0.7f}, 32.0f},
        {"rotor", "rotor.png", "rotor_spec.png", glm::vec3{0.3f}, 16.0f},
    };
    // Cabin and windscreen bubble.
    model.add("paint", ellipsoid({-0.25f, 0.45f, 0.0f}, {0.42f, 0.30f, 0.27f}, 28, 16));
    model.add("glass", ellipsoid({-0.43f, 0.56f, 0.0f}, {0.255f, 0.17f, 0.205f}, 24, 12));
    // Engine hump behind the rotor mast.
    model.add("paint", ellipsoid({-0.08f, 0.72f, 0.0f}, {0.22f, 0.08f, 0.12f}, 16, 8));
    // Tail boom, fin and stabiliser.
    model.add("paint", tube({{0.08f, 0.52f, 0.0f}, {0.5f, 0.58f, 0.0f}, {0.96f, 0.64f, 0.0f}},
                            {0.085f, 0.055f, 0.03f}, 12));
    model.add("paint", placedBox({0.93f, 0.76f, 0.0f}, {0.07f, 0.13f, 0.012f}, -0.35f, {0, 0, 1}));
    model.add("paint", placedBox({0.82f, 0.62f, 0.0f}, {0.05f, 0.01f, 0.13f}));
    // Tail rotor on the left of the fin.
    model.add("metal", placedBox({0.94f, 0.76f, 0.03f}, {0.012f, 0.012f, 0.015f}));
    for (float a : {0.4f, 0.4f + glm::half_pi<float>()})
        model.add("rotor",
                  placedBox({0.94f, 0.76f, 0.045f}, {0.012f, 0.12f, 0.004f}, a, {0, 0, 1}));
    // Main rotor: mast, hub and three blades.
    Mesh mast = cylinder(0.03f, 0.12f, 10);
    translate(mast, {-0.2f, 0.72f, 0.0f});
    model.add("metal", mast);
    model.add("metal", ellipsoid({-0.2f, 0.85f, 0.0f}, {0.06f, 0.035f, 0.06f}, 12, 6));
    for (int i = 0; i < 3; ++i) {
        const float a = 0.3f + static_cast<float>(i) * glm::two_pi<float>() / 3.0f;
        Mesh blade = box({0.30f, 0.006f, 0.032f});
        glm::mat4 t = glm::translate(glm::mat4(1.0f), glm::vec3{-0.2f, 0.86f, 0.0f});
        t = glm::rotate(t, a, glm::vec3{0, 1, 0});
        t = glm::translate(t, glm::vec3{0.33f, 0.0f, 0.0f});
        t = glm::rotate(t, 0.06f, glm::vec3{1, 0, 0}); // blade pitch
        transform(blade, t);
        model.add("rotor", blade);
    }
    // Skids: two rails turned up at the front, on two struts each.
    for (float side : {-1.0f, 1.0f}) {
        const float z = side * 0.24f;
        model.add("metal", tube({{-0.70f, 0.09f, z},
                                 {-0.65f, 0.035f, z},
                                 {-0.58f, 0.02f, z},
                                 {0.22f, 0.02f, z},
                                 {0.26f, 0.03f, z}},
                                {0.02f, 0.02f, 0.02f, 0.02f, 0.02f}, 8));
        for (float x : {-0.45f, 0.05f})
            model.add("metal",
                      tube({{x, 0.02f, z}, {x + 0.03f, 0.26f, side * 0.15f}}, {0.015f, 0.015f}, 6));
    }
    // Built a little large; bring it to its 1.6 length, skids staying at y = 0.
    for (auto& part : model.parts)
        scale(part.second, glm::vec3{0.9f});
    const std::string dir = objects + "/helicopter";
    bool ok = writeObj(dir, "HelicopterTest", model);
    ok = writePng(dir + "/paint.png", paintTexture()) && ok;
    ok = writePng(dir + "/paint_spec.png", flatSpecular(0.45f)) && ok;
    ok = writePng(dir + "/glass.png", glassTexture()) && ok;
    ok = writePng(dir + "/glass_spec.png", flatSpecular(0.95f)) && ok;
    ok = writePng(dir + "/metal.png", metalTexture()) && ok;
    ok = writePng(dir + "/metal_spec.png", flatSpecular(0.6f)) && ok;
    ok = writePng(dir + "/rotor.png", solid(16, glm::vec3{0.08f, 0.08f, 0.09f})) && ok;
    ok = writePng(dir + "/rotor_spec.png", flatSpecular(0.3f)) && ok;
    return ok;
}

} // namespace assetgen
