// Render switches, movement keys and the frame clock.
#include "app/camera.hpp"
#include "app/keyboard.hpp"
#include "game/loop.hpp"
#include "game/player.hpp"
#include "game/rounds.hpp"
#include "game/rules.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {
class Keys : public ::testing::Test {
  protected:
    std::ostringstream out;

    void SetUp() override {
        showFps = true;
        wireframe = false;
        showHud = true;
        celShading = false;
        lightmaps = true;
        particleAnimation = false;
        soundOn = true;
        f2Held = f3Held = f4Held = f5Held = f6Held = f7Held = f8Held = 0;
        pHeld = enterHeld = menuHeld = 0;
        quitAsked = false;
        paused = false;
        playAgainAsked = false;
        gameEnded = false;
        camera = Camera();
        playerPosition = glm::vec3(0.0f);
        waddleAngle = 0.0f;
        waddleRising = true;
        deltaTime = 0.1f;
    }
    void TearDown() override { SetUp(); }
};

KeyState none() {
    return KeyState{};
}
} // namespace

TEST_F(Keys, HeldKeyFlipsOnceAndAgainOnlyAfterRelease) {
    KeyState f3 = none();
    f3.f3 = true;
    for (int frame = 0; frame < 10; ++frame)
        applyKeys(f3, out);
    EXPECT_TRUE(wireframe);
    EXPECT_EQ(out.str(), "Wire frame toggled to: 1\n");
    applyKeys(none(), out);
    applyKeys(f3, out);
    EXPECT_FALSE(wireframe);
    EXPECT_EQ(out.str(), "Wire frame toggled to: 1\nWire frame toggled to: 0\n");
}

TEST_F(Keys, AllSwitchesReportInKeyOrderWithTheirOwnLabels) {
    KeyState all = none();
    all.f8 = all.f7 = all.f6 = all.f5 = all.f4 = all.f3 = all.f2 = true;
    applyKeys(all, out);
    EXPECT_EQ(out.str(), "Show fps toggled to: 0\n"
                         "Wire frame toggled to: 1\n"
                         "HUD toggled to: 0\n"
                         "CEL shading toggled to 1\n"
                         "Lightmaps toggled to 0\n"
                         "Particle animation toggled to 1\n"
                         "Sound toggled to: 0\n");
}

TEST_F(Keys, AfterTheEndMovementStopsButSwitchesWork) {
    gameEnded = true;
    KeyState keys = none();
    keys.w = keys.d = keys.f5 = true;
    applyKeys(keys, out);
    EXPECT_EQ(playerPosition, glm::vec3(0.0f));
    EXPECT_EQ(camera.position, glm::vec3(-14.0f, 4.0f, 0.0f));
    EXPECT_FLOAT_EQ(waddleAngle, 0.0f);
    EXPECT_TRUE(celShading);
}

TEST_F(Keys, OppositeKeysCancelButTheHatStillWaddles) {
    KeyState keys = none();
    keys.w = keys.s = true;
    applyKeys(keys, out);
    EXPECT_EQ(playerPosition, glm::vec3(0.0f));
    EXPECT_NEAR(camera.position.x, -14.0f, 1e-6f);
    EXPECT_FLOAT_EQ(waddleAngle, 0.1f);
}

TEST_F(Keys, DiagonalIsNotNormalisedAndTheCameraFollows) {
    KeyState keys = none();
    keys.w = keys.d = true;
    deltaTime = 0.5f;
    for (int frame = 0; frame < 2; ++frame)
        applyKeys(keys, out);
    EXPECT_FLOAT_EQ(playerPosition.x, 10.0f);
    EXPECT_FLOAT_EQ(playerPosition.z, 10.0f);
    EXPECT_NEAR(glm::length(playerPosition), 14.142f, 1e-3f);
    EXPECT_EQ(playerPosition.y, 0.0f);
    EXPECT_EQ(camera.position - playerPosition, glm::vec3(-14.0f, 4.0f, 0.0f));
}

TEST_F(Keys, WaddleOvershootsByOneFrameThenTurns) {
    KeyState keys = none();
    keys.a = true;
    deltaTime = 0.5f;
    applyKeys(keys, out);
    EXPECT_FLOAT_EQ(waddleAngle, 0.5f);
    EXPECT_FALSE(waddleRising);
    applyKeys(keys, out);
    EXPECT_FLOAT_EQ(waddleAngle, 0.0f);
    deltaTime = 0.05f;
    applyKeys(keys, out);
    EXPECT_FLOAT_EQ(waddleAngle, -0.05f);
    applyKeys(none(), out); // no key: the hat keeps its tilt
    EXPECT_FLOAT_EQ(waddleAngle, -0.05f);
}

// Steps that land between 0.1 and 0.12 each way: the hat turns there, and
// the footsteps with it, not a little further out.
TEST_F(Keys, WaddleTurnsOnceJustPastATenthEachWay) {
    KeyState keys = none();
    keys.d = true;
    deltaTime = 0.055f;
    const float expected[] = {0.055f, 0.11f, 0.055f, 0.0f, -0.055f, -0.11f, -0.055f, 0.0f};
    for (float angle : expected) {
        applyKeys(keys, out);
        EXPECT_NEAR(waddleAngle, angle, 1e-5f);
    }
}

TEST(FrameClock, StepsOnlyWhenStrictlyMoreThanOneStepIsPending) {
    lastFrame = 0.0f;
    physicsAccumulator = 0.0f;
    advanceClock(1.0f / 60.0f);
    EXPECT_FLOAT_EQ(deltaTime, 1.0f / 60.0f);
    advancePhysics(); // exactly one step's worth: not yet
    EXPECT_FLOAT_EQ(physicsAccumulator, 1.0f / 60.0f);

    advanceClock(lastFrame + 0.1f); // a slow frame still gives one step
    advancePhysics();
    EXPECT_NEAR(physicsAccumulator, 0.1f, 1e-5f);
    advanceClock(lastFrame + 0.001f); // and so does each frame after it
    advancePhysics();
    EXPECT_NEAR(physicsAccumulator, 0.101f - 1.0f / 60.0f, 1e-5f);

    // A pause stops the simulation's clock too: nothing piles up to be
    // worked off after it.
    const float pending = physicsAccumulator;
    paused = true;
    advanceClock(lastFrame + 5.0f);
    EXPECT_FALSE(advancePhysics());
    paused = false;
    EXPECT_FLOAT_EQ(physicsAccumulator, pending);
    lastFrame = physicsAccumulator = 0.0f;
    deltaTime = 0.0f;
}

TEST_F(Keys, PauseStopsTheSnowmanAndEnterAsksOnceForAnotherRound) {
    KeyState keys = none();
    keys.p = keys.w = true;
    applyKeys(keys, out);
    EXPECT_TRUE(paused);
    EXPECT_EQ(playerPosition, glm::vec3(0.0f)) << "the frame that pauses takes no step";
    EXPECT_EQ(waddleAngle, 0.0f);
    const glm::vec3 where = playerPosition;
    applyKeys(keys, out);
    EXPECT_EQ(playerPosition, where) << "no step while paused";
    keys.p = false;
    applyKeys(keys, out);
    keys.p = true;
    applyKeys(keys, out);
    EXPECT_FALSE(paused);
    EXPECT_EQ(out.str(), "Pause toggled to: 1\nPause toggled to: 0\n");
    EXPECT_GT(playerPosition.x, where.x) << "the frame that resumes walks";

    keys = none();
    keys.enter = true;
    applyKeys(keys, out);
    EXPECT_TRUE(playAgainAsked);
    applyKeys(keys, out);
    EXPECT_FALSE(playAgainAsked) << "a held Enter asks once";
}

TEST_F(Keys, APadPausesOncePerPressAndWalksUnlessAKeyIsDown) {
    PadState held;
    held.buttons[ButtonStart] = true;
    held.axes[LeftY] = -1.0f; // full tilt forward
    for (int frame = 0; frame < 3; ++frame) {
        KeyState keys;
        addPad(keys, readPad(held, deltaTime, false));
        applyKeys(keys, out);
    }
    EXPECT_EQ(out.str(), "Pause toggled to: 1\n");
    EXPECT_EQ(playerPosition, glm::vec3(0.0f)); // paused from the first frame

    paused = false;
    held.buttons[ButtonStart] = false;
    KeyState keys;
    addPad(keys, readPad(held, deltaTime, false));
    applyKeys(keys, out);
    EXPECT_FLOAT_EQ(playerPosition.x, playerSpeed * deltaTime); // the keys' pace
    keys.s = true; // a key down: the keys walk, not the pad
    applyKeys(keys, out);
    EXPECT_FLOAT_EQ(playerPosition.x, 0.0f);
}

TEST_F(Keys, SwitchingAwayPausesOnceAndNeverResumes) {
    KeyState keys = none();
    keys.away = keys.w = true;
    applyKeys(keys, out);
    EXPECT_TRUE(paused);
    EXPECT_EQ(playerPosition, glm::vec3(0.0f)) << "the frame that pauses takes no step";
    keys.away = false;
    applyKeys(keys, out);
    EXPECT_TRUE(paused);
    keys.away = true; // away again while paused: nothing more
    applyKeys(keys, out);
    EXPECT_EQ(out.str(), "Pause toggled to: 1\n");
}

TEST_F(Keys, WhilePausedEnterChoosesInTheMenuAndStartsNoRound) {
    KeyState keys = none();
    keys.p = true;
    applyKeys(keys, out); // paused, the menu open on Resume
    keys = none();
    keys.down = true;
    applyKeys(keys, out);
    applyKeys(keys, out); // held: one step, to Options
    keys = none();
    keys.up = true; // back to Resume
    applyKeys(keys, out);
    keys = none();
    keys.enter = true;
    applyKeys(keys, out);
    EXPECT_FALSE(playAgainAsked);
    EXPECT_FALSE(paused);
    applyKeys(keys, out); // Enter still held after the resume: no new round
    EXPECT_FALSE(playAgainAsked);
    EXPECT_EQ(out.str(), "Pause toggled to: 1\nPause toggled to: 0\n");
}
