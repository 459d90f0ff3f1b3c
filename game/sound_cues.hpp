#pragma once
// What a frame sounds like, told from what changed in it: the game hands the
// result to the mixer, which never reads the game's state itself.
#include <glm/glm.hpp>

#include "audio/soundscape.hpp"
#include "game/physics.hpp"
#include "game/rules.hpp"

// The parts of the game a frame's sounds are told from.
struct FrameMoment {
    GameState state;
    glm::vec3 player{0.0f};
    bool waddleRising = true;
    bool gameEnded = false;
};

// The game as it stands now, from the frame's state and the player globals.
FrameMoment momentOf(const GameState& state);

// The frame's sounds, from the moments before and after it and the cube
// impacts of its physics step. The listener is left to the caller.
//  - a foot lands each time the waddle turns to rising while the snowman
//    walks, until the game has ended or an end text shows;
//  - a chime where each cube taken in the frame lay;
//  - the melt when the temperature reaches the limit, by heat or by touch;
//  - the fanfare when the helicopter is reached, and the rotor stops;
//  - the heat warning while the temperature is in the warning band and the
//    game is still being played.
void tellSounds(const FrameMoment& before, const FrameMoment& after, const CubeImpact impacts[],
                int impactCount, SoundFrame& out);
