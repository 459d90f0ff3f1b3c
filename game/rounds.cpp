#include "game/rounds.hpp"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "app/camera.hpp"
#include "app/settings.hpp"
#include "audio/soundscape.hpp"
#include "game/loop.hpp"
#include "game/physics.hpp"
#include "game/player.hpp"
#include "game/rules.hpp"
#include "game/setup.hpp"
#include "render/lighting.hpp"

int roundNumber = 1;
float roundTime = 0.0f;
bool playAgainAsked = false;
std::string recordsFile;
Records records;

namespace {
// Whether the records may be written this run: not over a file that could
// be neither read nor kept aside.
bool recordsWritable = false;
Path walked;               // this round's path so far
Path ghostRun;             // the best run as it stood when this round began
bool roundCounted = false; // an end text has shown in this round
bool roundWon = false;
float heading = 0.0f;
glm::vec2 lastPlace{0.0f};
std::string winTimes;

void save() {
    if (recordsWritable)
        saveRecords(recordsFile, records);
}

void formatWinTimes(bool newBest) {
    char line[64];
    if (newBest)
        std::snprintf(line, sizeof line, "%.1f s - a new best", static_cast<double>(roundTime));
    else
        std::snprintf(line, sizeof line, "%.1f s - best %.1f s", static_cast<double>(roundTime),
                      static_cast<double>(records.bestTime));
    winTimes = line;
}

void clearRound() {
    roundTime = 0.0f;
    walked.count = 0;
    ghostRun = records.bestPath;
    roundCounted = false;
    roundWon = false;
    heading = 0.0f;
    lastPlace = glm::vec2(playerPosition.x, playerPosition.z);
    winTimes.clear();
}
} // namespace

void startRounds() {
    recordsFile = recordsPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    recordsWritable = false;
    if (!recordsFile.empty())
        recordsWritable = loadRecords(recordsFile, records) != RecordsRead::Unusable;
    // One string of room, so that no win allocates it later in a frame.
    winTimes.reserve(64);
    clearRound();
}

void startNewRound(Scene& scene) {
    ++roundNumber;
    std::cout << "New round: " << roundNumber << std::endl;

    GameState& state = scene.state;
    state.bodyTemperature = 0.0f;
    for (bool& collected : state.iceCubeCollected)
        collected = false;
    state.gameWon = false;
    gameEnded = false;
    // The end screen's four seconds count from this round's own end.
    endTimerAtRoundStart = endTimer;
    paused = false;

    resetActors();
    resetPlayer();
    camera = Camera();
    firstMouse = true;
    restartSound();
    clearRound();
}

void trackRound(const GameState& state) {
    const bool ended = endTextFor(state.bodyTemperature, state.gameWon) != EndText::None;
    if (!paused && !roundWon)
        roundTime += deltaTime;

    if (!roundWon) {
        const glm::vec2 place(playerPosition.x, playerPosition.z);
        heading = headingOf(lastPlace, place, heading);
        lastPlace = place;
        recordPath(walked, roundTime,
                   PathSample{place.x, place.y, heading, waddleAngle,
                              snowmanScale(state.bodyTemperature)});
    }

    if (!ended || roundCounted)
        return;
    roundCounted = true;
    ++records.roundsPlayed;
    if (state.gameWon) {
        roundWon = true;
        ++records.roundsWon;
        const bool newBest = !records.hasBest || roundTime < records.bestTime;
        if (newBest) {
            records.hasBest = true;
            records.bestTime = roundTime;
            records.bestPath = walked;
        }
        formatWinTimes(newBest);
    }
    save();
}

const std::string& winTimesText() {
    return winTimes;
}

bool ghostPose(PathSample& pose) {
    if (!ghostEnabled || ghostRun.count == 0)
        return false;
    pose = poseAt(ghostRun, roundTime);
    return true;
}
