// The snowman and his top hat. He faces +X, the way he walks.
#include <cmath>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "generators.hpp"
#include "image.hpp"
#include "obj_writer.hpp"

namespace assetgen {

namespace {

struct Ball {
    float radius;
    glm::vec3 centre;
};
// Bottom, middle, head: the head's top is exactly snowmanHeight.
constexpr Ball bottom{0.60f, {0.0f, 0.57f, 0.0f}};
constexpr Ball middle{0.44f, {0.0f, 1.45f, 0.0f}};
constexpr Ball head{0.32f, {0.0f, snowmanHeight - 0.32f, 0.0f}};

// A point on a ball's surface: azimuth from +X toward +Z, elevation up.
glm::vec3 onBall(const Ball& ball, float azimuth, float elevation, float lift = 0.0f) {
    const glm::vec3 d{std::cos(elevation) * std::cos(azimuth), std::sin(elevation),
                      std::cos(elevation) * std::sin(azimuth)};
    return ball.centre + d * (ball.radius + lift);
}

Mesh snowBall(const Ball& ball, std::uint32_t seed) {
    Mesh m = sphere(ball.radius, 32, 16);
    // Hand-packed snow is a little lumpy.
    displace(m, [&](glm::vec3 p) {
        return ball.radius * 0.04f * (fbm(p * 5.0f, 3, 0.5f, seed) - 0.5f);
    });
    smoothNormals(m);
    translate(m, ball.centre);
    return m;
}

Mesh lump(glm::vec3 at, float radius) {
    Mesh m = sphere(radius, 8, 6);
    scale(m, {1.0f, 0.9f, 1.0f});
    translate(m, at);
    return m;
}

// A plank of knitted scarf hanging from `top` along `down`, `width` wide.
Mesh scarfTail(glm::vec3 top, glm::vec3 down, float length, float width) {
    Mesh m = box({0.018f, length * 0.5f, width * 0.5f});
    const glm::vec3 dir = glm::normalize(down);
    const glm::vec3 axis = glm::cross(glm::vec3{0, -1, 0}, dir);
    const float angle = std::acos(glm::clamp(glm::dot(glm::vec3{0, -1, 0}, dir), -1.0f, 1.0f));
    glm::mat4 t = glm::translate(glm::mat4(1.0f), top + dir * (length * 0.5f));
    if (glm::length(axis) > 1e-5f)
        t = glm::rotate(t, angle, glm::normalize(axis));
    transform(m, t);
    return m;
}

Image snowTexture() {
    return painted(256, 256, [](float u, float v) {
        const float n = fbm(glm::vec2{u, v} * 8.0f, 8, 4, 0.5f, 301u);
        const float sparkle =
            hash01(static_cast<int>(u * 256), static_cast<int>(v * 256), 0, 303u) > 0.99f ? 0.06f
                                                                                          : 0.0f;
        return glm::mix(glm::vec3{0.80f, 0.86f, 0.95f}, glm::vec3{1.0f, 1.0f, 1.0f},
                        0.35f + 0.9f * n) +
               sparkle;
    });
}

Image snowSpecular() {
    return painted(256, 256, [](float u, float v) {
        const float glint = hash01(static_cast<int>(u * 256), static_cast<int>(v * 256), 0, 303u);
        return glm::vec3{
            glint > 0.99f ? 0.9f : 0.12f + 0.1f * fbm(glm::vec2{u, v} * 8.0f, 8, 3, 0.5f, 305u)};
    });
}

Image coalTexture() {
    return painted(64, 64, [](float u, float v) {
        return glm::vec3{0.05f, 0.05f, 0.06f} +
               0.08f * fbm(glm::vec2{u, v} * 8.0f, 8, 3, 0.6f, 311u);
    });
}

Image carrotTexture() {
    return painted(128, 128, [](float u, float v) {
        // Growth rings across the root, a little uneven.
        const float ring = 0.5f + 0.5f * std::sin(v * 60.0f + 2.0f * fbm(glm::vec2{u, v} * 4.0f, 4,
                                                                         2, 0.5f, 321u));
        return ramp({{0.0f, {0.78f, 0.32f, 0.05f}}, {1.0f, {1.0f, 0.55f, 0.15f}}},
                    0.3f + 0.7f * ring * ring);
    });
}

Image scarfTexture() {
    return painted(128, 128, [](float u, float v) {
        // Wide red bands with a thin cream stripe; a fine knit texture on top.
        const float band = std::fmod(u * 8.0f, 1.0f);
        glm::vec3 colour =
            band < 0.78f ? glm::vec3{0.78f, 0.10f, 0.12f} : glm::vec3{0.96f, 0.90f, 0.78f};
        if (band > 0.84f && band < 0.94f)
            colour = {0.12f, 0.30f, 0.62f};
        const float knit =
            0.5f + 0.5f * std::sin(v * 128.0f * 3.14159265f) * std::sin(u * 64.0f * 3.14159265f);
        return colour * (0.85f + 0.15f * knit);
    });
}

Image woodTexture() {
    return painted(64, 64, [](float u, float v) {
        const float grain = fbm(glm::vec2{u * 2.0f, v * 16.0f}, 0, 3, 0.5f, 331u);
        return ramp({{0.0f, {0.22f, 0.13f, 0.06f}}, {1.0f, {0.45f, 0.30f, 0.16f}}}, grain);
    });
}

Image feltTexture() {
    return painted(128, 128, [](float u, float v) {
        return glm::vec3{0.07f, 0.07f, 0.08f} +
               0.06f * fbm(glm::vec2{u, v} * 16.0f, 16, 3, 0.6f, 341u);
    });
}

Image bandTexture() {
    return painted(64, 64, [](float u, float v) {
        const float rib = 0.9f + 0.1f * std::sin(v * 40.0f);
        return glm::vec3{0.70f, 0.08f, 0.10f} * rib +
               0.04f * fbm(glm::vec2{u, v} * 8.0f, 8, 2, 0.5f, 351u);
    });
}

} // namespace

bool makeSnowman(const std::string& objects) {
    Model model;
    model.materials = {
        {"snow", "snow.png", "snow_spec.png", glm::vec3{0.3f}, 24.0f},
        {"coal", "coal.png", "coal_spec.png", glm::vec3{0.5f}, 48.0f},
        {"carrot", "carrot.png", "matte_spec.png", glm::vec3{0.0f}, 8.0f},
        {"scarf", "scarf.png", "matte_spec.png", glm::vec3{0.0f}, 8.0f},
        {"wood", "wood.png", "matte_spec.png", glm::vec3{0.0f}, 8.0f},
    };
    // Snow: the bottom ball is squashed a touch and rests at y = 0.
    Mesh base = snowBall(bottom, 401u);
    for (Vertex& v : base.vertices)
        v.position.y = std::max(v.position.y, 0.015f) - 0.015f;
    model.add("snow", base);
    model.add("snow", snowBall(middle, 402u));
    model.add("snow", snowBall(head, 403u));

    // Coal: eyes, a smile under the nose, three buttons.
    for (float side : {-1.0f, 1.0f})
        model.add("coal", lump(onBall(head, side * 0.36f, 0.28f, -0.01f), 0.042f));
    for (int i = 0; i < 5; ++i) {
        const float k = static_cast<float>(i - 2);
        model.add("coal", lump(onBall(head, k * 0.2f, -0.30f + 0.035f * k * k, -0.01f), 0.024f));
    }
    for (float e : {0.42f, 0.08f, -0.26f})
        model.add("coal", lump(onBall(middle, 0.0f, e, -0.012f), 0.048f));

    // Carrot: a cone from inside the head pointing +X, drooping slightly.
    Mesh carrot = cone(0.065f, 0.42f, 14);
    glm::mat4 t = glm::translate(glm::mat4(1.0f), onBall(head, 0.0f, 0.02f, -0.06f));
    t = glm::rotate(t, -glm::half_pi<float>() - 0.12f, glm::vec3{0, 0, 1});
    transform(carrot, t);
    model.add("carrot", carrot);

    // Scarf: a ring round the neck and two tails hanging down his back (-X).
    const float neckY = 1.85f;
    Mesh ring = torus(0.245f, 0.075f, 28, 10);
    scale(ring, {1.0f, 0.85f, 1.0f});
    translate(ring, {0.0f, neckY, 0.0f});
    model.add("scarf", ring);
    model.add("scarf",
              scarfTail({-0.27f, neckY - 0.02f, 0.07f}, {-0.45f, -1.0f, 0.08f}, 0.52f, 0.13f));
    model.add("scarf",
              scarfTail({-0.28f, neckY - 0.03f, -0.06f}, {-0.50f, -1.0f, -0.15f}, 0.42f, 0.12f));

    // Stick arms from the middle ball, reaching out and up.
    for (float side : {-1.0f, 1.0f}) {
        const glm::vec3 shoulder = onBall(middle, side * glm::half_pi<float>(), 0.25f, -0.06f);
        const glm::vec3 elbow = shoulder + glm::vec3{0.05f, 0.18f, side * 0.32f};
        const glm::vec3 hand = elbow + glm::vec3{0.08f, 0.20f, side * 0.22f};
        model.add("wood", tube({shoulder, elbow, hand}, {0.028f, 0.022f, 0.014f}, 6));
        const glm::vec3 twig = elbow + glm::vec3{0.02f, 0.16f, side * 0.02f};
        model.add("wood", tube({elbow + (hand - elbow) * 0.1f, twig}, {0.014f, 0.008f}, 5));
        const glm::vec3 fingerA = hand + glm::vec3{0.05f, 0.08f, side * 0.03f};
        const glm::vec3 fingerB = hand + glm::vec3{-0.03f, 0.06f, side * 0.08f};
        model.add("wood", tube({hand, fingerA}, {0.012f, 0.006f}, 5));
        model.add("wood", tube({hand, fingerB}, {0.012f, 0.006f}, 5));
    }

    const std::string dir = objects + "/snowman";
    bool ok = writeObj(dir, "snowi", model);
    ok = writePng(dir + "/snow.png", snowTexture()) && ok;
    ok = writePng(dir + "/snow_spec.png", snowSpecular()) && ok;
    ok = writePng(dir + "/coal.png", coalTexture()) && ok;
    ok = writePng(dir + "/coal_spec.png", flatSpecular(0.35f)) && ok;
    ok = writePng(dir + "/carrot.png", carrotTexture()) && ok;
    ok = writePng(dir + "/scarf.png", scarfTexture()) && ok;
    ok = writePng(dir + "/wood.png", woodTexture()) && ok;
    ok = writePng(dir + "/matte_spec.png", flatSpecular(0.0f)) && ok;
    return ok;
}

bool makeHat(const std::string& objects) {
    // Profile from the middle of the brim's underside up to the crown.
    Mesh felt = lathe({{0.0f, 0.0f},
                       {0.37f, 0.0f},
                       {0.37f, 0.0f},
                       {0.395f, 0.012f},
                       {0.37f, 0.03f},
                       {0.37f, 0.03f},
                       {0.245f, 0.03f},
                       {0.245f, 0.03f},
                       {0.235f, 0.20f},
                       {0.24f, 0.40f},
                       {0.255f, 0.47f},
                       {0.255f, 0.47f},
                       {0.235f, 0.485f},
                       {0.0f, 0.49f}},
                      32);
    Mesh band = lathe({{0.238f, 0.03f},
                       {0.252f, 0.03f},
                       {0.252f, 0.03f},
                       {0.245f, 0.12f},
                       {0.245f, 0.12f},
                       {0.232f, 0.12f}},
                      32);
    // The brim curls up at the sides (over his ears, the Z axis).
    auto curl = [](Mesh& m) {
        for (Vertex& v : m.vertices) {
            const float r = glm::length(glm::vec2{v.position.x, v.position.z});
            if (r > 0.25f)
                v.position.y += 0.06f * glm::smoothstep(0.25f, 0.4f, r) *
                                (v.position.z * v.position.z) / (r * r);
        }
    };
    curl(felt);
    smoothNormals(felt);
    // Where the game's hat matrix puts its extra offset, the file takes it
    // back, so the brim lands on the head at every scale.
    const glm::vec3 seat{-3.0f, hatSeat - 1.0f, -0.5f};
    translate(felt, seat);
    translate(band, seat);
    Model model;
    model.materials = {
        {"felt", "felt.png", "felt_spec.png", glm::vec3{0.2f}, 16.0f},
        {"band", "band.png", "matte_spec.png", glm::vec3{0.0f}, 8.0f},
    };
    model.add("felt", felt);
    model.add("band", band);
    const std::string dir = objects + "/snowman";
    bool ok = writeObj(dir, "hat", model);
    ok = writePng(dir + "/felt.png", feltTexture()) && ok;
    ok = writePng(dir + "/felt_spec.png", flatSpecular(0.18f)) && ok;
    ok = writePng(dir + "/band.png", bandTexture()) && ok;
    // The band's matte_spec.png is the snowman's, written beside it.
    return ok;
}

} // namespace assetgen
