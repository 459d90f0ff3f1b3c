#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "game/hud.hpp"

namespace {
const glm::vec3 yellow(1.0f, 1.0f, 0.0f);

void expectLine(const HudLine& line, const std::string& text, float x, float y, float scale,
                glm::vec3 colour, bool centred) {
    EXPECT_EQ(line.text, text);
    EXPECT_FLOAT_EQ(line.x, x) << text;
    EXPECT_FLOAT_EQ(line.y, y) << text;
    EXPECT_EQ(line.scale, scale) << text;
    EXPECT_EQ(line.colour, colour) << text;
    EXPECT_EQ(line.centred, centred) << text;
}

HudLines status(float temperature, bool fps = true, bool hud = true, float dt = 0.0625f) {
    return statusLayout(1024, 768, dt, temperature, fps, hud);
}
} // namespace

TEST(HudTest, EndTextsCentredOnTheWindow) {
    HudLines lines = endTextLayout(EndText::GameOver, 1024, 768);
    ASSERT_EQ(lines.count, 2);
    expectLine(lines.lines[0], "Game Over", 512.0f, 384.0f, 1.0f, {1.0f, 0.1f, 0.1f}, true);
    expectLine(lines.lines[1], endHint, 512.0f, 339.0f, 0.45f, {0.95f, 0.95f, 0.95f}, true);

    lines = endTextLayout(EndText::YouWon, 1025, 769);
    ASSERT_EQ(lines.count, 2);
    expectLine(lines.lines[0], "You Won", 512.0f, 384.0f, 1.0f, {0.1f, 1.0f, 0.1f}, true);

    EXPECT_EQ(endTextLayout(EndText::None, 1024, 768).count, 0);
}

TEST(HudTest, StatusLinesForTheDefaultWindow) {
    const HudLines lines = status(50.7f);
    ASSERT_EQ(lines.count, 2);
    expectLine(lines.lines[0], "FPS: 16", 924.0f, 748.0f, 0.4f, yellow, false);
    expectLine(lines.lines[1], "Body Temperature: 50", 10.0f, 748.0f, 0.4f, yellow, false);
}

TEST(HudTest, WarningStrictlyBetween80And100) {
    EXPECT_EQ(status(80.0f).count, 2);
    EXPECT_EQ(status(100.0f).lines[1].text, "Body Temperature: 100");
    EXPECT_EQ(status(100.0f).count, 2);

    const HudLines lines = status(99.9f);
    ASSERT_EQ(lines.count, 3);
    EXPECT_EQ(lines.lines[1].text, "Body Temperature: 99");
    expectLine(lines.lines[2], "You are melting! Collect Icecubes to cool down!", 323.95f, 563.2f,
               0.5f, {0.95f, 0.0f, 0.0f}, false);
}

TEST(HudTest, NumbersTruncateTowardZero) {
    EXPECT_EQ(status(-4.5f).lines[1].text, "Body Temperature: -4");
    EXPECT_EQ(status(0.0f, true, true, 0.3f).lines[0].text, "FPS: 3");
}

TEST(HudTest, SwitchesChooseTheLines) {
    HudLines lines = status(90.0f, false, true);
    ASSERT_EQ(lines.count, 2);
    EXPECT_EQ(lines.lines[0].text, "Body Temperature: 90");

    // The frame-rate line follows its own switch; the text routine hides it
    // with the rest when the HUD is off.
    lines = status(90.0f, true, false);
    ASSERT_EQ(lines.count, 1);
    EXPECT_EQ(lines.lines[0].text, "FPS: 16");

    EXPECT_EQ(status(90.0f, false, false).count, 0);
}

TEST(HudTest, ZeroFrameTimeSaturatesTheRate) {
    EXPECT_EQ(status(0.0f, true, true, 0.0f).lines[0].text, "FPS: 2147483647");
    EXPECT_EQ(truncateToInt(std::numeric_limits<float>::infinity()), 2147483647);
    EXPECT_EQ(truncateToInt(-3e9f), std::numeric_limits<int>::min());
    EXPECT_EQ(truncateToInt(std::nanf("")), 0);
}

TEST(HudTest, RefilledLinesMatchAFreshLayoutAndKeepTheirStorage) {
    HudLines lines;
    fillStatusLayout(lines, 1024, 768, 0.0625f, 99.9f, true, true);
    ASSERT_EQ(lines.count, 3);
    const char* const temperatureStorage = lines.lines[1].text.data();

    // Fewer lines after a switch: the count starts again, stale lines are not kept.
    fillStatusLayout(lines, 1024, 768, 0.0625f, 50.7f, false, true);
    ASSERT_EQ(lines.count, 1);
    expectLine(lines.lines[0], "Body Temperature: 50", 10.0f, 748.0f, 0.4f, yellow, false);

    fillStatusLayout(lines, 1024, 768, 0.0625f, 42.0f, true, true);
    const HudLines fresh = status(42.0f);
    ASSERT_EQ(lines.count, fresh.count);
    for (int i = 0; i < fresh.count; ++i) {
        const HudLine& line = fresh.lines[static_cast<std::size_t>(i)];
        expectLine(lines.lines[static_cast<std::size_t>(i)], line.text, line.x, line.y, line.scale,
                   line.colour, line.centred);
    }
    // The long temperature line went back into the slot it had: no new storage.
    EXPECT_EQ(lines.lines[1].text.data(), temperatureStorage);
}

TEST(HudTest, LinesBeyondTheCapacityAreDropped) {
    HudLines lines;
    for (int i = 0; i < HudLines::capacity + 2; ++i)
        lines.add().text = std::to_string(i);
    EXPECT_EQ(lines.count, HudLines::capacity);
    EXPECT_EQ(lines.lines.back().text, std::to_string(HudLines::capacity - 1));
}

TEST(HudTest, TheWinsTimeUnderYouWonAndPausedAboveAnEndText) {
    HudLines lines = endTextLayout(EndText::YouWon, 1024, 768, "41.3 s - best 39.8 s");
    ASSERT_EQ(lines.count, 3);
    expectLine(lines.lines[1], "41.3 s - best 39.8 s", 512.0f, 339.0f, 0.5f, {0.1f, 1.0f, 0.1f},
               true);
    EXPECT_EQ(lines.lines[2].text, endHint); // under the times
    EXPECT_FLOAT_EQ(lines.lines[2].y, 294.0f);
    EXPECT_EQ(endTextLayout(EndText::GameOver, 1024, 768, "41.3 s").count, 2);

    lines = pausedLayout(true, false, 1024, 768);
    ASSERT_EQ(lines.count, 1);
    expectLine(lines.lines[0], "Paused", 512.0f, 384.0f, 1.0f, {1.0f, 1.0f, 1.0f}, true);
    EXPECT_GT(pausedLayout(true, true, 1024, 768).lines[0].y, 384.0f + 40.0f);
    EXPECT_EQ(pausedLayout(false, false, 1024, 768).count, 0);
}

TEST(HudTest, TheControlsHintShowsInAFirstRoundUntilTenSecondsOrAMove) {
    const HudLines lines = hintLayout(true, 9.9f, false, 800, 600);
    ASSERT_EQ(lines.count, 1);
    EXPECT_EQ(lines.lines[0].text, controlsHint);
    EXPECT_FLOAT_EQ(lines.lines[0].x, 400.0f);
    EXPECT_LT(lines.lines[0].scale, hintLayout(true, 0.0f, false, 1024, 768).lines[0].scale);
    EXPECT_EQ(hintLayout(true, 10.0f, false, 800, 600).count, 0);
    EXPECT_EQ(hintLayout(true, 1.0f, true, 800, 600).count, 0);
    EXPECT_EQ(hintLayout(false, 1.0f, false, 800, 600).count, 0);
}
