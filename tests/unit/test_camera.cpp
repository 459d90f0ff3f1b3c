// Camera orientation and mouse look.
#include "app/camera.hpp"
#include "app/settings.hpp"

#include <gtest/gtest.h>
#include <glm/gtc/matrix_transform.hpp>

namespace {
void expectVec(glm::vec3 actual, glm::vec3 expected, float tolerance = 1e-6f) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

class MouseLook : public ::testing::Test {
  protected:
    void SetUp() override {
        camera = Camera();
        firstMouse = true;
        lastX = lastY = 0.0f;
        freeCamera = true;
    }
    void TearDown() override { SetUp(); }
};
} // namespace

TEST(CameraStart, LooksAlongXFromBehindTheSnowman) {
    Camera fresh;
    expectVec(fresh.position, {-14.0f, 4.0f, 0.0f});
    expectVec(fresh.front, {1.0f, 0.0f, 0.0f});
    expectVec(fresh.right, {0.0f, 0.0f, 1.0f});
    expectVec(fresh.up, {0.0f, 1.0f, 0.0f});
    // At the start, and after a step to the side: at z = 0 the view's
    // sideways translation is 0 whatever its sign.
    for (const glm::vec3 eye : {glm::vec3(-14, 4, 0), glm::vec3(-14, 4, 3)}) {
        fresh.position = eye;
        const glm::mat4 expected = glm::lookAt(eye, eye + glm::vec3(1, 0, 0), glm::vec3(0, 1, 0));
        const glm::mat4 view = fresh.getViewMatrix();
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r)
                EXPECT_NEAR(view[c][r], expected[c][r], 1e-5f)
                    << c << "," << r << " at z " << eye.z;
    }
}

TEST_F(MouseLook, FirstEventOnlySeedsTheCursor) {
    mouseCallback(nullptr, 500.0, 300.0);
    EXPECT_FLOAT_EQ(camera.yaw, 0.0f);
    EXPECT_FLOAT_EQ(camera.pitch, 0.0f);
    EXPECT_FLOAT_EQ(lastX, 500.0f);
    EXPECT_FLOAT_EQ(lastY, 300.0f);
    EXPECT_FALSE(firstMouse);
}

TEST_F(MouseLook, RightTurnsTowardsZAndUpRaisesPitch) {
    mouseCallback(nullptr, 100.0, 100.0);
    mouseCallback(nullptr, 110.0, 90.0); // ten pixels right, ten up
    EXPECT_NEAR(camera.yaw, 1.0f, 1e-5f);
    EXPECT_NEAR(camera.pitch, 1.0f, 1e-5f);
    EXPECT_GT(camera.front.z, 0.0f);
    EXPECT_GT(camera.front.y, 0.0f);
}

TEST_F(MouseLook, PitchStopsAtExactlyEightyNineYawNeverWraps) {
    mouseCallback(nullptr, 0.0, 0.0);
    mouseCallback(nullptr, 5000.0, -5000.0);
    EXPECT_EQ(camera.pitch, 89.0f);
    EXPECT_NEAR(camera.yaw, 500.0f, 1e-3f);
    mouseCallback(nullptr, 5000.0, 20000.0);
    EXPECT_EQ(camera.pitch, -89.0f);
}

TEST_F(MouseLook, OffKeepsTheViewWhileTheCursorIsFollowed) {
    freeCamera = false;
    mouseCallback(nullptr, 10.0, 10.0);
    mouseCallback(nullptr, 400.0, -250.0);
    expectVec(camera.front, {1.0f, 0.0f, 0.0f});
    EXPECT_FLOAT_EQ(lastX, 400.0f);
    EXPECT_FLOAT_EQ(lastY, -250.0f);
    // Turning it back on later uses the remembered cursor, not a jump.
    freeCamera = true;
    mouseCallback(nullptr, 401.0, -250.0);
    EXPECT_NEAR(camera.yaw, 0.1f, 1e-5f);
}

TEST_F(MouseLook, ViewAfterATurnPutsTheEyeAtTheOriginLookingDownMinusZ) {
    mouseCallback(nullptr, 0.0, 0.0);
    mouseCallback(nullptr, 300.0, -200.0); // yaw 30, pitch 20
    camera.position = glm::vec3(3.0f, 5.0f, -7.0f);
    const glm::mat4 view = camera.getViewMatrix();
    const glm::vec3 eye = camera.position;
    auto seen = [&](glm::vec3 world) { return glm::vec3(view * glm::vec4(world, 1.0f)); };
    expectVec(seen(eye), {0.0f, 0.0f, 0.0f}, 1e-5f);
    expectVec(seen(eye + 2.0f * camera.front), {0.0f, 0.0f, -2.0f}, 1e-5f);
    expectVec(seen(eye + camera.right), {1.0f, 0.0f, 0.0f}, 1e-5f);
    expectVec(seen(eye + camera.up), {0.0f, 1.0f, 0.0f}, 1e-5f);
    EXPECT_GT(camera.front.y, 0.3f); // the turn really tilted the view
    EXPECT_GT(camera.front.z, 0.3f);
}
