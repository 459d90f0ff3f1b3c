#include <algorithm>
#include <cmath>
#include <vector>

#include <btBulletDynamicsCommon.h>
#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "app/startup.hpp"
#include "game/loop.hpp"
#include "game/physics.hpp"

namespace {
class PhysicsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        physicsAccumulator = 0.0f;
        ASSERT_TRUE(createPhysicsWorld());
        createActors();
    }
    void TearDown() override {
        destroyPhysicsWorld(); // frees the actors first
        physicsAccumulator = 0.0f;
    }

    static void run(int steps) {
        for (int i = 0; i < steps; ++i)
            stepPhysics();
    }

    static glm::mat4 matrix(int i) {
        glm::mat4 cubes[iceCubeCount];
        readIceCubeMatrices(cubes);
        return cubes[i];
    }

    static glm::vec3 position(int i) { return glm::vec3(matrix(i)[3]); }

    // A cube lying on a face has one of its axes upright.
    static bool liesOnAFace(int i) {
        const glm::mat4 m = matrix(i);
        return std::max({std::abs(m[0].y), std::abs(m[1].y), std::abs(m[2].y)}) > 0.999f;
    }
};

void expectMatrixNear(const glm::mat4& a, const glm::mat4& b) {
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            EXPECT_NEAR(a[c][r], b[c][r], 1e-6f) << "column " << c << " row " << r;
}
} // namespace

TEST(PoseTest, MatrixMatchesTheQuaternionRotation) {
    Pose pose;
    pose.q = glm::angleAxis(0.7f, glm::normalize(glm::vec3(1.0f, -2.0f, 3.0f)));
    pose.p = glm::vec3(4.0f, 5.0f, -6.0f);
    expectMatrixNear(poseToMatrix(pose),
                     glm::translate(glm::mat4(1.0f), pose.p) * glm::mat4_cast(pose.q));
}

TEST(PoseTest, ShapePoseComposesActorThenShape) {
    Pose actor;
    actor.q = glm::angleAxis(glm::half_pi<float>(), glm::vec3(0.0f, 0.0f, 1.0f));
    actor.p = glm::vec3(1.0f, 2.0f, 3.0f);
    Pose shape;
    shape.q = glm::angleAxis(glm::half_pi<float>(), glm::vec3(1.0f, 0.0f, 0.0f));
    shape.p = glm::vec3(1.0f, 0.0f, 0.0f);

    const Pose world = shapeWorldPose(actor, shape);
    const glm::vec3 p = world.p;
    EXPECT_NEAR(p.x, 1.0f, 1e-6f);
    EXPECT_NEAR(p.y, 3.0f, 1e-6f);
    EXPECT_NEAR(p.z, 3.0f, 1e-6f);
    // The shape turns first, then the actor: +z goes to -y, then to +x.
    const glm::vec3 z = world.q * glm::vec3(0.0f, 0.0f, 1.0f);
    EXPECT_NEAR(z.x, 1.0f, 1e-6f);
    EXPECT_NEAR(z.y, 0.0f, 1e-6f);
    EXPECT_NEAR(z.z, 0.0f, 1e-6f);
}

TEST_F(PhysicsTest, BodiesListedInCreationOrder) {
    glm::mat4 cubes[iceCubeCount];
    EXPECT_EQ(readIceCubeMatrices(cubes), iceCubeCount);
    for (int i = 0; i < iceCubeCount; ++i)
        expectMatrixNear(cubes[i], glm::translate(glm::mat4(1.0f), iceCubeStartPositions[i]));
}

TEST_F(PhysicsTest, OneStepIsExactlyOneSixtiethOfASecond) {
    physicsAccumulator = 0.05f;
    stepPhysics();
    EXPECT_FLOAT_EQ(physicsAccumulator, 0.05f - physicsStep);
    // One semi-implicit step from rest: v = g dt, y = y0 + v dt.
    EXPECT_NEAR(position(0).y, 10.0f - 9.8f * physicsStep * physicsStep, 1e-5f);
    stepPhysics();
    EXPECT_NEAR(position(0).y, 10.0f - 3.0f * 9.8f * physicsStep * physicsStep, 1e-5f);
}

// Steps the world for 30 s and follows every cube at every step.
struct Trajectory {
    float maxTiltDegrees = 0.0f;
    int bounces = 0;          // fall turned into a rise
    float lastMovedAt = 0.0f; // seconds
    std::vector<float> impactSpeeds;
};

TEST_F(PhysicsTest, CubesFallBounceAndSettleFlat) {
    Trajectory paths[iceCubeCount];
    glm::vec3 previous[iceCubeCount];
    float previousRise[iceCubeCount] = {};
    for (int i = 0; i < iceCubeCount; ++i)
        previous[i] = iceCubeStartPositions[i];
    for (int step = 1; step <= 1800; ++step) {
        stepPhysics();
        glm::mat4 cubes[iceCubeCount];
        ASSERT_EQ(readIceCubeMatrices(cubes), iceCubeCount);
        CubeImpact impacts[maxCubeImpacts];
        const int impactCount = lastStepImpacts(impacts);
        for (int i = 0; i < iceCubeCount; ++i) {
            Trajectory& path = paths[i];
            const float upright = std::max(
                {std::abs(cubes[i][0].y), std::abs(cubes[i][1].y), std::abs(cubes[i][2].y)});
            path.maxTiltDegrees =
                std::max(path.maxTiltDegrees, glm::degrees(std::acos(std::min(upright, 1.0f))));
            const glm::vec3 p(cubes[i][3]);
            const float rise = (p.y - previous[i].y) / physicsStep; // units per second
            if (previousRise[i] < -0.3f && rise > 0.3f)
                ++path.bounces;
            if (glm::length(p - previous[i]) > 1e-4f)
                path.lastMovedAt = static_cast<float>(step) * physicsStep;
            for (int k = 0; k < impactCount; ++k)
                if (glm::length(impacts[k].at - p) < 1e-4f)
                    path.impactSpeeds.push_back(impacts[k].speed);
            previous[i] = p;
            previousRise[i] = rise;
        }
    }

    // Dropped alone, a cube lands flat, hops about three times without
    // tipping and lies where it was dropped.
    for (int i : {2, 3, 4}) {
        const Trajectory& path = paths[i];
        EXPECT_LT(path.maxTiltDegrees, 2.0f) << "cube " << i;
        EXPECT_GE(path.bounces, 3) << "cube " << i;
        EXPECT_LE(path.bounces, 4) << "cube " << i;
        EXPECT_LT(path.lastMovedAt, 6.0f) << "cube " << i;
        EXPECT_NEAR(previous[i].y, iceCubeHalfExtent, 0.02f) << "cube " << i;
        EXPECT_NEAR(previous[i].x, iceCubeStartPositions[i].x, 0.05f) << "cube " << i;
        EXPECT_NEAR(previous[i].z, iceCubeStartPositions[i].z, 0.05f) << "cube " << i;
        EXPECT_TRUE(liesOnAFace(i)) << "cube " << i;
        // A landing, then one more after each bounce, each softer.
        EXPECT_EQ(path.impactSpeeds.size(), static_cast<std::size_t>(path.bounces + 1))
            << "cube " << i << ": " << testing::PrintToString(path.impactSpeeds);
        EXPECT_TRUE(std::is_sorted(path.impactSpeeds.rbegin(), path.impactSpeeds.rend()))
            << "cube " << i;
    }

    // Cube 1 lands on cube 0 as it bounces: both tumble off along x and
    // come to rest on the sand side by side, a cube's width apart or more.
    for (int i : {0, 1}) {
        EXPECT_LT(paths[i].lastMovedAt, 12.0f) << "cube " << i;
        EXPECT_NEAR(previous[i].y, iceCubeHalfExtent, 0.02f) << "cube " << i;
        EXPECT_NEAR(previous[i].x, iceCubeStartPositions[i].x, 2.5f) << "cube " << i;
        EXPECT_NEAR(previous[i].z, iceCubeStartPositions[i].z, 0.05f) << "cube " << i;
        EXPECT_TRUE(liesOnAFace(i)) << "cube " << i;
    }
    EXPECT_GT(std::abs(previous[1].x - previous[0].x), 2.0f * iceCubeHalfExtent);
}

TEST_F(PhysicsTest, EveryContactAveragesTheMaterial) {
    // Floor contacts and the cube-on-cube collision of cubes 0 and 1.
    int contacts = 0;
    for (int step = 0; step < 300; ++step) {
        stepPhysics();
        for (int m = 0; m < gDispatcher->getNumManifolds(); ++m) {
            const btPersistentManifold* manifold = gDispatcher->getManifoldByIndexInternal(m);
            for (int k = 0; k < manifold->getNumContacts(); ++k) {
                const btManifoldPoint& point = manifold->getContactPoint(k);
                ASSERT_FLOAT_EQ(point.m_combinedFriction, iceCubeFriction);
                ASSERT_FLOAT_EQ(point.m_combinedRestitution, iceCubeRestitution);
                ++contacts;
            }
        }
    }
    EXPECT_GT(contacts, 0);
}

TEST_F(PhysicsTest, ACubeStrikingAnotherIsHeardOnce) {
    int strikes = 0;
    for (int step = 0; step < 600; ++step) {
        stepPhysics();
        bool cubeOnCube = false;
        for (int m = 0; m < gDispatcher->getNumManifolds(); ++m) {
            const btPersistentManifold* manifold = gDispatcher->getManifoldByIndexInternal(m);
            btScalar impulse = 0;
            for (int k = 0; k < manifold->getNumContacts(); ++k)
                impulse += manifold->getContactPoint(k).m_appliedImpulse;
            const bool bothMove =
                !manifold->getBody0()->isStaticObject() && !manifold->getBody1()->isStaticObject();
            cubeOnCube = cubeOnCube || (bothMove && impulse >= 0.4f);
        }
        CubeImpact impacts[maxCubeImpacts];
        const int count = lastStepImpacts(impacts);
        strikes += cubeOnCube && count > 0;
        // One blow reported for each cube would be two equal speeds side by
        // side (cubes dropped alone from one height land alike far apart).
        for (int a = 0; a < count; ++a)
            for (int b = a + 1; b < count; ++b)
                EXPECT_FALSE(impacts[a].speed == impacts[b].speed &&
                             glm::length(impacts[a].at - impacts[b].at) < 2.0f)
                    << "step " << step;
    }
    EXPECT_GT(strikes, 0) << "cube 1 never struck cube 0";
}

TEST_F(PhysicsTest, ANewRoundDropsTheCubesAgainAsTheFirstTime) {
    glm::mat4 first[120][iceCubeCount];
    for (auto& step : first) {
        stepPhysics();
        readIceCubeMatrices(step);
    }
    run(500); // landed, struck each other and come to rest
    resetActors();
    for (int s = 0; s < 120; ++s) {
        stepPhysics();
        glm::mat4 again[iceCubeCount];
        readIceCubeMatrices(again);
        for (int i = 0; i < iceCubeCount; ++i)
            ASSERT_LT(glm::length(glm::vec3(again[i][3] - first[s][i][3])), 1e-4f)
                << "cube " << i << ", step " << s;
    }
}
