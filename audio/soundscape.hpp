#pragma once
// What the player hears: the desert wind, the snowman's steps, the cubes,
// the heat, the helicopter and the end of the game. The game says what
// happened in a frame; nothing here reads the game's state.
#include <glm/glm.hpp>

#include "audio/sound_ids.hpp"

inline constexpr int maxSoundEvents = 8;

struct PlacedSound {
    glm::vec3 at{0.0f};
    float strength = 1.0f; // 0 to 1
};

// One frame's news for the ear.
struct SoundFrame {
    glm::vec3 listenerPosition{0.0f};
    glm::vec3 listenerFront{1.0f, 0.0f, 0.0f};
    glm::vec3 listenerUp{0.0f, 1.0f, 0.0f};
    bool footstep = false;    // a foot lands this frame
    bool heatWarning = false; // the red warning is up
    bool rotor = true;        // the helicopter is still waiting
    bool melt = false;        // the game has just been lost
    bool fanfare = false;     // the game has just been won
    int chimeCount = 0;       // ice cubes just taken, where they lay
    PlacedSound chimes[maxSoundEvents];
    int thudCount = 0; // cubes just landing, how hard
    PlacedSound thuds[maxSoundEvents];
};

// Reads the sounds, opens the device and starts the wind and the rotor,
// which turns at `rotorAt`, at the given master volume (0 to 1). Never
// fails: without a device nothing is heard, and a sound whose file could not
// be read stays silent.
void startSound(float volume, glm::vec3 rotorAt);

// Hands the frame's news to the mixer; `enabled` is the sound switch and
// `seconds` the frame's length, for the warning's fades.
void playSoundFrame(const SoundFrame& frame, bool enabled, float seconds);

// A new round: every one-shot and the sizzle stop, the chimes start again
// from the lowest step, and the rotor turns again.
void restartSound();

// Pauses every sound that is playing, or resumes those it paused.
void pauseSound(bool pause);

// The master volume, 0 to 1, from the next frame on.
void setSoundVolume(float volume);

// Stops every sound and closes the device.
void stopSound();
