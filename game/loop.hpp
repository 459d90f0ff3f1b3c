#pragma once
// The frame loop and its time keeping.

extern float lastFrame;          // glfwGetTime() of the previous frame
extern float deltaTime;          // seconds since the previous frame
extern float physicsAccumulator; // frame time not yet simulated
extern float endTimer;           // seconds an end text has been shown

inline constexpr float physicsStep = 1.0f / 60.0f;

// Starts a frame at time now: sets deltaTime and lastFrame and feeds the
// physics accumulator.
void advanceClock(float now);

// The physics rule of a frame: strictly more than one step's worth of time
// pending gives exactly one step, never more.
bool physicsStepDue();

struct Scene;

// Everything of one frame up to the buffer swap: clear, clock, input,
// physics, camera, end states, heat, texts and the scene. Returns false when
// the end screen has run its course; the frame is then cut short before the
// heat and anything else is drawn.
bool runFrame(Scene& scene);

// Builds the scene, runs frames until the window should close or the end
// screen has been shown long enough, then tears the scene down.
void gameLoop();
