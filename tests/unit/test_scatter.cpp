#include <random>

#include <gtest/gtest.h>

#include "game/scatter.hpp"

TEST(ScatterTest, SamePlacesOnEveryCall) {
    EXPECT_EQ(scatterPositions(), scatterPositions());
}

TEST(ScatterTest, EachDrawTakesOneEngineOutput) {
    std::mt19937 engine(300);
    const auto draw = [&engine] {
        return static_cast<float>(engine()) / 4294967296.0f * 500.0f - 200.0f;
    };
    const ScatterPositions positions = scatterPositions();
    for (int i = 0; i < scatterCount; ++i) {
        const float a = draw();
        const float b = draw();
        EXPECT_EQ(positions[i], glm::vec3(b, 0.2f, a)) << "obstacle " << i;
        EXPECT_GE(a, -200.0f);
        EXPECT_LT(a, 300.0f);
    }
}
