#pragma once
// The frame loop and its time keeping.
#include "game/loop_hooks.hpp"

extern float lastFrame;          // glfwGetTime() of the previous frame
extern float deltaTime;          // seconds since the previous frame
extern float physicsAccumulator; // frame time not yet simulated
extern float endTimer;           // seconds an end text has been shown
extern bool paused;              // P: the game's clock stands still

inline constexpr float physicsStep = 1.0f / 60.0f;

// Starts a frame at time now: sets deltaTime and lastFrame and, unless the
// game is paused, feeds the physics accumulator.
void advanceClock(float now);

// The physics rule of a frame: strictly more than one step's worth of time
// pending gives exactly one step, never more.
bool physicsStepDue();

// The physics of a frame: one step when it is due, however much is pending;
// none while paused. Returns whether it stepped.
bool advancePhysics();

// The sky-blue every frame is cleared to.
struct ClearColour {
    float red, green, blue, alpha;
};
inline constexpr ClearColour skyClearColour{0.529f, 0.808f, 0.922f, 1.0f};

// Everything of one frame up to the buffer swap: clear, clock, input,
// physics, camera, end states, heat, texts, the scene, and then what the
// frame sounds like. Returns false when
// the end screen has run its course; the frame is then cut short before the
// heat and anything else is drawn. The hooks hear each part finish.
bool runFrame(Scene& scene, const LoopHooks& hooks = {});

// Builds the scene, runs frames until the window should close or the end
// screen has been shown long enough, then tears the scene down.
void gameLoop();
// The same, for a driver that times or steers it through the hooks; frames
// also end when its keepGoing says so.
void gameLoop(const LoopHooks& hooks);
