#pragma once
// What a driver other than the game (the benchmark, the soak) may ask of the
// set-up and the frame loop. The game passes none; each hook left empty
// costs one test where it would be called.
#include <functional>

struct Scene;

// The parts of the set-up, in the order they finish.
enum class SetupPhase { Shaders, Skybox, Models, Physics, Ring, Textures, Sounds };
inline constexpr int setupPhaseCount = 7;

// The parts of a frame, in the order they finish. LateScene is what the
// scene draws after the particle ring is sent: the ring's rocks, the
// boulder and the ghost.
enum class FramePhase { Input, Physics, Rules, Texts, Scene, Particles, LateScene, Sound };
inline constexpr int framePhaseCount = 8;

struct LoopHooks {
    std::function<void(SetupPhase)> setupPhaseDone; // as each part of the set-up finishes
    std::function<void(Scene&)> afterSetup;         // once, before the first frame
    std::function<void(Scene&)> beforeFrame;        // before every frame
    std::function<void(FramePhase)> framePhaseDone; // as each part of a frame finishes
    std::function<bool(Scene&)> keepGoing;          // after each shown frame; false ends the loop

    void setupDone(SetupPhase finished) const {
        if (setupPhaseDone)
            setupPhaseDone(finished);
    }
    void frameDone(FramePhase finished) const {
        if (framePhaseDone)
            framePhaseDone(finished);
    }
};
