#include <cmath>

#include <gtest/gtest.h>

#include "game/loop.hpp"
#include "game/rules.hpp"

namespace {
const glm::vec3 origin(0.0f);
const glm::vec3 helicopter(400.0f, 0.0f, 50.0f);

// A point on the x axis at exactly distance r from the origin.
glm::vec3 atDistance(float r) {
    const glm::vec3 p(r, 0.0f, 0.0f);
    EXPECT_EQ(proximityDistance(p, origin), r);
    return p;
}

class RulesTest : public ::testing::Test {
  protected:
    void SetUp() override { resetGlobals(); }
    void TearDown() override { resetGlobals(); }
    static void resetGlobals() {
        gameEnded = false;
        endTimer = 0.0f;
        endTimerAtRoundStart = 0.0f;
        deltaTime = 0.0f;
        paused = false;
    }

    GameState state;
};
} // namespace

TEST(ReachTest, IceCubeReachIsStrictInFloat) {
    EXPECT_FALSE(nearIceCube(atDistance(1.0f), origin, 0.0f));
    EXPECT_TRUE(nearIceCube(atDistance(std::nextafter(1.0f, 0.0f)), origin, 0.0f));

    // At 1 degree the reach is 1.03: distance 1 is now inside.
    EXPECT_TRUE(nearIceCube(atDistance(1.0f), origin, 1.0f));
    const float reach = 1.0f + 1.0f / 100.0f * 3.0f;
    EXPECT_FALSE(nearIceCube(atDistance(reach), origin, 1.0f));
    EXPECT_TRUE(nearIceCube(atDistance(std::nextafter(reach, 0.0f)), origin, 1.0f));
}

TEST(ReachTest, ObstacleAndHelicopterCompareInDouble) {
    // 1.8 and 3.8 are not floats: the nearest float below each is inside,
    // the next one up is outside.
    EXPECT_TRUE(nearObstacle(atDistance(1.8f), origin, 0.0f));
    EXPECT_FALSE(nearObstacle(atDistance(std::nextafter(1.8f, 2.0f)), origin, 0.0f));
    EXPECT_TRUE(nearHelicopter(atDistance(3.8f), origin, 0.0f));
    EXPECT_FALSE(nearHelicopter(atDistance(std::nextafter(3.8f, 4.0f)), origin, 0.0f));

    // At 100 degrees the cactus reach is 4.8 in double: 4.8f lies above it.
    EXPECT_FALSE(nearObstacle(atDistance(4.8f), origin, 100.0f));
    EXPECT_TRUE(nearObstacle(atDistance(std::nextafter(4.8f, 0.0f)), origin, 100.0f));
}

TEST(ReachTest, DistanceIsEuclideanInThreeDimensions) {
    const glm::vec3 player = helicopter - glm::vec3(3.0f, 0.0f, 4.0f); // 5 away
    EXPECT_FLOAT_EQ(proximityDistance(helicopter, player), 5.0f);
    EXPECT_TRUE(nearHelicopter(helicopter, player, 50.0f));                // reach 5.3
    EXPECT_FALSE(nearHelicopter(helicopter, player, 30.0f));               // reach 4.7
    EXPECT_TRUE(nearObstacle(glm::vec3(1.0f, 1.0f, 1.0f), origin, 0.0f));  // 1.73
    EXPECT_FALSE(nearObstacle(glm::vec3(1.1f, 1.1f, 1.1f), origin, 0.0f)); // 1.91
}

TEST_F(RulesTest, IceCubesTakenInIndexOrderShrinkTheNextReach) {
    const glm::vec3 player(10.0f, 0.0f, 0.0f);
    state.bodyTemperature = 10.0f; // reach 1.3
    state.iceCubePosition[0] = glm::vec4(11.2f, 0.0f, 0.0f, 1.0f);
    state.iceCubePosition[1] = glm::vec4(10.0f, 0.0f, 1.2f, 1.0f);

    EXPECT_TRUE(collectIceCube(state, 0, player));
    EXPECT_FLOAT_EQ(state.bodyTemperature, -5.0f);  // below zero is allowed
    EXPECT_FALSE(collectIceCube(state, 1, player)); // reach now 0.85
    EXPECT_TRUE(state.iceCubeCollected[0]);
    EXPECT_FALSE(state.iceCubeCollected[1]);

    // A taken cube never counts again.
    EXPECT_FALSE(collectIceCube(state, 0, player));
    EXPECT_FLOAT_EQ(state.bodyTemperature, -5.0f);
}

TEST_F(RulesTest, HeatRisesUntilTheWin) {
    deltaTime = 0.5f;
    applyHeat(state);
    EXPECT_FLOAT_EQ(state.bodyTemperature, 1.5f);
    EXPECT_EQ(checkEndStates(state), EndText::None);
    EXPECT_EQ(endTimer, 0.0f);

    EXPECT_TRUE(reachHelicopter(state, helicopter, helicopter + glm::vec3(0.0f, 0.0f, 3.0f)));
    EXPECT_TRUE(state.gameWon);
    EXPECT_TRUE(gameEnded);
    applyHeat(state);
    EXPECT_FLOAT_EQ(state.bodyTemperature, 1.5f);
    EXPECT_EQ(checkEndStates(state), EndText::YouWon);
    EXPECT_FLOAT_EQ(endTimer, 0.5f);
    EXPECT_FALSE(reachHelicopter(state, helicopter, helicopter)); // only once
}

TEST_F(RulesTest, GameOverHasPriorityOverTheWin) {
    deltaTime = 0.25f;
    state.gameWon = true;
    state.bodyTemperature = 103.0f;
    EXPECT_EQ(checkEndStates(state), EndText::GameOver);
    EXPECT_EQ(state.bodyTemperature, 100.0f);
    EXPECT_FLOAT_EQ(endTimer, 0.25f); // counted once, not per end state
    EXPECT_EQ(endTextFor(100.0f, true), EndText::GameOver);
    EXPECT_EQ(endTextFor(99.99f, true), EndText::YouWon);
}

TEST_F(RulesTest, TouchDuringHeatLossFreezesAndTouchAfterWinDoesNothing) {
    const glm::vec3 cactus(5.0f, 0.2f, 5.0f);
    state.bodyTemperature = 100.5f;
    deltaTime = 0.1f;
    EXPECT_EQ(checkEndStates(state), EndText::GameOver);
    EXPECT_FALSE(gameEnded); // a heat loss leaves the snowman free
    touchObstacle(state, cactus, cactus + glm::vec3(1.0f, -0.2f, 0.0f));
    EXPECT_TRUE(gameEnded);
    EXPECT_EQ(state.bodyTemperature, 100.0f);

    GameState won;
    won.gameWon = true;
    won.bodyTemperature = 50.0f;
    touchObstacle(won, cactus, cactus);
    EXPECT_EQ(won.bodyTemperature, 50.0f);
}

TEST_F(RulesTest, TouchOutOfReachChangesNothing) {
    const glm::vec3 cactus(5.0f, 0.2f, 5.0f);
    touchObstacle(state, cactus, cactus + glm::vec3(2.0f, 0.0f, 0.0f));
    EXPECT_FALSE(gameEnded);
    EXPECT_EQ(state.bodyTemperature, 0.0f);
}

TEST_F(RulesTest, HeatLossUndoneByAnIceCubeKeepsTheEndTimer) {
    state.bodyTemperature = 100.0f;
    state.iceCubePosition[2] = glm::vec4(3.5f, 0.3f, 0.0f, 1.0f); // reach 4 at 100
    deltaTime = 1.0f;
    EXPECT_EQ(checkEndStates(state), EndText::GameOver);
    EXPECT_TRUE(collectIceCube(state, 2, origin));
    EXPECT_EQ(state.bodyTemperature, 85.0f);
    EXPECT_EQ(checkEndStates(state), EndText::None);
    EXPECT_FLOAT_EQ(endTimer, 1.0f);

    state.bodyTemperature = 100.0f;
    deltaTime = 3.0f;
    checkEndStates(state);
    EXPECT_FALSE(endScreenOver()); // exactly 4 is not past it
    deltaTime = 0.01f;
    checkEndStates(state);
    EXPECT_TRUE(endScreenOver());
}

TEST_F(RulesTest, PausedTheHeatAndTheEndScreenWaitAndEachRoundHasItsOwnFourSeconds) {
    deltaTime = 2.0f;
    paused = true;
    applyHeat(state);
    EXPECT_EQ(state.bodyTemperature, 0.0f);
    state.bodyTemperature = 100.0f;
    EXPECT_EQ(checkEndStates(state), EndText::GameOver) << "the end text still shows";
    EXPECT_EQ(endTimer, 0.0f);

    paused = false;
    checkEndStates(state);
    checkEndStates(state);
    EXPECT_FALSE(endScreenOver());
    checkEndStates(state);
    EXPECT_TRUE(endScreenOver());

    // A new round: endTimer keeps counting the run's end texts, and the
    // round's screen its own.
    endTimerAtRoundStart = endTimer;
    EXPECT_FALSE(endScreenOver());
    deltaTime = 4.01f;
    checkEndStates(state);
    EXPECT_TRUE(endScreenOver());
    EXPECT_FLOAT_EQ(endTimer, 10.01f);
}
