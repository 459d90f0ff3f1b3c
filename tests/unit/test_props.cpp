// The frame's lit props: which are drawn after the rules have run.
#include <algorithm>

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "game/physics.hpp"
#include "game/props.hpp"
#include "render/lighting.hpp"

namespace {
const glm::vec3 helicopter(400.0f, 0.0f, 50.0f);

class PropsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gameEnded = false;
        for (int i = 0; i < iceCubeCount; ++i)
            cubes[i] = glm::translate(glm::mat4(1.0f), iceCubeStartPositions[i]);
    }
    void TearDown() override { gameEnded = false; }

    int drawn(Prop prop, int found = iceCubeCount) {
        planProps(state, cubes, found, player, 0.0f, plan);
        return static_cast<int>(std::count_if(plan.draws.begin(), plan.draws.begin() + plan.count,
                                              [&](const PropDraw& d) { return d.prop == prop; }));
    }

    GameState state;
    glm::mat4 cubes[iceCubeCount];
    glm::vec3 player{0.0f};
    PropPlan plan;
};
} // namespace

TEST_F(PropsTest, ACollectedCubeIsNoLongerDrawn) {
    EXPECT_EQ(drawn(Prop::IceCube), 5);
    player = iceCubeStartPositions[2];
    EXPECT_EQ(drawn(Prop::IceCube), 4); // taken and gone in the same frame
    EXPECT_TRUE(state.iceCubeCollected[2]);
    EXPECT_FLOAT_EQ(state.bodyTemperature, -iceCubeCooling);
    player = glm::vec3(0.0f);
    EXPECT_EQ(drawn(Prop::IceCube), 4);
    EXPECT_EQ(drawn(Prop::Cactus), cactusCount);
    EXPECT_EQ(drawn(Prop::Larva), larvaCount);
}

TEST_F(PropsTest, AMissingBodyIsNeitherDrawnNorCollected) {
    // Bodies 3 and 4 are missing; their slots hold the identity, the
    // snowman's own start, where a cube would be taken at once.
    cubes[3] = cubes[4] = glm::mat4(1.0f);
    EXPECT_EQ(drawn(Prop::IceCube, 3), 3);
    EXPECT_FALSE(state.iceCubeCollected[3]);
    EXPECT_FALSE(state.iceCubeCollected[4]);
    EXPECT_FLOAT_EQ(state.bodyTemperature, 0.0f);
}

TEST_F(PropsTest, TheHelicopterGoesTheFrameAfterItIsReached) {
    EXPECT_EQ(drawn(Prop::Helicopter), 1);
    player = helicopter;
    EXPECT_EQ(drawn(Prop::Helicopter), 1); // reached now, still drawn once
    EXPECT_TRUE(state.gameWon);
    EXPECT_TRUE(gameEnded);
    EXPECT_EQ(drawn(Prop::Helicopter), 0);
    EXPECT_EQ(drawn(Prop::Hat), 1);
}

TEST(GhostPose, DrawnAsTheSnowmanWasWhicheverWayItWalked) {
    const glm::vec3 at(120.0f, 0.0f, -50.0f);
    const float temperature = 40.0f;
    const float waddle = 0.07f;
    for (const float heading : {0.0f, 3.1415927f, -1.5707964f}) {
        const PathSample pose{at.x, at.z, heading, waddle, snowmanScale(temperature)};
        EXPECT_EQ(ghostBodyMatrix(pose),
                  glm::scale(glm::translate(glm::mat4(1.0f), at), glm::vec3(pose.scale)))
            << heading;
        EXPECT_EQ(ghostHatMatrix(pose), hatMatrix(at, waddle, temperature)) << heading;
    }
}
