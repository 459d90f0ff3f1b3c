#include <gtest/gtest.h>

#include "stats.hpp"

TEST(BenchStats, NearestRankQuantiles) {
    EXPECT_EQ(quantile({}, 0.5), 0.0);
    EXPECT_EQ(median({7.0}), 7.0);
    EXPECT_EQ(median({3.0, 1.0, 2.0}), 2.0);
    // An even count takes the lower middle sample, never an average.
    EXPECT_EQ(median({4.0, 1.0, 3.0, 2.0}), 2.0);

    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i)
        hundred.push_back(i);
    EXPECT_EQ(quantile(hundred, 0.95), 95.0);
    EXPECT_EQ(quantile(hundred, 1.0), 100.0);
    EXPECT_EQ(quantile(hundred, 0.0), 1.0);
    EXPECT_EQ(quantile(hundred, 2.0), 100.0);
}

TEST(BenchStats, PhaseClockCreditsEachMarkToItsPart) {
    PhaseClock<3> clock;
    clock.start(10.0);
    clock.mark(0, 11.0);
    clock.mark(2, 14.0);
    clock.mark(1, 14.5);
    clock.mark(2, 16.0); // a part that ends twice adds up
    EXPECT_DOUBLE_EQ(clock[0], 1.0);
    EXPECT_DOUBLE_EQ(clock[1], 0.5);
    EXPECT_DOUBLE_EQ(clock[2], 4.5);

    clock.mark(7, 20.0); // an unknown part moves the clock without credit
    clock.mark(0, 21.0);
    EXPECT_DOUBLE_EQ(clock[0], 2.0);

    clock.start(0.0);
    EXPECT_DOUBLE_EQ(clock[2], 0.0);
}
