#pragma once
// Everything the frames draw with, built once before the first frame.
#include "game/loop_hooks.hpp"
#include "game/particles.hpp"
#include "game/rules.hpp"
#include "render/model.hpp"
#include "render/shader.hpp"
#include "render/skybox.hpp"

#include <glm/glm.hpp>

#include <memory>
#include <optional>

inline constexpr int particleCount = particleRingSize;

struct Scene {
    GameState state;

    std::optional<Shader> textShader;
    std::optional<Shader> lightingShader;
    std::optional<Shader> toonShader;
    std::optional<Shader> particlesShader;
    std::optional<Shader> lightmapsShader;
    std::optional<Shader> ghostShader; // only with [game] ghost on
    std::optional<Skybox> skybox;

    // In loading order; torn down in reverse.
    std::optional<Model> groundModel;
    std::optional<Model> snowmanModel;
    std::optional<Model> iceCubeModel;
    std::optional<Model> cactusModel;
    std::optional<Model> rockModel;
    std::optional<Model> boulderModel;
    std::optional<Model> helicopterModel;
    std::optional<Model> hatModel;
    std::optional<Model> larvaModel;

    unsigned int diffuseMap = 0;
    unsigned int specularMap = 0;

    std::unique_ptr<glm::mat4[]> particleMatrices;
    unsigned ringSeed = 0; // the ring's start, which every new round goes back to
    // The rocks last sent to the instance buffer: those that may show under
    // the camera of sentForView.
    std::unique_ptr<glm::mat4[]> visibleParticles;
    int visibleParticleCount = 0;
    glm::mat4 sentForView{0.0f};
    unsigned int particleInstanceBuffer = 0;
    unsigned int lightmapVAO = 0;
    unsigned int lightmapVBO = 0;
};

// The orthographic window mapping of the text shader: 0..width, 0..height.
glm::mat4 textProjection(int width, int height);

// Builds every shader, model, texture and buffer, the physics bodies and the
// particle ring, in the game's fixed order, starts the sound, reads the
// records, and stamps the first frame time. The hooks hear each part finish.
void setupScene(Scene& scene, const LoopHooks& hooks = {});

// Destroys the models, newest first, and stops the sound.
void teardownScene(Scene& scene);
