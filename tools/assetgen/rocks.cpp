// The floating rocks of the particle ring, the light-mapped boulder and the
// two light maps they share.
#include <cmath>

#include "generators.hpp"
#include "image.hpp"
#include "obj_writer.hpp"

namespace assetgen {

namespace {

// Rock crevices: thin dark lines where a noise field crosses its middle.
float crackMask(glm::vec2 p) {
    const float n = fbm(p * 5.0f, 5, 4, 0.5f, 703u);
    return 1.0f - glm::smoothstep(0.0f, 0.008f, std::abs(n - 0.5f));
}

float veinMask(glm::vec2 p) {
    const float n = fbm(p * 3.0f, 3, 5, 0.55f, 707u);
    return 1.0f - glm::smoothstep(0.0f, 0.005f, std::abs(n - 0.47f));
}

// The rock maps are drawn small (ring rocks, the boulder, the block beside
// it) and loaded three times over, so 256 texels a side is plenty.
constexpr int rockMapSize = 256;

Image rockDiffuse() {
    return painted(rockMapSize, rockMapSize, [](float u, float v) {
        const glm::vec2 p{u, v};
        const float body = fbm(p * 8.0f, 8, 5, 0.55f, 701u);
        glm::vec3 colour = ramp({{0.0f, {0.30f, 0.26f, 0.22f}},
                                 {0.5f, {0.55f, 0.48f, 0.40f}},
                                 {1.0f, {0.74f, 0.66f, 0.55f}}},
                                body);
        // Ochre lichen patches.
        const float lichen = fbm(p * 6.0f + glm::vec2{3.0f}, 6, 4, 0.5f, 709u);
        if (lichen > 0.62f)
            colour = glm::mix(colour, glm::vec3{0.72f, 0.58f, 0.22f},
                              glm::smoothstep(0.62f, 0.7f, lichen) * 0.7f);
        colour =
            glm::mix(colour, glm::vec3{0.88f, 0.86f, 0.80f}, 0.55f * veinMask(p)); // quartz veins
        colour *= 1.0f - 0.4f * crackMask(p);
        return colour;
    });
}

Image rockSpecular() {
    return painted(rockMapSize, rockMapSize, [](float u, float v) {
        const glm::vec2 p{u, v};
        // Dull stone, glinting mica flecks, shining quartz veins, dead cracks.
        const float fleck = hash01(static_cast<int>(u * rockMapSize),
                                   static_cast<int>(v * rockMapSize), 0, 711u) > 0.97f
                                ? 0.5f
                                : 0.0f;
        float s = 0.12f + 0.1f * fbm(p * 8.0f, 8, 3, 0.5f, 713u) + fleck + 0.8f * veinMask(p);
        s *= 1.0f - crackMask(p);
        return glm::vec3{s};
    });
}

} // namespace

bool makeRocks(const std::string& objects) {
    const std::string dir = objects + "/rock";
    // Particle rock: a lopsided chip of four facets. The ring draws 5000 of
    // them every frame, mostly a few pixels across, and the software renderer
    // pays for every triangle it sets up: four is the least a solid can have.
    Mesh rock = tetrahedron(3.8f); // corners about 6.5 from the centre
    // Nudge every corner off its diagonal so the chip is irregular, not a
    // regular die; then squat it.
    for (int i = 0; i < static_cast<int>(rock.vertices.size()); ++i) {
        Vertex& v = rock.vertices[i];
        const glm::vec3 nudge{hash01(i, 0, 0, 721u), hash01(i, 1, 0, 721u), hash01(i, 2, 0, 721u)};
        v.position += 2.0f * (nudge - 0.5f);
        v.position *= glm::vec3(1.1f, 0.8f, 0.95f);
    }
    sphericalUv(rock, glm::vec3{0.0f}, 1.0f, 1.0f);
    flatNormals(rock);
    Model particle;
    particle.materials = {{"rock", "rock.jpg", "", glm::vec3{0.0f}, 8.0f}};
    particle.add("rock", rock);
    bool ok = writeObj(dir, "rock", particle);

    // The boulder: round-ish with a flat base it sits on.
    Mesh boulder = icosphere(0.33f, 3);
    displace(boulder, [](glm::vec3 p) {
        return 0.33f * (0.35f * (fbm(p * 4.0f, 4, 0.5f, 731u) - 0.5f) +
                        0.08f * (fbm(p * 20.0f, 2, 0.5f, 733u) - 0.5f));
    });
    for (Vertex& v : boulder.vertices) {
        v.position.y *= 0.9f;
        v.position.y = std::max(v.position.y, -0.3f);
    }
    smoothNormals(boulder);
    for (Vertex& v : boulder.vertices) {
        if (v.position.y <= -0.2999f)
            v.normal = {0.0f, -1.0f, 0.0f};
    }
    sphericalUv(boulder, glm::vec3{0.0f}, 2.0f, 1.0f);
    Model lightMapped;
    lightMapped.materials = {{"boulder", "rock.jpg", "rock_specular.jpg", glm::vec3{1.0f}, 64.0f}};
    lightMapped.add("boulder", boulder);
    ok = writeObj(dir, "rock_blendswap", lightMapped) && ok;
    ok = writeJpg(dir + "/rock.jpg", rockDiffuse(), 92) && ok;
    ok = writeJpg(dir + "/rock_specular.jpg", rockSpecular(), 92) && ok;
    return ok;
}

} // namespace assetgen
