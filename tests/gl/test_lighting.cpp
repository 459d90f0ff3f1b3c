// Lit drawing: the snowman's scale, the uniforms the lit programs get, and
// the colour the plain lit program gives a surface.
#include <glm/gtc/matrix_transform.hpp>

#include "app/settings.hpp"
#include "game/player.hpp"
#include "gl_fixture.hpp"
#include "render/lighting.hpp"
#include "render/mesh.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"

TEST(SnowmanScale, ShrinksLinearlyWithTemperature) {
    EXPECT_EQ(snowmanScale(0.0f), 1.01f);
    EXPECT_EQ(snowmanScale(50.0f), 0.51f);
    EXPECT_NEAR(snowmanScale(100.0f), 0.01f, 1e-7f);
}

namespace {

class LightingTest : public GLTest {
  protected:
    float savedBrightness = brightness;
    glm::vec3 savedPosition = playerPosition;

    void TearDown() override {
        brightness = savedBrightness;
        playerPosition = savedPosition;
        GLTest::TearDown();
    }

    static glm::vec3 vec3Uniform(const Shader& shader, const char* name) {
        glm::vec3 value(-1.0f);
        glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, name), &value.x);
        return value;
    }

    static glm::mat4 mat4Uniform(const Shader& shader, const char* name) {
        glm::mat4 value(0.0f);
        glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, name),
                       &value[0][0]);
        return value;
    }
};

} // namespace

TEST_F(LightingTest, BothLitProgramsGetTheGroundAndSnowmanUniforms) {
    TempDir dir;
    testing::internal::CaptureStdout();
    Model empty((dir.path() / "absent.obj").string()); // draws nothing, still gets uniforms
    testing::internal::GetCapturedStdout();
    const glm::mat4 view = glm::lookAt(glm::vec3(0, 5, 10), glm::vec3(0), glm::vec3(0, 1, 0));
    const glm::mat4 projection = glm::perspective(1.0f, 1.5f, 0.1f, 500.0f);
    for (const char* name : {"Lighting", "toon"}) {
        std::string base = std::string(FROSTMOOR_SOURCE_DIR "/run/") + name;
        Shader shader((base + ".vert").c_str(), (base + ".frag").c_str());

        brightness = 0.0f;
        drawGround(empty, glm::vec3(1, 2, 3), shader, view, projection);
        EXPECT_EQ(vec3Uniform(shader, "light.ambient"), glm::vec3(0.0f)) << name;
        EXPECT_EQ(vec3Uniform(shader, "light.direction"), glm::vec3(0, -1, 0)) << name;
        EXPECT_EQ(vec3Uniform(shader, "viewPos"), glm::vec3(1, 2, 3)) << name;
        glm::mat4 ground = mat4Uniform(shader, "model");
        EXPECT_EQ(ground[3], glm::vec4(200, 0, 0, 1)) << name;
        EXPECT_EQ(ground[0][0], 10.0f) << name;

        brightness = 1.0f;
        playerPosition = glm::vec3(4, 0, -2);
        drawSnowman(empty, glm::vec3(1, 2, 3), shader, view, projection, 50.0f);
        EXPECT_EQ(vec3Uniform(shader, "light.ambient"), glm::vec3(0.6f)) << name;
        EXPECT_EQ(vec3Uniform(shader, "light.diffuse"), glm::vec3(0.4f)) << name;
        glm::mat4 snowman = mat4Uniform(shader, "model");
        EXPECT_EQ(snowman[3], glm::vec4(4, 0, -2, 1)) << name;
        EXPECT_EQ(snowman[1][1], 0.51f) << name;
        EXPECT_EQ(mat4Uniform(shader, "view"), view) << name;
        GLint current = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &current);
        EXPECT_EQ(static_cast<unsigned int>(current), shader.programId);
    }
}

namespace {

unsigned int solidTexture(unsigned char r, unsigned char g, unsigned char b) {
    const unsigned char texel[3] = {r, g, b};
    unsigned int id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    return id;
}

} // namespace

TEST_F(LightingTest, PlainLitProgramColoursBySunAndBothMaps) {
    applyGameState();
    const std::string base = FROSTMOOR_SOURCE_DIR "/run/Lighting";
    Shader shader((base + ".vert").c_str(), (base + ".frag").c_str());
    const unsigned int diffuse = solidTexture(128, 64, 255);
    const unsigned int specular = solidTexture(26, 51, 0);
    // A square of ground facing up, seen from straight above.
    const glm::vec3 up(0, 1, 0);
    Mesh ground({{{-1, 0, 1}, up, {0, 0}},
                 {{1, 0, 1}, up, {1, 0}},
                 {{1, 0, -1}, up, {1, 1}},
                 {{-1, 0, -1}, up, {0, 1}}},
                {0, 1, 2, 0, 2, 3},
                {{diffuse, "texture_diffuse", "d.png"}, {specular, "texture_specular", "s.png"}});

    shader.bind();
    shader.setUniformVec3("light.ambient", 0.2f, 0.2f, 0.2f);
    shader.setUniformVec3("light.diffuse", 0.5f, 0.5f, 0.5f);
    shader.setUniformVec3("light.specular", 0.8f, 0.8f, 0.8f);
    // Far overhead, so the highlight peaks at every corner alike.
    shader.setUniformVec3("viewPos", 0.0f, 1000.0f, 0.0f);
    shader.setUniformMat4("model", glm::mat4(1.0f));
    shader.setUniformMat4("view",
                          glm::lookAt(glm::vec3(0, 5, 0), glm::vec3(0), glm::vec3(0, 0, -1)));
    shader.setUniformMat4("projection", glm::ortho(-2.0f, 2.0f, -2.0f, 2.0f, 0.1f, 10.0f));
    OffscreenTarget target(16, 16);

    struct Case {
        glm::vec3 direction;
        float shininess;
        int rgb[3];
    };
    // Sun overhead: (0.2 * 1.1 + 0.5) * albedo + 0.8 * shine.
    // Sun just below the horizon: the upper sky's ambient alone. A broad
    // exponent would still give the halfway vector a highlight, but a
    // surface the sun does not reach must not shine.
    for (const Case& c :
         {Case{{0, -1, 0}, 32.0f, {113, 87, 184}}, Case{{1, 0.2f, 0}, 1.0f, {28, 14, 56}}}) {
        shader.setUniformVec3("light.direction", c.direction);
        shader.setUniformFloat("material.shininess", c.shininess);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ground.draw(shader);
        const auto centre = target.pixel(8, 8);
        for (int i = 0; i < 3; ++i)
            EXPECT_NEAR(centre[static_cast<std::size_t>(i)], c.rgb[i], 2)
                << "sun " << c.direction.x << " channel " << i;
    }
}
