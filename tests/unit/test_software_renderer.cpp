// The software rasterizer's thread count, asked for before the context exists.
#include "app/software_renderer.hpp"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

TEST(SoftwareRenderer, OneRasterThreadMoreThanCoresAndNoneOnASingleCore) {
    EXPECT_EQ(rasterThreadsFor(1), 0);
    EXPECT_EQ(rasterThreadsFor(2), 3);
    EXPECT_EQ(rasterThreadsFor(8), 9);
}

TEST(SoftwareRenderer, ThePlayersOwnThreadCountIsKept) {
    setenv("LP_NUM_THREADS", "1", 1);
    tuneSoftwareRenderer();
    EXPECT_EQ(std::string(getenv("LP_NUM_THREADS")), "1");
    unsetenv("LP_NUM_THREADS");
}
