// Leaving out draws that cannot reach the screen: only what lies wholly
// outside the view may go.
#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

#include "render/frustum.hpp"

TEST(Frustum, LeavesOutOnlySpheresWhollyOutsideTheView) {
    // The game's camera: 45 degrees, 4:3, from the origin looking down -z.
    const glm::mat4 projection = glm::perspective(glm::radians(45.0f), 4.0f / 3.0f, 0.1f, 100.0f);
    const Frustum view = frustumOf(projection * glm::mat4(1.0f));

    EXPECT_TRUE(mayBeVisible(view, {{0, 0, -10}, 1}));
    EXPECT_FALSE(mayBeVisible(view, {{0, 0, 10}, 1}));    // behind
    EXPECT_FALSE(mayBeVisible(view, {{0, 0, -200}, 1}));  // past the far plane
    EXPECT_FALSE(mayBeVisible(view, {{20, 0, -10}, 1}));  // far to the right
    EXPECT_FALSE(mayBeVisible(view, {{0, -20, -10}, 1})); // far below
    // Centre outside, edge inside: it may show a pixel.
    EXPECT_TRUE(mayBeVisible(view, {{8, 0, -10}, 4}));
    EXPECT_TRUE(mayBeVisible(view, {{0, 0, 1}, 2})); // around the eye
}

TEST(Frustum, PlacedSphereFollowsTheModelAndItsLargestScale) {
    glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(10, 0, 0));
    model = glm::scale(model, glm::vec3(1, 3, 2));
    const Sphere placed = placedSphere({{1, 0, 0}, 2}, model);
    EXPECT_FLOAT_EQ(placed.centre.x, 11.0f);
    EXPECT_FLOAT_EQ(placed.centre.y, 0.0f);
    EXPECT_FLOAT_EQ(placed.radius, 6.0f);
}
