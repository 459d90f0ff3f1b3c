#include "game/rounds.hpp"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/camera.hpp"
#include "app/settings.hpp"
#include "audio/soundscape.hpp"
#include "game/loop.hpp"
#include "game/particles.hpp"
#include "game/physics.hpp"
#include "game/player.hpp"
#include "game/records_saver.hpp"
#include "game/setup.hpp"
#include "render/lighting.hpp"

int roundNumber = 1;
float roundTime = 0.0f;
bool playAgainAsked = false;
std::string recordsFile;
Records records;

namespace {
// Null when the records may not be written this run: no home, or a file
// that could be neither read nor kept aside.
std::unique_ptr<RecordsSaver> saver;
Path walked;               // this round's path so far
Path ghostRun;             // the best run as it stood when this round began
bool roundCounted = false; // an end text has shown in this round
bool roundWon = false;
float heading = 0.0f;
glm::vec2 lastPlace{0.0f};
std::string winTimes;

void formatWinTimes(bool newBest) {
    char line[64];
    if (newBest)
        std::snprintf(line, sizeof line, "%.1f s - a new best", static_cast<double>(roundTime));
    else
        std::snprintf(line, sizeof line, "%.1f s - best %.1f s", static_cast<double>(roundTime),
                      static_cast<double>(records.bestTime));
    winTimes = line; // into the room reserved at the start
}

PathSample poseNow(const GameState& state, glm::vec2 place) {
    return PathSample{place.x, place.y, heading, waddleAngle, snowmanScale(state.bodyTemperature)};
}

// The result is the end text on the screen: "Game Over" wins over a win
// reached in the frame the heat hit the limit. A round counts once, as
// played at its first end text; a heat loss that an ice cube undid and that
// ends at the helicopter then counts as won, with its time, best and ghost.
void countRound(const GameState& state, EndText shown) {
    if (shown == EndText::None)
        return;
    int newPlayed = 0, newWon = 0;
    if (!roundCounted) {
        roundCounted = true;
        newPlayed = 1;
        records.roundsPlayed = addCount(records.roundsPlayed, 1);
    }
    if (shown == EndText::YouWon && !roundWon) {
        roundWon = true;
        newWon = 1;
        records.roundsWon = addCount(records.roundsWon, 1);
        endPath(walked, roundTime, poseNow(state, glm::vec2(playerPosition.x, playerPosition.z)));
        const bool newBest = !records.hasBest || roundTime < records.bestTime;
        if (newBest) {
            records.hasBest = true;
            records.bestTime = roundTime;
            records.bestPath = walked;
        }
        formatWinTimes(newBest);
    }
    if ((newPlayed != 0 || newWon != 0) && saver)
        saver->request(records, newPlayed, newWon);
}
} // namespace

void startRounds() {
    recordsFile = recordsPath(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
    records = Records{};
    saver.reset();
    if (!recordsFile.empty() && loadRecords(recordsFile, records) != RecordsRead::Unusable)
        saver = std::make_unique<RecordsSaver>(recordsFile);
    // One string of room, so that no win allocates it later in a frame.
    winTimes.reserve(64);
    beginRound();
}

void beginRound() {
    roundTime = 0.0f;
    walked.count = 0;
    ghostRun = records.bestPath;
    roundCounted = false;
    roundWon = false;
    heading = 0.0f;
    lastPlace = glm::vec2(playerPosition.x, playerPosition.z);
    winTimes.clear();
}

void startNewRound(Scene& scene) {
    GameState& state = scene.state;
    // A round whose end Enter cut short before its text was drawn.
    countRound(state, endTextFor(state.bodyTemperature, state.gameWon));
    ++roundNumber;
    std::cout << "New round: " << roundNumber << std::endl;

    state.bodyTemperature = 0.0f;
    for (bool& collected : state.iceCubeCollected)
        collected = false;
    state.gameWon = false;
    gameEnded = false;
    // The end screen's four seconds count from this round's own end.
    endTimerAtRoundStart = endTimer;

    resetActors();
    resetPlayer();
    camera = Camera();
    camera.mouseSensitivity = lookSensitivity;
    firstMouse = true;
    // The ring back where the set-up put it: a loss pins the temperature
    // that turns it, and it would drift further with every round.
    buildParticleRing(scene.particleMatrices.get(), scene.ringSeed);
    scene.sentForView = glm::mat4(0.0f);
    restartSound();
    beginRound();
}

void trackRound(const GameState& state, EndText shown) {
    // The clock and the path stop at the helicopter, whatever the text says.
    if (!paused && !state.gameWon)
        roundTime += deltaTime;
    const glm::vec2 place(playerPosition.x, playerPosition.z);
    if (!state.gameWon) {
        heading = headingOf(lastPlace, place, heading);
        lastPlace = place;
        recordPath(walked, roundTime, poseNow(state, place));
    }
    countRound(state, shown);
}

void releaseRecordsSave() {
    if (saver)
        saver->release();
}

void flushRecords() {
    if (saver)
        saver->finish();
}

void finishRounds() {
    flushRecords();
    saver.reset(); // the thread ends with the game, not at the process's exit
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
