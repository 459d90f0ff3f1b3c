#include "game/scene.hpp"

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "game/lightmap_cube.hpp"
#include "game/loop.hpp"
#include "game/particles.hpp"
#include "game/physics.hpp"
#include "game/player.hpp"
#include "game/rules.hpp"
#include "game/scatter.hpp"
#include "render/lighting.hpp"

#include <glad/gl.h>
#include <glm/gtc/matrix_transform.hpp>

namespace {
const glm::vec3 lightPosition(0.0f, 20.0f, 0.0f);
const glm::vec3 helicopterPosition(400.0f, 0.0f, 50.0f);

void drawIceCubes(Scene& scene, Shader& shader) {
    glm::mat4 cubes[iceCubeCount];
    readIceCubeMatrices(cubes);
    for (int i = 0; i < iceCubeCount; ++i) {
        scene.state.iceCubePosition[i] = cubes[i][3];
        collectIceCube(scene.state, i, playerPosition);
        if (!scene.state.iceCubeCollected[i]) {
            const glm::mat4 model = glm::scale(cubes[i], glm::vec3(1.5f));
            shader.setUniformMat4("model", model);
            scene.iceCubeModel->draw(shader);
        }
    }
}

void drawObstacles(Scene& scene, Shader& shader) {
    const ScatterPositions positions = scatterPositions();
    for (int i = 0; i < scatterCount; ++i) {
        const glm::mat4 model = glm::translate(glm::mat4(1.0f), positions[i]);
        touchObstacle(scene.state, glm::vec3(model[3]), playerPosition);
        shader.setUniformMat4("model", model);
        (i < cactusCount ? *scene.cactusModel : *scene.larvaModel).draw(shader);
    }
}

void drawHelicopter(Scene& scene, Shader& shader) {
    if (scene.state.gameWon)
        return;
    glm::mat4 model = glm::translate(glm::mat4(1.0f), helicopterPosition);
    model = glm::scale(model, glm::vec3(5.0f));
    reachHelicopter(scene.state, helicopterPosition, playerPosition);
    shader.setUniformMat4("model", model);
    scene.helicopterModel->draw(shader);
}

void drawBoulder(Scene& scene, const glm::mat4& view, const glm::mat4& projection,
                 glm::vec3 viewPos) {
    Shader& shader = *scene.lightmapsShader;
    bindBoulderLighting(shader, view, projection, viewPos);
    if (lightmaps) {
        glActiveTexture(GL_TEXTURE0);
        glBindTexture(GL_TEXTURE_2D, scene.diffuseMap);
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, scene.specularMap);
        glBindVertexArray(scene.lightmapVAO);
        glDrawArrays(GL_TRIANGLES, 0, lightmapCubeVertexCount);
    }
    scene.boulderModel->draw(shader);
}
} // namespace

void bindBoulderLighting(Shader& shader, const glm::mat4& view, const glm::mat4& projection,
                         glm::vec3 viewPos) {
    shader.bind();
    shader.setUniformVec3("light.position", lightPosition);
    shader.setUniformVec3("viewPos", viewPos);
    const float ambient = 0.2f * brightness;
    shader.setUniformVec3("light.ambient", ambient, ambient, ambient);
    shader.setUniformVec3("light.diffuse", 0.5f, 0.5f, 0.5f);
    shader.setUniformVec3("light.specular", 0.8f, 0.8f, 0.8f);
    shader.setUniformFloat("material.shininess", 64.0f);
    shader.setUniformMat4("view", view);
    shader.setUniformMat4("projection", projection);
    glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(30.0f, 1.35f, -25.0f));
    model = glm::scale(model, glm::vec3(4.5f));
    shader.setUniformMat4("model", model);
}

glm::mat4 hatMatrix(glm::vec3 playerPos, float waddle, float bodyTemperature) {
    const float f = snowmanScale(bodyTemperature);
    glm::mat4 model = glm::translate(glm::mat4(1.0f), playerPos);
    model = glm::rotate(model, waddle, glm::vec3(1.0f, 0.0f, 0.0f));
    model = glm::scale(model, glm::vec3(f));
    return glm::translate(model, glm::vec3(3.0f, 1.0f, 0.5f));
}

void setParticleCamera(Scene& scene, const glm::mat4& view, const glm::mat4& projection) {
    scene.particlesShader->bind();
    scene.particlesShader->setUniformMat4("projection", projection);
    scene.particlesShader->setUniformMat4("view", view);
}

void drawScene(Scene& scene, const glm::mat4& view, const glm::mat4& projection,
               glm::vec3 viewPos) {
    scene.skybox->draw(view, projection);

    // Under cel shading the whole lit scene takes the toon program, so every
    // lit object below is drawn with the program the snowman left current.
    Shader& shader = celShading ? *scene.toonShader : *scene.lightingShader;
    drawGround(*scene.groundModel, viewPos, shader, view, projection);
    // The ground is the frame's biggest fill. Flushing here lets a software
    // renderer's raster threads shade it while this thread prepares the
    // remaining draws; to a hardware driver it is an early submission.
    glFlush();
    drawSnowman(*scene.snowmanModel, viewPos, shader, view, projection,
                scene.state.bodyTemperature);

    drawIceCubes(scene, shader);
    drawObstacles(scene, shader);
    shader.setUniformMat4("model",
                          hatMatrix(playerPosition, waddleAngle, scene.state.bodyTemperature));
    scene.hatModel->draw(shader);
    drawHelicopter(scene, shader);

    framePhaseDone(FramePhase::Scene);
    if (particleAnimation)
        animateAndUploadParticles(*scene.rockModel, scene.particleMatrices.get(),
                                  scene.particleInstanceBuffer, scene.state.bodyTemperature);
    framePhaseDone(FramePhase::Particles);
    drawParticles(*scene.particlesShader, *scene.rockModel, particleCount);

    drawBoulder(scene, view, projection, viewPos);
    framePhaseDone(FramePhase::Scene);
}
