// The gamepad read as the game's own input: a round dead zone, never faster
// than the keys, the look scaled by time.
#include <cmath>

#include <gtest/gtest.h>

#include "game/pad.hpp"

namespace {

PadState stick(PadAxis x, float xValue, PadAxis y, float yValue) {
    PadState pad;
    pad.axes[x] = xValue;
    pad.axes[y] = yValue;
    return pad;
}

} // namespace

TEST(Pad, TheLeftStickWalksPastARoundDeadZoneAndNoFasterThanTheKeys) {
    // Resting off centre, even diagonally, is no walk.
    EXPECT_EQ(readPad(stick(LeftX, 0.19f, LeftY, 0.0f), 0.1f, false).right, 0.0f);
    EXPECT_EQ(readPad(stick(LeftX, -0.14f, LeftY, -0.14f), 0.1f, false).forward, 0.0f);
    // Up is forward; the travel past the dead zone is stretched to the whole.
    const PadInput half = readPad(stick(LeftX, 0.0f, LeftY, -0.6f), 0.1f, false);
    EXPECT_FLOAT_EQ(half.forward, 0.5f);
    EXPECT_EQ(half.right, 0.0f);
    // Full tilt on a diagonal is full speed along it, not more.
    const PadInput corner = readPad(stick(LeftX, 1.0f, LeftY, 1.0f), 0.1f, false);
    EXPECT_NEAR(std::hypot(corner.forward, corner.right), 1.0f, 1e-6f);
    EXPECT_LT(corner.forward, 0.0f);
    // The D-pad walks at the keys' pace, and with the stick no faster.
    PadState both = stick(LeftX, 0.0f, LeftY, -1.0f);
    both.buttons[DpadUp] = both.buttons[DpadLeft] = true;
    const PadInput fast = readPad(both, 0.1f, false);
    EXPECT_EQ(fast.forward, 1.0f);
    EXPECT_EQ(fast.right, -1.0f);
    EXPECT_TRUE(fast.up);
}

TEST(Pad, TheRightStickLooksByTheFramesLengthUpBeingUpUnlessInverted) {
    const PadState pad = stick(RightX, 1.0f, RightY, -1.0f); // right and up
    const PadInput in = readPad(pad, 0.5f, false);
    EXPECT_NEAR(in.lookX, padLookSpeed * 0.5f / std::sqrt(2.0f), 1e-3f);
    EXPECT_NEAR(in.lookY, in.lookX, 1e-3f);
    EXPECT_NEAR(readPad(pad, 0.5f, true).lookY, -in.lookX, 1e-3f);
    EXPECT_EQ(readPad(stick(RightX, 0.1f, RightY, 0.1f), 0.5f, false).lookX, 0.0f);
}

TEST(Pad, ButtonsAreHeldStates) {
    PadState pad;
    pad.buttons[ButtonStart] = pad.buttons[ButtonA] = pad.buttons[ButtonB] = true;
    pad.buttons[ButtonBack] = pad.buttons[DpadDown] = true;
    const PadInput in = readPad(pad, 0.1f, false);
    EXPECT_TRUE(in.pause && in.choose && in.back && in.quit && in.down);
    EXPECT_FALSE(in.up);
    EXPECT_EQ(in.forward, -1.0f);
}
