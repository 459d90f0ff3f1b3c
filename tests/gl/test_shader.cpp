// Shader programs: the console reports and the shipped GLSL sources.
#include <filesystem>
#include <string>

#include "gl_fixture.hpp"
#include "render/shader.hpp"

namespace {

const char* const validVertex = R"(#version 430 core
layout (location = 0) in vec3 aPos;
uniform mat4 model;
void main() { gl_Position = model * vec4(aPos, 1.0); }
)";

const char* const validFragment = R"(#version 430 core
out vec4 FragColor;
uniform vec3 tint;
uniform float strength;
uniform int unit;
void main() { FragColor = vec4(tint * strength + float(unit), 1.0); }
)";

const std::string separator = "\n -- --------------------------------------------------- -- \n";

int countOf(const std::string& haystack, const std::string& needle) {
    int count = 0;
    for (auto at = haystack.find(needle); at != std::string::npos;
         at = haystack.find(needle, at + 1))
        ++count;
    return count;
}

class ShaderTest : public GLTest {
  protected:
    TempDir dir;
    std::string path(const std::string& name) const { return (dir.path() / name).string(); }
};

} // namespace

TEST_F(ShaderTest, CleanProgramPrintsNothingAndLinks) {
    dir.write("ok.vert", validVertex);
    dir.write("ok.frag", validFragment);
    testing::internal::CaptureStdout();
    Shader shader(path("ok.vert").c_str(), path("ok.frag").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    GLint linked = 0;
    glGetProgramiv(shader.programId, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

TEST_F(ShaderTest, MissingFileIsReportedOnceAndBothStagesCompileFromEmptyText) {
    dir.write("ok.frag", validFragment);
    testing::internal::CaptureStdout();
    Shader shader(path("missing.vert").c_str(), path("ok.frag").c_str());
    std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(out.rfind("ERROR::SHADER::FILE_NOT_SUCCESFULLY_READ\n", 0), 0u) << out;
    EXPECT_EQ(countOf(out, "FILE_NOT_SUCCESFULLY_READ"), 1);
    // The readable fragment file was dropped too: both stages fail on empty text.
    EXPECT_EQ(countOf(out, "ERROR::SHADER_COMPILATION_ERROR of type: VERTEX\n"), 1) << out;
    EXPECT_EQ(countOf(out, "ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\n"), 1) << out;
    EXPECT_EQ(countOf(out, "ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM\n"), 1) << out;
    EXPECT_NE(shader.programId, 0u);
    EXPECT_EQ(glIsProgram(shader.programId), GL_TRUE);
}

TEST_F(ShaderTest, EmptyReadableFileIsNotAReadFailure) {
    dir.write("empty.vert", "");
    dir.write("ok.frag", validFragment);
    testing::internal::CaptureStdout();
    Shader shader(path("empty.vert").c_str(), path("ok.frag").c_str());
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(countOf(out, "FILE_NOT_SUCCESFULLY_READ"), 0) << out;
    EXPECT_EQ(countOf(out, "of type: VERTEX\n"), 1) << out;
    EXPECT_EQ(countOf(out, "of type: FRAGMENT\n"), 0) << out;
}

TEST_F(ShaderTest, CompileErrorReportHasHeaderLogAndSeparator) {
    dir.write("ok.vert", validVertex);
    dir.write("bad.frag", "#version 430 core\nvoid main() { this is not glsl }\n");
    testing::internal::CaptureStdout();
    Shader shader(path("ok.vert").c_str(), path("bad.frag").c_str());
    std::string out = testing::internal::GetCapturedStdout();

    const std::string header = "ERROR::SHADER_COMPILATION_ERROR of type: FRAGMENT\n";
    ASSERT_EQ(out.rfind(header, 0), 0u) << out;
    auto end = out.find(separator);
    ASSERT_NE(end, std::string::npos) << out;
    EXPECT_GT(end, header.size()) << "the driver's log sits between header and separator";
    EXPECT_EQ(countOf(out, "of type: VERTEX"), 0);
    // The link report follows with the same separator.
    EXPECT_EQ(out.find("ERROR::PROGRAM_LINKING_ERROR of type: PROGRAM\n", end),
              end + separator.size());
    EXPECT_EQ(out.substr(out.size() - separator.size()), separator);
}

TEST_F(ShaderTest, SettersUseThisProgramsLocationsOnTheCurrentProgram) {
    dir.write("ok.vert", validVertex);
    dir.write("ok.frag", validFragment);
    Shader shader(path("ok.vert").c_str(), path("ok.frag").c_str());
    Shader copy = shader; // copies share the program and its locations
    shader.bind();
    shader.setUniformVec3("tint", glm::vec3(0.25f, 0.5f, 0.75f));
    copy.setUniformFloat(std::string("strength"), 2.0f);
    shader.setUniformInt("unit", 3);
    glm::mat4 model(1.0f);
    model[3] = glm::vec4(1.0f, 2.0f, 3.0f, 1.0f);
    copy.setUniformMat4("model", model);
    shader.setUniformFloat("notDeclared", 1.0f); // ignored, no GL error

    float tint[3] = {};
    glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, "tint"), tint);
    EXPECT_FLOAT_EQ(tint[2], 0.75f);
    float strength = 0;
    glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, "strength"), &strength);
    EXPECT_FLOAT_EQ(strength, 2.0f);
    int unit = 0;
    glGetUniformiv(shader.programId, glGetUniformLocation(shader.programId, "unit"), &unit);
    EXPECT_EQ(unit, 3);
    float matrix[16] = {};
    glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, "model"), matrix);
    EXPECT_FLOAT_EQ(matrix[12], 1.0f); // column-major, untransposed
    EXPECT_FLOAT_EQ(matrix[14], 3.0f);

    shader.setUniformVec3("tint", 1.0f, 1.0f, 1.0f);
    glGetUniformfv(shader.programId, glGetUniformLocation(shader.programId, "tint"), tint);
    EXPECT_FLOAT_EQ(tint[0], 1.0f);
}

TEST_F(ShaderTest, SetterActsOnWhicheverProgramIsCurrent) {
    // Two programs with a float at the same fixed location under other names.
    dir.write("ok.vert", validVertex);
    const std::string fragment = "#version 430 core\nout vec4 FragColor;\n"
                                 "layout(location = 5) uniform float NAME;\n"
                                 "void main() { FragColor = vec4(NAME); }\n";
    auto named = [&](const std::string& name) {
        std::string text = fragment;
        for (std::size_t at; (at = text.find("NAME")) != std::string::npos;)
            text.replace(at, 4, name);
        return text;
    };
    dir.write("a.frag", named("strength"));
    dir.write("b.frag", named("other"));
    Shader a(path("ok.vert").c_str(), path("a.frag").c_str());
    Shader b(path("ok.vert").c_str(), path("b.frag").c_str());

    b.bind();
    a.setUniformFloat("strength", 2.0f); // a's location, b's program
    float value = -1.0f;
    glGetUniformfv(b.programId, 5, &value);
    EXPECT_FLOAT_EQ(value, 2.0f);
    glGetUniformfv(a.programId, 5, &value);
    EXPECT_FLOAT_EQ(value, 0.0f) << "a itself was not current, so it kept its value";
}

TEST_F(ShaderTest, EveryShippedSourceCompilesAndLinksCleanly) {
    const std::filesystem::path run = FROSTMOOR_SOURCE_DIR "/run";
    for (const char* name : {"Text", "Lighting", "toon", "particles", "lightmaps", "Skybox"}) {
        std::string vert = (run / (std::string(name) + ".vert")).string();
        std::string frag = (run / (std::string(name) + ".frag")).string();
        testing::internal::CaptureStdout();
        Shader shader(vert.c_str(), frag.c_str());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << name;
        GLint linked = 0;
        glGetProgramiv(shader.programId, GL_LINK_STATUS, &linked);
        EXPECT_EQ(linked, GL_TRUE) << name;
    }
}

TEST_F(ShaderTest, ShippedSourcesDeclareTheUniformsTheGameSets) {
    const std::filesystem::path run = FROSTMOOR_SOURCE_DIR "/run";
    auto build = [&](const char* name) {
        std::string vert = (run / (std::string(name) + ".vert")).string();
        std::string frag = (run / (std::string(name) + ".frag")).string();
        return Shader(vert.c_str(), frag.c_str());
    };
    for (const char* lit : {"Lighting", "toon"}) {
        Shader shader = build(lit);
        for (const char* uniform : {"light.direction", "light.ambient", "light.diffuse",
                                    "light.specular", "material.shininess", "viewPos", "view",
                                    "projection", "model", "texture_diffuse1", "texture_specular1"})
            EXPECT_GE(shader.uniformLocation(uniform), 0) << lit << " " << uniform;
    }
    Shader lightmaps = build("lightmaps");
    for (const char* uniform : {"light.position", "light.ambient", "light.diffuse",
                                "light.specular", "material.shininess", "material.diffuse",
                                "material.specular", "viewPos", "view", "projection", "model"})
        EXPECT_GE(lightmaps.uniformLocation(uniform), 0) << uniform;
    Shader particles = build("particles");
    for (const char* uniform : {"view", "projection", "texture_diffuse1"})
        EXPECT_GE(particles.uniformLocation(uniform), 0) << uniform;
    EXPECT_EQ(glGetAttribLocation(particles.programId, "aInstanceMatrix"), 3);
    Shader text = build("Text");
    for (const char* uniform : {"projection", "textColor"})
        EXPECT_GE(text.uniformLocation(uniform), 0) << uniform;
    Shader sky = build("Skybox");
    for (const char* uniform : {"view", "projection", "skybox"})
        EXPECT_GE(sky.uniformLocation(uniform), 0) << uniform;
}
