// Model import and mesh drawing: texture sharing, sampler names, vertex data.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <string>
#include <vector>

#include <stb/stb_image_write.h>

#include "gl_fixture.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"

namespace {

class ModelTest : public GLTest {
  protected:
    TempDir dir;

    void SetUp() override {
        GLTest::SetUp();
        applyGameState();
    }

    void writeImage(const std::string& name) const {
        const unsigned char rgb[2 * 2 * 3] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
        ASSERT_NE(stbi_write_png((dir.path() / name).string().c_str(), 2, 2, 3, rgb, 6), 0);
    }

    std::string file(const std::string& name) const { return (dir.path() / name).string(); }
};

const char* const samplerVertex = R"(#version 430 core
layout (location = 0) in vec3 aPos;
void main() { gl_Position = vec4(aPos, 1.0); }
)";

const char* const samplerFragment = R"(#version 430 core
out vec4 FragColor;
uniform sampler2D texture_diffuse1;
uniform sampler2D texture_diffuse2;
uniform sampler2D texture_specular1;
void main() {
    FragColor = texture(texture_diffuse1, vec2(0.0)) + texture(texture_diffuse2, vec2(0.0))
              + texture(texture_specular1, vec2(0.0));
}
)";

int samplerValue(const Shader& shader, const char* name) {
    int value = -1;
    glGetUniformiv(shader.programId, glGetUniformLocation(shader.programId, name), &value);
    return value;
}

} // namespace

TEST(SamplerNames, CountEachKindOnItsOwn) {
    std::vector<Texture> textures = {{1, "texture_diffuse", "a"}, {2, "texture_specular", "b"},
                                     {3, "texture_diffuse", "c"}, {4, "texture_normal", "d"},
                                     {5, "texture_height", "e"},  {6, "texture_specular", "f"}};
    std::vector<std::string> expected = {"texture_diffuse1", "texture_specular1",
                                         "texture_diffuse2", "texture_normal1",
                                         "texture_height1",  "texture_specular2"};
    EXPECT_EQ(samplerNames(textures), expected);
}

TEST_F(ModelTest, MeshPointsEachSamplerAtItsUnitAndBindsTheTextures) {
    dir.write("s.vert", samplerVertex);
    dir.write("s.frag", samplerFragment);
    Shader shader(file("s.vert").c_str(), file("s.frag").c_str());
    unsigned int names[3];
    glGenTextures(3, names);
    Mesh mesh({{{0, 0, 0}, {0, 0, 1}, {0, 0}},
               {{1, 0, 0}, {0, 0, 1}, {1, 0}},
               {{0, 1, 0}, {0, 0, 1}, {0, 1}}},
              {0, 1, 2},
              {{names[0], "texture_diffuse", "a.png"},
               {names[1], "texture_diffuse", "b.png"},
               {names[2], "texture_specular", "c.png"}});
    OffscreenTarget target(8, 8);
    shader.bind();
    mesh.draw(shader);
    mesh.draw(shader); // the counters restart at every draw

    EXPECT_EQ(samplerValue(shader, "texture_diffuse1"), 0);
    EXPECT_EQ(samplerValue(shader, "texture_diffuse2"), 1);
    EXPECT_EQ(samplerValue(shader, "texture_specular1"), 2);
    for (int unit = 0; unit < 3; ++unit) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<unsigned int>(bound), names[unit]) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE0);
}

TEST_F(ModelTest, MoreTexturesThanUnitsBindOnlyExistingUnits) {
    dir.write("s.vert", samplerVertex);
    dir.write("s.frag", samplerFragment);
    Shader shader(file("s.vert").c_str(), file("s.frag").c_str());
    const int units = maxTextureUnits();
    ASSERT_GT(units, 0);
    std::vector<Texture> textures(static_cast<std::size_t>(units) + 2);
    for (Texture& texture : textures) {
        glGenTextures(1, &texture.id);
        texture.kind = "texture_diffuse";
    }
    Mesh mesh({}, {}, textures);
    shader.bind();
    mesh.draw(shader); // the debug callback fails the test on an invalid unit
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    EXPECT_EQ(active, GL_TEXTURE0);
}

TEST_F(ModelTest, SharedTextureFileLoadsOnceAndKeepsItsFirstKind) {
    writeImage("shared.png");
    writeImage("other.png");
    dir.write("m.mtl", "newmtl a\nmap_Kd shared.png\n"
                       "newmtl b\nmap_Kd other.png\nmap_Ks shared.png\n");
    dir.write("m.obj", "mtllib m.mtl\n"
                       "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\n"
                       "vt 0 0\nvt 1 0\nvt 0 1\nvt 1 1\n"
                       "o first\nusemtl a\nf 1/1 2/2 3/3\n"
                       "o second\nusemtl b\nf 2/2 4/4 3/3\n");
    testing::internal::CaptureStdout();
    Model model(file("m.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    EXPECT_EQ(model.directory, dir.path().string());
    ASSERT_EQ(model.meshes.size(), 2u);
    ASSERT_EQ(model.textureCache.size(), 2u);
    EXPECT_EQ(model.textureCache[0].path, "shared.png");
    EXPECT_EQ(model.textureCache[1].path, "other.png");

    ASSERT_EQ(model.meshes[0].textures.size(), 1u);
    ASSERT_EQ(model.meshes[1].textures.size(), 2u);
    const Texture& sharedAgain = model.meshes[1].textures[1];
    EXPECT_EQ(sharedAgain.id, model.meshes[0].textures[0].id);
    EXPECT_EQ(sharedAgain.kind, "texture_diffuse") << "the cached entry is reused whole";
    EXPECT_EQ(model.meshes[1].textures[0].kind, "texture_diffuse");
    EXPECT_EQ(model.meshes[1].textures[0].path, "other.png");
}

TEST_F(ModelTest, MaterialMapsBecomeKindsInAFixedOrder) {
    // Named in the reverse of the order the mesh lists them.
    for (const char* name : {"ka.png", "bump.png", "ks.png", "kd.png"})
        writeImage(name);
    dir.write("m.mtl",
              "newmtl a\nmap_Ka ka.png\nmap_bump bump.png\nmap_Ks ks.png\nmap_Kd kd.png\n");
    dir.write("m.obj", "mtllib m.mtl\nusemtl a\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    Model model(file("m.obj"));
    ASSERT_EQ(model.meshes.size(), 1u);
    const std::vector<Texture>& textures = model.meshes[0].textures;
    const std::pair<const char*, const char*> expected[] = {{"texture_diffuse", "kd.png"},
                                                            {"texture_specular", "ks.png"},
                                                            {"texture_normal", "bump.png"},
                                                            {"texture_height", "ka.png"}};
    ASSERT_EQ(textures.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(textures[i].kind, expected[i].first) << i;
        EXPECT_EQ(textures[i].path, expected[i].second) << i;
    }
}

TEST_F(ModelTest, VertexArrayFollowsTheVertexRecord) {
    Mesh mesh({{{0, 0, 0}, {0, 0, 1}, {0, 0}}}, {0}, {});
    glBindVertexArray(mesh.vertexArray);
    const struct {
        GLuint location;
        GLint components;
        std::uintptr_t offset;
    } attributes[] = {{0, 3, 0}, {1, 3, 12}, {2, 2, 24}};
    for (const auto& a : attributes) {
        GLint enabled = 0, components = 0, type = 0, stride = 0, normalised = 1;
        void* offset = nullptr;
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &components);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_TYPE, &type);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
        glGetVertexAttribiv(a.location, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED, &normalised);
        glGetVertexAttribPointerv(a.location, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
        EXPECT_EQ(enabled, GL_TRUE) << a.location;
        EXPECT_EQ(components, a.components) << a.location;
        EXPECT_EQ(type, GL_FLOAT) << a.location;
        EXPECT_EQ(stride, 32) << a.location;
        EXPECT_EQ(normalised, GL_FALSE) << a.location;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(offset), a.offset) << a.location;
    }
    glBindVertexArray(0);
}

TEST_F(ModelTest, MissingTextureIsReportedOnceAndCached) {
    dir.write("m.mtl", "newmtl a\nmap_Kd gone.png\nnewmtl b\nmap_Kd gone.png\n");
    dir.write("m.obj", "mtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                       "o first\nusemtl a\nf 1 2 3\no second\nusemtl b\nf 1 2 3\n");
    testing::internal::CaptureStdout();
    Model model(file("m.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Texture failed to load at path: gone.png\n");
    ASSERT_EQ(model.textureCache.size(), 1u);
    EXPECT_NE(model.textureCache[0].id, 0u);
}

// The importer would crash on a statement before any material; the material
// file is refused and the model comes in without it.
TEST_F(ModelTest, MaterialFileWithAMapBeforeAnyMaterialIsRefused) {
    dir.write("m.mtl", "map_Kd early.png\nnewmtl a\nmap_Kd late.png\n");
    dir.write("m.obj", "# a comment first\nmtllib m.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                       "usemtl a\nf 1 2 3\n");
    testing::internal::CaptureStdout();
    Model model(file("m.obj"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::ASSIMP:: " + file("m.mtl") + ": a statement before the first newmtl\n");
    ASSERT_EQ(model.meshes.size(), 1u);
    EXPECT_TRUE(model.textureCache.empty());
}

TEST_F(ModelTest, VerticesWithoutTextureCoordinatesGetZero) {
    // A quad and a triangle over half of it: the triangle's corners repeat three of the quad's.
    dir.write("plain.obj", "v 0 0 0\nv 2 0 0\nv 0 2 0\nv 2 2 0\nf 1 2 4 3\nf 1 2 4\n");
    Model model(file("plain.obj"));
    ASSERT_EQ(model.meshes.size(), 1u);
    const Mesh& mesh = model.meshes[0];
    EXPECT_EQ(mesh.indices.size(), 9u) << "the quad is triangulated into two";
    ASSERT_FALSE(mesh.vertices.empty());
    for (const Vertex& vertex : mesh.vertices) {
        EXPECT_EQ(vertex.texCoord, glm::vec2(0.0f));
        EXPECT_NEAR(glm::length(vertex.normal), 1.0f, 1e-4f) << "normals are generated";
    }
    // The GPU draws the same 32-byte records, each distinct one sent once.
    GLint vertexBytes = 0, indexBytes = 0;
    glBindBuffer(GL_ARRAY_BUFFER, mesh.vertexBuffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &vertexBytes);
    std::vector<Vertex> uploaded(static_cast<std::size_t>(vertexBytes) / sizeof(Vertex));
    EXPECT_EQ(uploaded.size(), 4u);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, vertexBytes, uploaded.data());
    glBindVertexArray(mesh.vertexArray);
    glGetBufferParameteriv(GL_ELEMENT_ARRAY_BUFFER, GL_BUFFER_SIZE, &indexBytes);
    std::vector<unsigned int> uploadedIndices(mesh.indices.size());
    ASSERT_EQ(static_cast<std::size_t>(indexBytes), uploadedIndices.size() * sizeof(unsigned int));
    glGetBufferSubData(GL_ELEMENT_ARRAY_BUFFER, 0, indexBytes, uploadedIndices.data());
    glBindVertexArray(0);
    for (std::size_t i = 0; i < mesh.indices.size(); ++i) {
        ASSERT_LT(uploadedIndices[i], uploaded.size());
        EXPECT_EQ(std::memcmp(&uploaded[uploadedIndices[i]], &mesh.vertices[mesh.indices[i]],
                              sizeof(Vertex)),
                  0);
    }
}

TEST_F(ModelTest, PointAndLineFacesAreLeftOut) {
    // Only points and lines: nothing to draw as triangles.
    dir.write("cloud.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\np 1 2 3 4\nl 1 2\n");
    Model cloud(file("cloud.obj"));
    ASSERT_FALSE(cloud.meshes.empty());
    for (const Mesh& mesh : cloud.meshes) {
        EXPECT_TRUE(mesh.indices.empty());
        for (const Vertex& vertex : mesh.vertices)
            EXPECT_EQ(vertex.normal, glm::vec3(0.0f)) << "no normals are made for points";
    }

    // Mixed in with a triangle, they leave just the triangle.
    dir.write("mixed.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\np 4\nf 1 2 3\nl 1 4\np 2\n");
    Model mixed(file("mixed.obj"));
    std::vector<unsigned int> indices;
    for (const Mesh& mesh : mixed.meshes)
        indices.insert(indices.end(), mesh.indices.begin(), mesh.indices.end());
    ASSERT_EQ(indices.size(), 3u);
}

TEST_F(ModelTest, NodeTransformsAreIgnored) {
    // One triangle under a node moved by (100, 0, 0) and scaled by 3.
    const float positions[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    std::string bin(reinterpret_cast<const char*>(positions), sizeof positions);
    dir.write("tri.bin", bin);
    dir.write("tri.gltf", R"({
  "asset": {"version": "2.0"},
  "scene": 0,
  "scenes": [{"nodes": [0]}],
  "nodes": [{"children": [1], "scale": [3, 3, 3]},
            {"mesh": 0, "translation": [100, 0, 0]}],
  "meshes": [{"primitives": [{"attributes": {"POSITION": 0}}]}],
  "buffers": [{"byteLength": 36, "uri": "tri.bin"}],
  "bufferViews": [{"buffer": 0, "byteOffset": 0, "byteLength": 36}],
  "accessors": [{"bufferView": 0, "componentType": 5126, "count": 3, "type": "VEC3",
                 "min": [0, 0, 0], "max": [1, 1, 0]}]
})");
    Model model(file("tri.gltf"));
    ASSERT_EQ(model.meshes.size(), 1u);
    const auto& vertices = model.meshes[0].vertices;
    ASSERT_EQ(vertices.size(), 3u);
    EXPECT_EQ(vertices[0].position, glm::vec3(0, 0, 0));
    EXPECT_EQ(vertices[1].position, glm::vec3(1, 0, 0));
    EXPECT_EQ(vertices[2].position, glm::vec3(0, 1, 0));
}

TEST_F(ModelTest, ImportFailureLeavesAnEmptyModel) {
    testing::internal::CaptureStdout();
    Model model(file("absent.obj"));
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("ERROR::ASSIMP:: ", 0), 0u) << out;
    EXPECT_GT(out.size(), std::string("ERROR::ASSIMP:: \n").size())
        << "the importer's reason follows";
    EXPECT_EQ(out.back(), '\n');
    EXPECT_TRUE(model.meshes.empty());
    EXPECT_TRUE(model.directory.empty());
}

TEST_F(ModelTest, PathWithoutSlashFindsItsTexturesBesideIt) {
    writeImage("skin.png");
    dir.write("plain.mtl", "newmtl skin\nmap_Kd skin.png\n");
    dir.write("plain.obj", "mtllib plain.mtl\nusemtl skin\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    WorkingDirectory cwd(dir.path());
    testing::internal::CaptureStdout();
    Model model("plain.obj");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(model.directory, ".");
    ASSERT_EQ(model.textureCache.size(), 1u);
    glBindTexture(GL_TEXTURE_2D, model.textureCache[0].id);
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 2) << "the image was loaded";
}

TEST_F(ModelTest, SeeThroughTexturesAloneBlendAndTheBoundsHoldEveryVertex) {
    writeImage("rgb.png");
    const unsigned char rgba[4] = {255, 255, 255, 128};
    ASSERT_NE(stbi_write_png(file("rgba.png").c_str(), 1, 1, 4, rgba, 4), 0);
    dir.write("m.mtl", "newmtl solid\nmap_Kd rgb.png\nnewmtl glass\nmap_Kd rgba.png\n");
    dir.write("solid.obj", "mtllib m.mtl\nusemtl solid\nv -1 0 0\nv 3 0 0\nv -1 2 0\nf 1 2 3\n");
    dir.write("glass.obj", "mtllib m.mtl\nusemtl glass\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    const Model solid(file("solid.obj"));
    const Model glass(file("glass.obj"));
    EXPECT_TRUE(solid.opaque);
    EXPECT_FALSE(glass.opaque);
    EXPECT_EQ(solid.bounds.centre, glm::vec3(1, 1, 0));
    EXPECT_FLOAT_EQ(solid.bounds.radius, std::sqrt(5.0f));

    // Drawn into a scene with blending off, glass is blended over what lies
    // behind it, and blending is left off again.
    dir.write("s.vert", samplerVertex);
    dir.write("one.frag",
              "#version 430 core\nout vec4 FragColor;\nuniform sampler2D texture_diffuse1;\n"
              "void main() { FragColor = texture(texture_diffuse1, vec2(0.5)); }\n");
    Shader shader(file("s.vert").c_str(), file("one.frag").c_str());
    shader.bind();
    OffscreenTarget target(4, 4);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glass.draw(shader);
    EXPECT_NEAR(target.pixel(2, 2)[0], 128, 2);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}
