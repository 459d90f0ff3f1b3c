#pragma once
// Rounds: another one at once after an end text, the round's own clock,
// the player's records, and the ghost of the best run.
#include <string>

#include "game/path.hpp"
#include "game/records.hpp"

struct GameState;
struct Scene;

extern int roundNumber;         // 1 for the first round of the run
extern float roundTime;         // seconds played this round, pauses left out
extern bool playAgainAsked;     // Enter went down this frame
extern std::string recordsFile; // where the records live; empty: none kept
extern Records records;

// At set-up: finds and reads the records and starts the first round.
void startRounds();

// Enter while an end text shows: the round starts afresh in the same window.
// Resets what the set-up made, and allocates nothing. Prints "New round: N".
void startNewRound(Scene& scene);

// Once a frame, after the rules and the scene: the round's clock and path,
// and at the round's end its records.
void trackRound(const GameState& state);

// This round's time and the best, shown under "You Won"; empty before a win.
const std::string& winTimesText();

// Where the ghost of the best run stands now; false when there is none.
bool ghostPose(PathSample& pose);
