#include <cmath>
#include <memory>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "game/particles.hpp"
#include "render/frustum.hpp"

namespace {
std::unique_ptr<glm::mat4[]> ring(unsigned seed) {
    auto matrices = std::make_unique<glm::mat4[]>(particleRingSize);
    buildParticleRing(matrices.get(), seed);
    return matrices;
}

float scaleOf(const glm::mat4& m) {
    return glm::length(glm::vec3(m[0]));
}

void expectNear(glm::vec3 actual, glm::vec3 expected, float tolerance, int i) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << "particle " << i;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << "particle " << i;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << "particle " << i;
}
} // namespace

TEST(ParticlesTest, RingStartsWithinItsRanges) {
    const auto matrices = ring(3);
    const glm::vec3 axis = glm::normalize(glm::vec3(0.4f, 0.6f, 0.8f));
    for (int i = 0; i < particleRingSize; ++i) {
        const glm::mat4& m = matrices[i];
        const float angle = static_cast<float>(i) / 5000.0f * 360.0f;
        const float jitterX = m[3].x - 40.0f - std::sin(angle) * 10.0f;
        const float jitterZ = m[3].z - 20.0f - std::cos(angle) * 10.0f;
        EXPECT_GE(jitterX, -2.5001f) << i;
        EXPECT_LE(jitterX, 2.4901f) << i;
        EXPECT_GE(jitterZ, -2.5001f) << i;
        EXPECT_LE(jitterZ, 2.4901f) << i;
        EXPECT_GE(m[3].y, 0.0f) << i;
        EXPECT_LT(m[3].y, 40.0f) << i;
        const float s = scaleOf(m);
        EXPECT_GE(s, 0.0125f - 1e-6f) << i;
        EXPECT_LE(s, 0.06f + 1e-6f) << i;
        // Turned about (0.4, 0.6, 0.8): that axis is left where it is.
        expectNear(glm::vec3(m * glm::vec4(axis, 0.0f)), s * axis, 1e-5f, i);
    }
}

TEST(ParticlesTest, SameSeedSameRing) {
    const auto a = ring(12);
    const auto b = ring(12);
    const auto c = ring(13);
    int differing = 0;
    for (int i = 0; i < particleRingSize; ++i) {
        EXPECT_EQ(a[i], b[i]);
        differing += a[i] != c[i];
    }
    EXPECT_GT(differing, 0);
}

TEST(ParticlesTest, ParticleZeroStepsAlongItsOwnAxes) {
    auto matrices = ring(5);
    const glm::mat4 before = matrices[0];
    animateParticles(matrices.get(), 0.0f);
    expectNear(glm::vec3(matrices[0][3]), glm::vec3(before[3] - before[2]), 1e-6f, 0);
    EXPECT_EQ(matrices[0][0], before[0]); // only the translation moves

    const glm::mat4 turned = matrices[0];
    animateParticles(matrices.get(), glm::half_pi<float>());
    expectNear(glm::vec3(matrices[0][3]), glm::vec3(turned[3] - turned[0]), 1e-6f, 0);
}

TEST(ParticlesTest, EveryStepIsOneUnitOfTheParticlesScale) {
    auto matrices = ring(9);
    const auto before = ring(9);
    animateParticles(matrices.get(), 42.0f);
    for (int i = 0; i < particleRingSize; i += 7) {
        const float moved = glm::length(glm::vec3(matrices[i][3] - before[i][3]));
        EXPECT_NEAR(moved, scaleOf(before[i]), 1e-5f) << i;
    }
}

TEST(ParticlesTest, SendsTheRocksThatMayShowInRingOrder) {
    // Looking down -z from the origin; a rock of radius 6.5 at scale 0.25.
    const Frustum view =
        frustumOf(glm::perspective(glm::radians(45.0f), 4.0f / 3.0f, 0.1f, 100.0f));
    const auto rockAt = [](float x, float z) {
        return glm::scale(glm::translate(glm::mat4(1.0f), {x, 0.0f, z}), glm::vec3(0.25f));
    };
    const glm::mat4 rocks[] = {rockAt(0, -10), rockAt(0, 10), rockAt(6.5f, -10), rockAt(20, -10),
                               rockAt(-1, -20)};
    glm::mat4 sent[5];
    // The third lies just right of the view, yet its edge reaches into it.
    ASSERT_EQ(gatherVisibleParticles(rocks, 5, {{0, 0, 0}, 6.5f}, view, sent), 3);
    EXPECT_EQ(sent[0], rocks[0]);
    EXPECT_EQ(sent[1], rocks[2]);
    EXPECT_EQ(sent[2], rocks[4]);
}
