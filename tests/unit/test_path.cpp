// The ghost's path: sampled at a fixed rate of round time in fixed storage,
// and replayed in straight lines between the samples.
#include <gtest/gtest.h>

#include <glm/gtc/constants.hpp>

#include "game/path.hpp"

TEST(Path, SamplesTwentyTimesASecondWhateverTheFramesAndStopsWhenFull) {
    static Path path; // large: keep it off the stack
    path.count = 0;
    float t = 0.0f;
    // Frames of 7 ms and of 180 ms, a slow renderer's: 2 s of round time.
    for (int frame = 0; t < 2.0f; ++frame) {
        t += frame % 2 == 0 ? 0.007f : 0.18f;
        recordPath(path, t, PathSample{t, 0.0f, 0.0f, 0.0f, 1.0f});
    }
    EXPECT_EQ(path.count, static_cast<int>(t * pathSampleRate) + 1);
    for (int i = 1; i < path.count; ++i)
        EXPECT_GE(path.samples[static_cast<std::size_t>(i)].x,
                  static_cast<float>(i) / pathSampleRate);

    recordPath(path, 1e6f, PathSample{});
    EXPECT_EQ(path.count, maxPathSamples);
}

TEST(Path, TheGhostWalksBetweenSamplesAndWaitsAtTheEnd) {
    static Path path;
    path.count = 3;
    path.samples[0] = PathSample{0.0f, 0.0f, 3.0f, 0.0f, 1.0f};
    path.samples[1] = PathSample{1.0f, 2.0f, -3.0f, 0.1f, 0.8f};
    path.samples[2] = PathSample{3.0f, 2.0f, 0.0f, -0.1f, 0.6f};

    const PathSample between = poseAt(path, 0.025f); // halfway from sample 0 to 1
    EXPECT_FLOAT_EQ(between.x, 0.5f);
    EXPECT_FLOAT_EQ(between.z, 1.0f);
    EXPECT_FLOAT_EQ(between.waddle, 0.05f);
    EXPECT_FLOAT_EQ(between.scale, 0.9f);
    // From 3 to -3 radians the short way, through pi, not through 0.
    EXPECT_NEAR(std::abs(between.heading), glm::pi<float>(), 1e-4f);

    EXPECT_FLOAT_EQ(poseAt(path, 0.075f).x, 2.0f);
    EXPECT_FLOAT_EQ(poseAt(path, 60.0f).x, 3.0f) << "the ghost waits where the run ended";
    EXPECT_FLOAT_EQ(poseAt(path, -1.0f).x, 0.0f);
    path.count = 0;
    EXPECT_FLOAT_EQ(poseAt(path, 1.0f).x, 0.0f);

    EXPECT_FLOAT_EQ(headingOf({0, 0}, {0, 2}, 1.0f), glm::half_pi<float>());
    EXPECT_FLOAT_EQ(headingOf({4, 4}, {4, 4}, 1.0f), 1.0f) << "standing keeps the heading";
}

TEST(Path, TheLastSampleIsTheEndItself) {
    static Path path;
    path.count = 0;
    recordPath(path, 0.12f, PathSample{1.0f, 0.0f, 0.0f, 0.0f, 1.0f}); // samples at 0, .05, .1
    endPath(path, 0.12f, PathSample{2.0f, 0.0f, 0.0f, 0.0f, 1.0f});
    ASSERT_EQ(path.count, 4);
    EXPECT_EQ(poseAt(path, 10.0f).x, 2.0f) << "the ghost stops where the run ended";
    endPath(path, 0.12f, PathSample{3.0f, 0.0f, 0.0f, 0.0f, 1.0f});
    EXPECT_EQ(path.count, 4) << "ended once";
}
