// The scene's boulder pass.
#include <glm/gtc/matrix_transform.hpp>

#include "app/keyboard.hpp"
#include "game/scene.hpp"
#include "gl_fixture.hpp"

TEST_F(GLTest, BoulderIsDrawnWithTheLightMapsOff) {
    applyGameState();
    TempDir dir;
    // A square facing +z, drawn by the pass at T(30, 1.35, -25) S(4.5).
    dir.write("boulder.obj", "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvn 0 0 1\n"
                             "f 1//1 2//1 3//1\nf 1//1 3//1 4//1\n");
    Scene scene;
    scene.lightmapsShader.emplace(FROSTMOOR_SOURCE_DIR "/run/lightmaps.vert",
                                  FROSTMOOR_SOURCE_DIR "/run/lightmaps.frag");
    scene.boulderModel.emplace((dir.path() / "boulder.obj").string());
    ASSERT_EQ(scene.boulderModel->meshes.size(), 1u);

    OffscreenTarget target(32, 32);
    glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const glm::vec3 eye(30.0f, 1.35f, -5.0f);
    const glm::mat4 view = glm::lookAt(eye, glm::vec3(30.0f, 1.35f, -25.0f), glm::vec3(0, 1, 0));
    const bool saved = lightmaps;
    lightmaps = false;
    drawBoulder(scene, view, glm::perspective(1.0f, 1.0f, 0.1f, 100.0f), eye);
    lightmaps = saved;

    // The square fills the middle of the view: no clear colour left there.
    const std::vector<unsigned char> centre = target.pixel(16, 16);
    EXPECT_FALSE(centre[0] == 255 && centre[1] == 0 && centre[2] == 255);
    const std::vector<unsigned char> corner = target.pixel(0, 0);
    EXPECT_TRUE(corner[0] == 255 && corner[1] == 0 && corner[2] == 255);
}
