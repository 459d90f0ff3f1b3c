// Lit drawing: the snowman's scale and the uniforms the lit programs get.
#include <glm/gtc/matrix_transform.hpp>

#include "app/settings.hpp"
#include "game/player.hpp"
#include "gl_fixture.hpp"
#include "render/lighting.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"

TEST(SnowmanScale, ShrinksLinearlyWithTemperature)
{
    EXPECT_EQ(snowmanScale(0.0f), 1.01f);
    EXPECT_EQ(snowmanScale(50.0f), 0.51f);
    EXPECT_NEAR(snowmanScale(100.0f), 0.01f, 1e-7f);
}

namespace {

class LightingTest : public GLTest {
protected:
    float savedBrightness = brightness;
    glm::vec3 savedPosition = playerPosition;

    void TearDown() override
    {
        brightness = savedBrightness;
        playerPosition = savedPosition;
        GLTest::TearDown();
    }

    static glm::vec3 vec3Uniform(const Shader& shader, const char* name)
    {
        glm::vec3 value(-1.0f);
        glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, name), &value.x);
        return value;
    }

    static glm::mat4 mat4Uniform(const Shader& shader, const char* name)
    {
        glm::mat4 value(0.0f);
        glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, name), &value[0][0]);
        return value;
    }
};

} // namespace

TEST_F(LightingTest, BothLitProgramsGetTheGroundAndSnowmanUniforms)
{
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
