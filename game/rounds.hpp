#pragma once
// Rounds: another one at once after an end text, the round's own clock,
// the player's records, and the ghost of the best run.
#include <string>

#include "game/path.hpp"
#include "game/records.hpp"
#include "game/rules.hpp"

struct Scene;

extern int roundNumber;         // 1 for the first round of the run
extern float roundTime;         // seconds played this round, pauses left out
extern bool playAgainAsked;     // Enter went down this frame
extern std::string recordsFile; // where the records live; empty: none kept
extern Records records;         // this game's view: what it read, and its own rounds

// At set-up: finds and reads the records and starts the first round.
void startRounds();

// Enter while an end text shows: the round starts afresh in the same window.
// Resets what the set-up made, and allocates nothing. Prints "New round: N".
// The pause stays as the keys left it.
void startNewRound(Scene& scene);

// The round's own part of a new round: its clock, its path, its result and
// the ghost, which is now the best run as it stands.
void beginRound();

// Once a frame, after the rules and the scene, with the end text the frame
// drew: the round's clock and path, and its result as that text tells it.
// The records are saved at each change of the result, on a thread of their
// own, starting at the next frame's releaseRecordsSave.
void trackRound(const GameState& state, EndText shown);

// At the start of a frame: the save that the last frame asked for may
// start, its end text being on screen by now.
void releaseRecordsSave();

// Waits until every save asked for so far is on the disk.
void flushRecords();

// At the end of the game: waits for the last save, and ends its thread.
void finishRounds();

// This round's time and the best, shown under "You Won"; empty before a win.
const std::string& winTimesText();

// Where the ghost of the best run stands now; false when there is none.
bool ghostPose(PathSample& pose);
