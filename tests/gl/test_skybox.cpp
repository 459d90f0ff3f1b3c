// The sky box: face order, far-plane drawing, depth function, missing faces.
#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include <glm/gtc/matrix_transform.hpp>
#include <stb/stb_image_write.h>

#include "gl_fixture.hpp"
#include "render/skybox.hpp"

namespace {

const char* const faceNames[6] = {"sahara_lf.tga", "sahara_rt.tga", "sahara_up.tga",
                                  "sahara_dn.tga", "sahara_ft.tga", "sahara_bk.tga"};

// The colour each face should show; +Y is stored with alpha and -Y as grey
// only, so every face must still come out as plain RGB.
const std::array<glm::ivec3, 6> faceColours = {
    {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {128, 128, 128}, {255, 255, 0}, {255, 0, 255}}};
const int faceChannels[6] = {3, 3, 4, 1, 3, 3};

class SkyboxTest : public GLTest {
  protected:
    TempDir dir;

    void SetUp() override {
        GLTest::SetUp();
        applyGameState();
        std::filesystem::create_directories(dir.path() / "run");
        std::filesystem::create_directories(dir.path() / "assets/objects/skybox");
        for (const char* source : {"Skybox.vert", "Skybox.frag"})
            std::filesystem::copy_file(std::filesystem::path(FROSTMOOR_SOURCE_DIR "/run") / source,
                                       dir.path() / "run" / source);
    }

    void writeFace(int i, int width = 4, int height = 4) const {
        const int channels = faceChannels[i];
        std::vector<unsigned char> data;
        for (int p = 0; p < width * height; ++p) {
            if (channels == 1)
                data.push_back(static_cast<unsigned char>(faceColours[i].r));
            else
                for (int c = 0; c < 3; ++c)
                    data.push_back(static_cast<unsigned char>(faceColours[i][c]));
            if (channels == 4)
                data.push_back(255);
        }
        auto path = dir.path() / "assets/objects/skybox" / faceNames[i];
        ASSERT_NE(stbi_write_tga(path.string().c_str(), width, height, channels, data.data()), 0);
    }
};

} // namespace

TEST(SkyboxView, DropsTheTranslationAndKeepsTheRotation) {
    glm::mat4 view = glm::lookAt(glm::vec3(50, 7, -3), glm::vec3(51, 7, -3), glm::vec3(0, 1, 0));
    glm::mat4 sky = skyboxView(view);
    EXPECT_EQ(sky[3], glm::vec4(0, 0, 0, 1));
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(sky[c].w, 0.0f);
        EXPECT_EQ(glm::vec3(sky[c]), glm::vec3(view[c]));
    }
}

TEST_F(SkyboxTest, EachAxisShowsItsFaceFromAnywhere) {
    for (int i = 0; i < 6; ++i)
        writeFace(i);
    WorkingDirectory cwd(dir.path() / "run");
    testing::internal::CaptureStdout();
    Skybox skybox;
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const std::array<glm::vec3, 6> directions = {
        {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}}};
    const glm::mat4 projection = glm::perspective(glm::radians(60.0f), 1.0f, 0.1f, 100.0f);
    OffscreenTarget target(32, 32);
    // Far from the origin: the sky must not care where the camera stands.
    const glm::vec3 eye(500.0f, 40.0f, -300.0f);
    for (int i = 0; i < 6; ++i) {
        glm::vec3 up = directions[i].y != 0.0f ? glm::vec3(0, 0, 1) : glm::vec3(0, 1, 0);
        glm::mat4 view = glm::lookAt(eye, eye + directions[i], up);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        skybox.draw(view, projection);
        auto centre = target.pixel(16, 16);
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(centre[static_cast<std::size_t>(c)], faceColours[i][c], 2)
                << "face " << i << " channel " << c;
    }

    GLint depthFunc = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &depthFunc);
    EXPECT_EQ(depthFunc, GL_LESS);
    GLint vertexArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(vertexArray, 0);
}

// A cube map takes square faces of one size only: any other is refused
// like a missing one.
TEST_F(SkyboxTest, MissingOrMisshapenFaceIsReportedAndTheOthersStillLoad) {
    for (int i = 0; i < 4; ++i)
        if (i != 2)
            writeFace(i);
    writeFace(4, 4, 2);
    writeFace(5, 8, 8);
    WorkingDirectory cwd(dir.path() / "run");
    testing::internal::CaptureStdout();
    Skybox skybox;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Skybox texture failed to load: ../assets/objects/skybox/sahara_up.tga\n"
              "Skybox texture failed to load: ../assets/objects/skybox/sahara_ft.tga\n"
              "Skybox texture failed to load: ../assets/objects/skybox/sahara_bk.tga\n");

    glBindTexture(GL_TEXTURE_CUBE_MAP, skyCubeMap);
    for (int i = 0; i < 6; ++i) {
        GLint width = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X + static_cast<GLenum>(i), 0,
                                 GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, i == 2 || i >= 4 ? 0 : 4) << "face " << i;
    }
    int unit = -1;
    glGetUniformiv(skybox.shader.programId, glGetUniformLocation(skybox.shader.programId, "skybox"),
                   &unit);
    EXPECT_EQ(unit, 0);
}
