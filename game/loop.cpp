#include "game/loop.hpp"

#include "app/camera.hpp"
#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "app/startup.hpp"
#include "audio/soundscape.hpp"
#include "game/hud.hpp"
#include "game/pause_menu.hpp"
#include "game/physics.hpp"
#include "game/rounds.hpp"
#include "game/rules.hpp"
#include "game/scene.hpp"
#include "game/setup.hpp"
#include "game/sound_cues.hpp"

#include <glad/gl.h>
#include <GLFW/glfw3.h>
#include <glm/gtc/matrix_transform.hpp>

float lastFrame = 0.0f;
float deltaTime = 0.0f;
float physicsAccumulator = 0.0f;
float endTimer = 0.0f;
bool paused = false;

void advanceClock(float now) {
    deltaTime = now - lastFrame;
    lastFrame = now;
    if (!paused)
        physicsAccumulator += deltaTime;
}

bool physicsStepDue() {
    return physicsAccumulator > physicsStep;
}

bool advancePhysics() {
    if (paused || !physicsStepDue())
        return false;
    stepPhysics();
    return true;
}

namespace {
// The sound stops with the game's clock and goes on with it.
void followPause() {
    static bool soundPaused = false; // main thread only
    if (paused != soundPaused)
        pauseSound(paused);
    soundPaused = paused;
}

// Tells the mixer what the frame changed, heard from the camera.
void soundTheFrame(const FrameMoment& before, const GameState& state, bool stepped) {
    if (paused)
        return;
    static SoundFrame sound; // main thread only; refilled every frame
    CubeImpact impacts[maxCubeImpacts];
    const int impactCount = stepped ? lastStepImpacts(impacts) : 0;
    tellSounds(before, momentOf(state), impacts, impactCount, sound);
    sound.listenerPosition = camera.position;
    sound.listenerFront = camera.front;
    sound.listenerUp = camera.up;
    playSoundFrame(sound, soundOn, deltaTime);
}
// What the pause menu changed that the window and the mixer must carry out,
// in the frame it changed.
void applyMenuRequests(Scene& scene) {
    // For two seconds after a switch the picture's size is read each frame:
    // a window manager may take its time. Only then, for it is a round
    // trip to the X server.
    static float watchSizeUntil = -1.0f; // main thread only
    const MenuRequests asked = takeMenuRequests();
    if (asked.volume)
        setSoundVolume(soundVolume);
    if (asked.ghost && !scene.ghostShader)
        scene.ghostShader.emplace("ghost.vert", "ghost.frag");
    if (asked.window) {
        applyWindowMode();
        watchSizeUntil = lastFrame + 2.0f;
    }
    if (asked.window || (lastFrame < watchSizeUntil && followPictureSize())) {
        scene.textShader->bind();
        scene.textShader->setUniformMat4("projection", textProjection(screenWidth, screenHeight));
    }
}
} // namespace

bool runFrame(Scene& scene, const LoopHooks& hooks) {
    // Last frame is on screen: the end text it drew shows before any fsync.
    releaseRecordsSave();
    glClearColor(skyClearColour.red, skyClearColour.green, skyClearColour.blue,
                 skyClearColour.alpha);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPolygonMode(GL_FRONT_AND_BACK, wireframe ? GL_LINE : GL_FILL);

    advanceClock(static_cast<float>(glfwGetTime()));
    FrameMoment before = momentOf(scene.state);
    processInput();
    applyMenuRequests(scene);
    if (playAgainAsked &&
        endTextFor(scene.state.bodyTemperature, scene.state.gameWon) != EndText::None) {
        startNewRound(scene);
        before = momentOf(scene.state); // the old round's end is no news for the ear
    }
    followPause();
    hooks.frameDone(FramePhase::Input);
    const bool stepped = advancePhysics();
    hooks.frameDone(FramePhase::Physics);

    const glm::mat4 view = camera.getViewMatrix();
    const glm::mat4 projection = glm::perspective(
        toRadians(camera.zoom), static_cast<float>(screenWidth) / static_cast<float>(screenHeight),
        0.1f, 10000.0f);
    const glm::vec3 viewPos = camera.position;
    setParticleCamera(scene, view, projection);

    const EndText endText = checkEndStates(scene.state);
    drawEndText(*scene.textShader, endText, winTimesText());
    if (endScreenOver())
        return false;
    applyHeat(scene.state);
    hooks.frameDone(FramePhase::Rules);
    drawStatusTexts(*scene.textShader, scene.state);
    drawPausedText(*scene.textShader, paused, endText != EndText::None && showHud);
    hooks.frameDone(FramePhase::Texts);

    drawScene(scene, view, projection, viewPos, particleAnimation && !paused, hooks);
    trackRound(scene.state, endText);
    soundTheFrame(before, scene.state, stepped);
    hooks.frameDone(FramePhase::Sound);
    return true;
}

void gameLoop() {
    gameLoop(LoopHooks{});
}

void gameLoop(const LoopHooks& hooks) {
    Scene scene;
    setupScene(scene, hooks);
    if (hooks.afterSetup)
        hooks.afterSetup(scene);
    while (!glfwWindowShouldClose(window)) {
        if (hooks.beforeFrame)
            hooks.beforeFrame(scene);
        if (!runFrame(scene, hooks))
            break;
        glfwSwapBuffers(window);
        glfwPollEvents();
        if (hooks.keepGoing && !hooks.keepGoing(scene))
            break;
    }
    teardownScene(scene);
}
