// What a frame sounds like, told from what changed in it.
#include <gtest/gtest.h>

#include "game/sound_cues.hpp"

namespace {
class SoundCues : public ::testing::Test {
  protected:
    FrameMoment before, after;
    SoundFrame sound;

    void tell(const CubeImpact* impacts = nullptr, int count = 0) {
        tellSounds(before, after, impacts, count, sound);
    }
    // One frame of walking, the waddle turning or not.
    void walk(bool turn) {
        before = after;
        after.player.x += 0.5f;
        if (turn)
            after.waddleRising = !after.waddleRising;
        tell();
    }
};
} // namespace

TEST_F(SoundCues, FootstepsKeepTimeWithTheWaddleWhileHeWalks) {
    int steps = 0;
    for (int frame = 0; frame < 12; ++frame) {
        walk(frame % 3 == 2);
        steps += sound.footstep;
    }
    EXPECT_EQ(steps, 2) << "a foot lands at every other turn of the waddle";

    // From here on every turn is one that steps: to rising.
    before = after; // standing still while the waddle turns: W and S together
    before.waddleRising = false;
    after.waddleRising = true;
    tell();
    EXPECT_FALSE(sound.footstep);

    after.waddleRising = false;
    after.state.bodyTemperature = 100.0f; // lost by heat: he may walk, silently
    walk(true);
    EXPECT_FALSE(sound.footstep);
    after.waddleRising = false;
    after.state.bodyTemperature = 10.0f;
    after.gameEnded = true;
    walk(true);
    EXPECT_FALSE(sound.footstep);
}

TEST_F(SoundCues, EachCubeTakenChimesWhereItLay) {
    after.state.iceCubePosition[1] = glm::vec4(20, 0.3f, -5, 1);
    after.state.iceCubePosition[3] = glm::vec4(220, 0.3f, 15, 1);
    after.state.iceCubeCollected[1] = after.state.iceCubeCollected[3] = true;
    tell();
    ASSERT_EQ(sound.chimeCount, 2);
    EXPECT_EQ(sound.chimes[0].at, glm::vec3(20, 0.3f, -5));
    EXPECT_EQ(sound.chimes[1].at, glm::vec3(220, 0.3f, 15));
    before = after;
    tell();
    EXPECT_EQ(sound.chimeCount, 0) << "a cube chimes once";
}

TEST_F(SoundCues, MeltFanfareRotorAndWarningFollowTheRules) {
    after.state.bodyTemperature = 85.0f;
    tell();
    EXPECT_TRUE(sound.heatWarning);
    EXPECT_FALSE(sound.melt);

    before = after;
    after.state.bodyTemperature = 100.0f; // a touch, or the last of the heat
    tell();
    EXPECT_TRUE(sound.melt);
    EXPECT_FALSE(sound.heatWarning);
    before = after;
    after.state.bodyTemperature = 100.05f;
    tell();
    EXPECT_FALSE(sound.melt) << "the melt is heard once";

    before = FrameMoment{};
    after = FrameMoment{};
    tell();
    EXPECT_TRUE(sound.rotor);
    after.state.bodyTemperature = 90.0f; // won while in the warning band
    after.state.gameWon = true;
    tell();
    EXPECT_TRUE(sound.fanfare);
    EXPECT_FALSE(sound.rotor);
    EXPECT_FALSE(sound.heatWarning) << "no sizzle after a win";
    before = after;
    tell();
    EXPECT_FALSE(sound.fanfare);
    EXPECT_FALSE(sound.rotor);
}

TEST_F(SoundCues, LandingsThudAtTheCubeByTheirForce) {
    const CubeImpact impacts[2] = {{{19.8f, 0.3f, -5.0f}, 40.0f}, {{320.0f, 0.3f, -5.0f}, 5.0f}};
    tell(impacts, 2);
    ASSERT_EQ(sound.thudCount, 2);
    EXPECT_EQ(sound.thuds[0].at, impacts[0].at);
    EXPECT_FLOAT_EQ(sound.thuds[0].strength, 1.0f);
    EXPECT_FLOAT_EQ(sound.thuds[1].strength, 0.25f);
    tell();
    EXPECT_EQ(sound.thudCount, 0);
}
