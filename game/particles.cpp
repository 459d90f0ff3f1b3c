#include "game/particles.hpp"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <glad/gl.h>
#include <glm/gtc/matrix_transform.hpp>

#include "render/frustum.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"

namespace {
// A jitter in [-2.5, 2.49] from one rand() draw.
float ringJitter() {
    return static_cast<float>(std::rand() % 500) / 100.0f - 2.5f;
}

// Attributes 3-6 are the instance matrix's columns, one matrix per instance;
// they read the buffer bound to GL_ARRAY_BUFFER.
void pointInstanceAttributes(const Model& rockModel) {
    constexpr GLsizei stride = sizeof(glm::mat4);
    for (const Mesh& mesh : rockModel.meshes) {
        glBindVertexArray(mesh.vertexArray);
        for (GLuint k = 0; k < 4; ++k) {
            glEnableVertexAttribArray(3 + k);
            glVertexAttribPointer(3 + k, 4, GL_FLOAT, GL_FALSE, stride,
                                  reinterpret_cast<const void*>(std::uintptr_t(16 * k)));
        }
        for (GLuint k = 0; k < 4; ++k)
            glVertexAttribDivisor(3 + k, 1);
        glBindVertexArray(0);
    }
}
} // namespace

void buildParticleRing(glm::mat4* matrices, unsigned seed) {
    for (int i = 0; i < particleRingSize; ++i)
        matrices[i] = glm::mat4(1.0f);
    std::srand(seed);
    for (int i = 0; i < particleRingSize; ++i) {
        const float angle = static_cast<float>(i) / 5000.0f * 360.0f; // used as radians
        const float x = std::sin(angle) * particleRingRadius + ringJitter() + particleRingCentre.x;
        const float y = ringJitter() * 8.0f + particleRingCentre.y;
        const float z = std::cos(angle) * particleRingRadius + ringJitter() + particleRingCentre.z;
        glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(x, y, z));

        const float s = static_cast<float>(
            (static_cast<double>(static_cast<float>(std::rand() % 20) / 100.0f) + 0.05) * 0.25);
        model = glm::scale(model, glm::vec3(s));

        const float r = static_cast<float>(std::rand() % 360);
        model = glm::rotate(model, r, glm::vec3(0.4f, 0.6f, 0.8f));
        matrices[i] = model;
    }
}

void animateParticles(glm::mat4* matrices, float bodyTemperature) {
    for (int i = 0; i < particleRingSize; ++i) {
        const float a = static_cast<float>(i) * 360.0f / 5000.0f + bodyTemperature;
        const glm::vec3 v(std::sin(-a), 0.0f, -std::cos(a));
        matrices[i] = glm::translate(matrices[i], v);
    }
}

unsigned int createParticleBuffer(const Model& rockModel, const glm::mat4* matrices) {
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    uploadParticles(buffer, matrices);
    pointInstanceAttributes(rockModel);
    return buffer;
}

int gatherVisibleParticles(const glm::mat4* matrices, int count, const Sphere& rockBounds,
                           const Frustum& view, glm::mat4* visible) {
    int shown = 0;
    for (int i = 0; i < count; ++i)
        if (mayBeVisible(view, placedSphere(rockBounds, matrices[i])))
            visible[shown++] = matrices[i];
    return shown;
}

void uploadParticles(unsigned int instanceBuffer, const glm::mat4* matrices) {
    glBindBuffer(GL_ARRAY_BUFFER, instanceBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(sizeof(glm::mat4)) * particleRingSize, matrices,
                 GL_DYNAMIC_DRAW);
}

void drawParticles(const Shader& particlesShader, const Model& rockModel, int count) {
    particlesShader.bind();
    particlesShader.setUniformInt("texture_diffuse1", 0);
    glActiveTexture(GL_TEXTURE0);
    // A rock model whose texture failed to load has an empty cache: draw
    // untextured rather than read past its end.
    const GLuint texture = rockModel.textureCache.empty() ? 0 : rockModel.textureCache.front().id;
    glBindTexture(GL_TEXTURE_2D, texture);
    for (const Mesh& mesh : rockModel.meshes) {
        glBindVertexArray(mesh.vertexArray);
        glDrawElementsInstanced(GL_TRIANGLES, static_cast<GLsizei>(mesh.indices.size()),
                                GL_UNSIGNED_INT, nullptr, count);
        glBindVertexArray(0);
    }
}
