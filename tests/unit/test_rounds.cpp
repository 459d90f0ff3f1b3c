// A round's clock, its result as the screen shows it, the records it keeps
// and the ghost it leaves, with the save off the frame's thread.
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "game/loop.hpp"
#include "game/particles.hpp"
#include "game/player.hpp"
#include "game/records_saver.hpp"
#include "game/rounds.hpp"
#include "game/rules.hpp"
#include "game/setup.hpp"

namespace fs = std::filesystem;

namespace {
class Rounds : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("frostmoor-rounds-" + std::to_string(getpid()));
    fs::path file = dir / "frostmoor" / "records.txt";
    GameState state;

    void SetUp() override {
        fs::create_directories(dir);
        setenv("XDG_DATA_HOME", dir.c_str(), 1);
        reset();
        startRounds();
    }
    void TearDown() override {
        finishRounds();
        reset();
        fs::remove_all(dir);
    }
    static void reset() {
        paused = gameEnded = false;
        playerPosition = glm::vec3(0.0f);
        deltaTime = 0.0f;
        ghostEnabled = true;
    }

    // Frames of 0.1 s, walking along +X unless paused.
    void play(int frames) {
        for (int i = 0; i < frames; ++i) {
            deltaTime = 0.1f;
            if (!paused && !gameEnded)
                playerPosition.x += 1.0f;
            trackRound(state, endTextFor(state.bodyTemperature, state.gameWon));
            releaseRecordsSave();
        }
    }
    void win() {
        state.gameWon = gameEnded = true;
        play(1);
    }
    void newRound() {
        state = GameState{};
        gameEnded = false;
        playerPosition = glm::vec3(0.0f);
        beginRound();
    }
    Records onFile() {
        flushRecords();
        Records read;
        EXPECT_EQ(loadRecords(file.string(), read), RecordsRead::Read);
        return read;
    }
};
} // namespace

TEST_F(Rounds, TheClockStopsWhilePausedAndANewRoundStartsItAfresh) {
    play(10);
    paused = true;
    play(30);
    paused = false;
    play(10);
    EXPECT_NEAR(roundTime, 2.0f, 1e-4f);
    PathSample ghost;
    EXPECT_FALSE(ghostPose(ghost)) << "no best run yet";

    win();
    EXPECT_EQ(winTimesText(), "2.0 s - a new best");
    newRound();
    EXPECT_EQ(roundTime, 0.0f);
    EXPECT_TRUE(winTimesText().empty());
    // The ghost is the run just won, stopping where it ended.
    ASSERT_TRUE(ghostPose(ghost));
    EXPECT_EQ(ghost.x, 1.0f);
    roundTime = 100.0f;
    ASSERT_TRUE(ghostPose(ghost));
    EXPECT_EQ(ghost.x, 20.0f);
    roundTime = 0.0f;

    // The same time again is no new best: its run does not replace the ghost.
    play(20);
    playerPosition.z = 5.0f;
    win();
    EXPECT_EQ(winTimesText(), "2.0 s - best 2.0 s");
    EXPECT_EQ(poseAt(onFile().bestPath, 100.0f).z, 0.0f);
}

TEST_F(Rounds, TheResultIsTheEndTextThatShowsAndEachRoundCountsOnce) {
    // Melted, then an ice cube brings him back, and he wins after all.
    state.bodyTemperature = temperatureLimit;
    play(5);
    EXPECT_EQ(onFile().roundsPlayed, 1);
    state.bodyTemperature = 90.0f;
    play(5);
    state.bodyTemperature = temperatureLimit; // and a second melt counts no second round
    play(1);
    state.bodyTemperature = 95.0f;
    win();
    play(5);
    Records read = onFile();
    EXPECT_EQ(read.roundsPlayed, 1);
    EXPECT_EQ(read.roundsWon, 1);
    EXPECT_TRUE(read.hasBest);
    EXPECT_NEAR(read.bestTime, 1.1f, 1e-4f);
    EXPECT_FALSE(winTimesText().empty());

    // The helicopter reached in the frame the heat hit the limit: the screen
    // says "Game Over", and so do the records.
    newRound();
    play(3);
    state.bodyTemperature = temperatureLimit;
    win();
    read = onFile();
    EXPECT_EQ(read.roundsPlayed, 2);
    EXPECT_EQ(read.roundsWon, 1);
    EXPECT_NEAR(read.bestTime, 1.1f, 1e-4f);
    EXPECT_TRUE(winTimesText().empty());
}

TEST_F(Rounds, EnterAndPInOneFrameStartAPausedRoundAsTheLineSays) {
    Scene scene;
    scene.particleMatrices = std::make_unique<glm::mat4[]>(particleCount);
    // Melted in the frame before Enter: its "Game Over" never drawn, yet counted.
    scene.state.bodyTemperature = temperatureLimit;
    // The ring turned by the loss goes back to where the set-up put it.
    scene.ringSeed = 7;
    const auto start = std::make_unique<glm::mat4[]>(particleCount);
    buildParticleRing(start.get(), scene.ringSeed);
    buildParticleRing(scene.particleMatrices.get(), scene.ringSeed);
    animateParticles(scene.particleMatrices.get(), temperatureLimit);
    KeyState keys;
    keys.enter = keys.p = true;
    pHeld = enterHeld = 0;
    std::ostringstream out;
    applyKeys(keys, out);
    ASSERT_TRUE(playAgainAsked);
    testing::internal::CaptureStdout();
    startNewRound(scene);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.str(), "Pause toggled to: 1\n");
    EXPECT_TRUE(paused);
    EXPECT_EQ(onFile().roundsPlayed, 1);
    EXPECT_TRUE(std::equal(start.get(), start.get() + particleCount, scene.particleMatrices.get()));
    pHeld = enterHeld = 0;
    playAgainAsked = false;
}

TEST_F(Rounds, AFileTheGameMayNotWriteStaysAsItWas) {
    finishRounds();
    fs::create_directories(file.parent_path());
    const std::string newer = "frostmoor records 99\nsomething else\n";
    std::ofstream(file) << newer;
    testing::internal::CaptureStdout();
    startRounds();
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::RECORDS:: " + file.string() + ": written by a newer version\n");
    win();
    finishRounds();
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), newer);
}

namespace {
// An fsync that holds until the test lets it go: a disk as slow as it likes.
std::mutex gate;
std::condition_variable gateMoved;
int fsyncsEntered = 0;
bool gateOpen = false;
int heldFsync(int fd) {
    std::unique_lock lock(gate);
    ++fsyncsEntered;
    gateMoved.notify_all();
    gateMoved.wait(lock, [] { return gateOpen; });
    return systemRecordsIo().fsync(fd);
}
} // namespace

TEST_F(Rounds, ASlowDiskNeitherStallsTheFrameNorWritesBeforeTheEndTextShows) {
    RecordsIo slow = systemRecordsIo();
    slow.fsync = heldFsync;
    fsyncsEntered = 0;
    gateOpen = false;
    RecordsSaver saver(file.string(), slow);
    Records mine;
    mine.roundsPlayed = 1;
    saver.request(mine, 1, 0); // the frame that first draws the end text
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::unique_lock lock(gate);
    EXPECT_EQ(fsyncsEntered, 0) << "a write began before the frame was shown";
    lock.unlock();
    saver.release(); // the next frame, which goes on while the disk works
    lock.lock();
    ASSERT_TRUE(
        gateMoved.wait_for(lock, std::chrono::seconds(10), [] { return fsyncsEntered > 0; }));
    gateOpen = true;
    gateMoved.notify_all();
    lock.unlock();
    saver.finish();
    EXPECT_EQ(onFile().roundsPlayed, 1);
}
