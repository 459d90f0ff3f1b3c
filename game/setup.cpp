#include "game/setup.hpp"

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "audio/soundscape.hpp"
#include "game/lightmap_cube.hpp"
#include "game/loop.hpp"
#include "game/particles.hpp"
#include "game/physics.hpp"
#include "game/props.hpp"
#include "game/rounds.hpp"
#include "render/texture.hpp"

#include <glad/gl.h>
#include <GLFW/glfw3.h>

glm::mat4 textProjection(int width, int height) {
    glm::mat4 projection(1.0f);
    projection[0][0] = 2.0f / static_cast<float>(width);
    projection[1][1] = 2.0f / static_cast<float>(height);
    projection[2][2] = -1.0f;
    projection[3][0] = -1.0f;
    projection[3][1] = -1.0f;
    return projection;
}

namespace {
void createLightmapBuffers(Scene& scene) {
    glGenVertexArrays(1, &scene.lightmapVAO);
    glGenBuffers(1, &scene.lightmapVBO);
    glBindVertexArray(scene.lightmapVAO);
    glBindBuffer(GL_ARRAY_BUFFER, scene.lightmapVBO);
    glBufferData(GL_ARRAY_BUFFER, sizeof(lightmapCubeVertices), lightmapCubeVertices,
                 GL_STATIC_DRAW);
    constexpr GLsizei stride = 8 * sizeof(float);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, reinterpret_cast<void*>(0));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(3 * sizeof(float)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<void*>(6 * sizeof(float)));
    glEnableVertexAttribArray(2);
    glBindVertexArray(0);
}
} // namespace

void setupScene(Scene& scene, const LoopHooks& hooks) {
    scene.state.bodyTemperature = 0.0f;

    scene.textShader.emplace("Text.vert", "Text.frag");
    scene.lightingShader.emplace("Lighting.vert", "Lighting.frag");
    scene.toonShader.emplace("toon.vert", "toon.frag");
    scene.particlesShader.emplace("particles.vert", "particles.frag");
    scene.lightmapsShader.emplace("lightmaps.vert", "lightmaps.frag");
    hooks.setupDone(SetupPhase::Shaders);

    scene.skybox.emplace();
    hooks.setupDone(SetupPhase::Skybox);

    scene.textShader->bind();
    scene.textShader->setUniformMat4("projection", textProjection(screenWidth, screenHeight));

    scene.groundModel.emplace("../assets/objects/map/boden1.obj");
    scene.snowmanModel.emplace("../assets/objects/snowman/snowi.obj");
    scene.iceCubeModel.emplace("../assets/objects/icecube/icecube.obj");
    scene.cactusModel.emplace("../assets/objects/cactus-low-poly/source/cactus._testobj.obj");
    scene.rockModel.emplace("../assets/objects/rock/rock.obj");
    scene.boulderModel.emplace("../assets/objects/rock/rock_blendswap.obj");
    scene.helicopterModel.emplace("../assets/objects/helicopter/HelicopterTest.obj");
    scene.hatModel.emplace("../assets/objects/snowman/hat.obj");
    scene.larvaModel.emplace("../assets/objects/74307_Alien_Larvae/Larve1.obj");
    hooks.setupDone(SetupPhase::Models);

    for (bool& collected : scene.state.iceCubeCollected)
        collected = false;
    scene.state.gameWon = false;

    createActors();
    hooks.setupDone(SetupPhase::Physics);

    scene.particleMatrices = std::make_unique<glm::mat4[]>(particleCount);
    scene.visibleParticles = std::make_unique<glm::mat4[]>(particleCount);
    scene.ringSeed = static_cast<unsigned int>(glfwGetTime());
    buildParticleRing(scene.particleMatrices.get(), scene.ringSeed);
    scene.particleInstanceBuffer =
        createParticleBuffer(*scene.rockModel, scene.particleMatrices.get());
    hooks.setupDone(SetupPhase::Ring);

    createLightmapBuffers(scene);

    if (lightmaps) {
        scene.diffuseMap = loadTextureFile("../assets/objects/rock/rock.jpg");
        scene.specularMap = loadTextureFile("../assets/objects/rock/rock_specular.jpg");
        scene.lightmapsShader->bind();
        scene.lightmapsShader->setUniformInt("material.diffuse", 0);
        scene.lightmapsShader->setUniformInt("material.specular", 1);
    }
    hooks.setupDone(SetupPhase::Textures);

    startSound(soundVolume, helicopterPosition);
    hooks.setupDone(SetupPhase::Sounds);

    // After the ring: its seed is the clock's whole seconds at that point,
    // which the ghost's program must not push past a second.
    if (ghostEnabled)
        scene.ghostShader.emplace("ghost.vert", "ghost.frag");
    startRounds();

    lastFrame = static_cast<float>(glfwGetTime());
}

void teardownScene(Scene& scene) {
    scene.larvaModel.reset();
    scene.hatModel.reset();
    scene.helicopterModel.reset();
    scene.boulderModel.reset();
    scene.rockModel.reset();
    scene.cactusModel.reset();
    scene.iceCubeModel.reset();
    scene.snowmanModel.reset();
    scene.groundModel.reset();
    stopSound();
    finishRounds();
}
