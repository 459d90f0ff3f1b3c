// The particle ring on the GPU: instance buffer, attributes 3-6, the draw.
#include <cstdint>
#include <memory>
#include <utility>

#include <glm/gtc/matrix_transform.hpp>

#include "game/particles.hpp"
#include "gl_fixture.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"

namespace {

class ParticlesGLTest : public GLTest {
  protected:
    TempDir dir;
    std::unique_ptr<glm::mat4[]> matrices = std::make_unique<glm::mat4[]>(particleRingSize);

    // One triangle covering the lower left half of clip space.
    Model triangleModel() const {
        dir.write("rock.obj", "v -1 -1 0\nv 1 -1 0\nv -1 1 0\nvn 0 0 1\nf 1//1 2//1 3//1\n");
        return Model((dir.path() / "rock.obj").string());
    }

    static Shader particlesShader() {
        Shader shader(FROSTMOOR_SOURCE_DIR "/run/particles.vert",
                      FROSTMOOR_SOURCE_DIR "/run/particles.frag");
        shader.bind();
        shader.setUniformMat4("view", glm::mat4(1.0f));
        shader.setUniformMat4("projection", glm::mat4(1.0f));
        return shader;
    }

    static std::vector<glm::mat4> bufferContents(unsigned int buffer) {
        std::vector<glm::mat4> contents(particleRingSize);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, particleRingSize * sizeof(glm::mat4),
                           contents.data());
        return contents;
    }
};

} // namespace

TEST_F(ParticlesGLTest, InstanceBufferFeedsAttributesThreeToSix) {
    const Model rock = triangleModel();
    ASSERT_EQ(rock.meshes.size(), 1u);
    buildParticleRing(matrices.get(), 1);
    const unsigned int buffer = createParticleBuffer(rock, matrices.get());

    GLint bound = 0, size = 0, usage = 0;
    glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &bound);
    EXPECT_EQ(static_cast<unsigned int>(bound), buffer);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_USAGE, &usage);
    EXPECT_EQ(size, 320000);
    EXPECT_EQ(usage, GL_DYNAMIC_DRAW);

    glBindVertexArray(rock.meshes[0].vertexArray);
    for (GLuint k = 0; k < 4; ++k) {
        GLint enabled = 0, components = 0, stride = 0, divisor = 0, source = 0;
        void* offset = nullptr;
        glGetVertexAttribiv(3 + k, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(3 + k, GL_VERTEX_ATTRIB_ARRAY_SIZE, &components);
        glGetVertexAttribiv(3 + k, GL_VERTEX_ATTRIB_ARRAY_STRIDE, &stride);
        glGetVertexAttribiv(3 + k, GL_VERTEX_ATTRIB_ARRAY_DIVISOR, &divisor);
        glGetVertexAttribiv(3 + k, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &source);
        glGetVertexAttribPointerv(3 + k, GL_VERTEX_ATTRIB_ARRAY_POINTER, &offset);
        EXPECT_EQ(enabled, GL_TRUE) << k;
        EXPECT_EQ(components, 4) << k;
        EXPECT_EQ(stride, 64) << k;
        EXPECT_EQ(divisor, 1) << k;
        EXPECT_EQ(static_cast<unsigned int>(source), buffer) << k;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(offset), 16u * k) << k;
    }
    glBindVertexArray(0);
    EXPECT_EQ(bufferContents(buffer)[4321], matrices[4321]);

    // A frame's rocks in view replace the contents at the same size.
    std::swap(matrices[0], matrices[4321]);
    uploadParticles(buffer, matrices.get());
    glGetBufferParameteriv(GL_ARRAY_BUFFER, GL_BUFFER_SIZE, &size);
    EXPECT_EQ(size, 320000);
    EXPECT_EQ(bufferContents(buffer)[4321], matrices[4321]);
}

TEST_F(ParticlesGLTest, EveryInstanceIsDrawnWithItsOwnMatrix) {
    const Model rock = triangleModel();
    // All but the last instance lie off screen: a drawn triangle proves that
    // all instances ran, each with its own matrix.
    for (int i = 0; i < particleRingSize; ++i)
        matrices[i] = glm::translate(glm::mat4(1.0f), glm::vec3(5.0f, 5.0f, 0.0f));
    matrices[particleRingSize - 1] = glm::mat4(1.0f);
    createParticleBuffer(rock, matrices.get());

    OffscreenTarget target(16, 16);
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const Shader shader = particlesShader();
    drawParticles(shader, rock, particleRingSize);
    EXPECT_EQ(target.pixel(2, 2)[0], 0);     // inside the triangle: untextured black
    EXPECT_EQ(target.pixel(13, 13)[0], 255); // outside: the clear colour
}

TEST_F(ParticlesGLTest, RockWithoutTexturesBindsNoTexture) {
    testing::internal::CaptureStdout();
    const Model rock((dir.path() / "absent.obj").string());
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(rock.textureCache.empty());
    createParticleBuffer(rock, matrices.get()); // still created and filled

    GLuint stale = 0;
    glGenTextures(1, &stale);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, stale);
    const Shader shader = particlesShader();
    drawParticles(shader, rock, particleRingSize);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    glDeleteTextures(1, &stale);
}
