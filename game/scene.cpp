#include "game/scene.hpp"

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "game/lightmap_cube.hpp"
#include "game/particles.hpp"
#include "game/physics.hpp"
#include "game/player.hpp"
#include "game/props.hpp"
#include "game/rounds.hpp"
#include "render/frustum.hpp"
#include "render/lighting.hpp"

#include <glad/gl.h>
#include <glm/gtc/matrix_transform.hpp>

namespace {
const glm::vec3 lightPosition(0.0f, 20.0f, 0.0f);

Model& modelOf(Scene& scene, Prop prop) {
    switch (prop) {
    case Prop::IceCube:
        return *scene.iceCubeModel;
    case Prop::Cactus:
        return *scene.cactusModel;
    case Prop::Larva:
        return *scene.larvaModel;
    case Prop::Hat:
        return *scene.hatModel;
    case Prop::Helicopter:
        break;
    }
    return *scene.helicopterModel;
}

// Props wholly outside the view are planned (their rules run) but not sent.
void drawProps(Scene& scene, Shader& shader, const Frustum& view) {
    glm::mat4 cubes[iceCubeCount];
    const int found = readIceCubeMatrices(cubes);
    static PropPlan plan; // main thread only; keeps the frame free of allocation
    planProps(scene.state, cubes, found, playerPosition, waddleAngle, plan);
    for (int i = 0; i < plan.count; ++i) {
        const PropDraw& draw = plan.draws[static_cast<std::size_t>(i)];
        const Model& model = modelOf(scene, draw.prop);
        if (!mayBeVisible(view, placedSphere(model.bounds, draw.model)))
            continue;
        shader.setUniformMat4("model", draw.model);
        model.draw(shader);
    }
}

// Sends the rocks that may show. Unanimated rocks stand still, so under an
// unmoved camera last frame's buffer still holds the right ones.
void sendVisibleRing(Scene& scene, const glm::mat4& projectionView, const Frustum& view,
                     bool ringMoves) {
    if (ringMoves)
        animateParticles(scene.particleMatrices.get(), scene.state.bodyTemperature);
    else if (projectionView == scene.sentForView)
        return;
    scene.visibleParticleCount =
        gatherVisibleParticles(scene.particleMatrices.get(), particleCount, scene.rockModel->bounds,
                               view, scene.visibleParticles.get());
    uploadParticles(scene.particleInstanceBuffer, scene.visibleParticles.get());
    scene.sentForView = projectionView;
}

// The ghost of the best run, pale and see-through: drawn last and leaving
// the depth buffer alone, so that nothing else looks any different.
void drawGhost(Scene& scene, const glm::mat4& view, const glm::mat4& projection,
               glm::vec3 viewPos) {
    PathSample pose;
    if (!scene.ghostShader || !ghostPose(pose))
        return;
    Shader& shader = *scene.ghostShader;
    shader.bind();
    shader.setUniformMat4("view", view);
    shader.setUniformMat4("projection", projection);
    shader.setUniformVec3("viewPos", viewPos);
    glDepthMask(GL_FALSE);
    shader.setUniformMat4("model", ghostBodyMatrix(pose));
    scene.snowmanModel->draw(shader);
    shader.setUniformMat4("model", ghostHatMatrix(pose));
    scene.hatModel->draw(shader);
    glDepthMask(GL_TRUE);
}
} // namespace

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

void setParticleCamera(Scene& scene, const glm::mat4& view, const glm::mat4& projection) {
    scene.particlesShader->bind();
    scene.particlesShader->setUniformMat4("projection", projection);
    scene.particlesShader->setUniformMat4("view", view);
}

void drawScene(Scene& scene, const glm::mat4& view, const glm::mat4& projection, glm::vec3 viewPos,
               bool ringMoves, const LoopHooks& hooks) {
    // The scene is opaque; the texts drawn before it and after blend.
    glDisable(GL_BLEND);

    // Under cel shading the whole lit scene takes the toon program, so every
    // lit object below is drawn with the program the snowman left current.
    Shader& shader = celShading ? *scene.toonShader : *scene.lightingShader;
    drawGround(*scene.groundModel, viewPos, shader, view, projection);
    // The sky lies on the far plane, so the depth test leaves out the pixels
    // the ground already covers instead of shading the whole window. It comes
    // straight after the ground rather than last: the two are the frame's
    // biggest fills, and flushing them together lets a software renderer's
    // raster threads shade them while this thread prepares the remaining
    // draws. The few sky pixels the models cover later cost less than the
    // wait at the swap they save. To a hardware driver it is an early
    // submission.
    scene.skybox->draw(view, projection);
    glFlush();
    drawSnowman(*scene.snowmanModel, viewPos, shader, view, projection,
                scene.state.bodyTemperature);

    const glm::mat4 projectionView = projection * view;
    const Frustum inView = frustumOf(projectionView);
    drawProps(scene, shader, inView);

    hooks.frameDone(FramePhase::Scene);
    sendVisibleRing(scene, projectionView, inView, ringMoves);
    hooks.frameDone(FramePhase::Particles);
    drawParticles(*scene.particlesShader, *scene.rockModel, scene.visibleParticleCount);

    drawBoulder(scene, view, projection, viewPos);
    glEnable(GL_BLEND);
    drawGhost(scene, view, projection, viewPos);
    hooks.frameDone(FramePhase::LateScene);
}
