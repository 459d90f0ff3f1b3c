// The records file: read back as written, every broken form kept aside and
// reported, and a save that fails at any step leaving the old file whole.
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

#include "game/records.hpp"

namespace fs = std::filesystem;

namespace {
Records sample() {
    Records r;
    r.hasBest = true;
    r.bestTime = 39.8125f;
    r.roundsPlayed = 7;
    r.roundsWon = 2;
    r.bestPath.count = 3;
    r.bestPath.samples[1] = PathSample{10.5f, -5.25f, -0.7854f, 0.05f, 0.76f};
    r.bestPath.samples[2] = PathSample{400.0f, 50.0f, 1.5708f, -0.1f, 0.01f};
    return r;
}

class RecordsFile : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("frostmoor-records-" + std::to_string(getpid()));
    std::string file = (dir / "frostmoor" / "records.txt").string();

    void SetUp() override { fs::create_directories(dir / "frostmoor"); }
    void TearDown() override { fs::remove_all(dir); }

    static std::string read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    int filesInFolder() const {
        return static_cast<int>(std::distance(fs::directory_iterator(dir / "frostmoor"), {}));
    }
};
} // namespace

TEST(Records, ReadBackAsWrittenAndFoundWhereTheUserKeepsData) {
    const Records written = sample();
    Records read;
    ASSERT_TRUE(parseRecords(formatRecords(written), read));
    EXPECT_EQ(read.hasBest, true);
    EXPECT_FLOAT_EQ(read.bestTime, written.bestTime);
    EXPECT_EQ(read.roundsPlayed, 7);
    EXPECT_EQ(read.roundsWon, 2);
    ASSERT_EQ(read.bestPath.count, 3);
    EXPECT_NEAR(read.bestPath.samples[1].heading, -0.7854f, 1e-4f);
    EXPECT_NEAR(read.bestPath.samples[2].x, 400.0f, 1e-4f);
    EXPECT_TRUE(parseRecords(formatRecords(Records{}), read));
    EXPECT_FALSE(read.hasBest);
    // Every time that reads in writes back as itself, however small or large.
    for (const float time : {1e-5f, 39.8125f, 4.1251e31f, 3.4e38f}) {
        Records extreme;
        extreme.hasBest = true;
        extreme.bestTime = time;
        ASSERT_TRUE(parseRecords(formatRecords(extreme), read)) << time;
        EXPECT_EQ(read.bestTime, time);
    }

    EXPECT_EQ(recordsPath("/data", "/home/p"), "/data/frostmoor/records.txt");
    EXPECT_EQ(recordsPath("relative", "/home/p"), "/home/p/.local/share/frostmoor/records.txt");
    EXPECT_EQ(recordsPath(nullptr, "/home/p"), "/home/p/.local/share/frostmoor/records.txt");
    EXPECT_EQ(recordsPath("", "home"), "");
    EXPECT_EQ(recordsPath(nullptr, nullptr), "");
}

TEST_F(RecordsFile, EveryBrokenFormIsKeptAsideReportedAndStartsEmpty) {
    const std::string good = formatRecords(sample());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    // Damage under a checksum that fits, as a careful hand would leave it:
    // the reader's other checks must catch it.
    const auto summed = [&](const std::string& from, const std::string& to) {
        const std::string text = replaced(from, to);
        return withChecksum(text.substr(0, text.rfind("checksum ")));
    };
    const struct {
        const char* what;
        std::string text;
    } cases[] = {
        {"empty", ""},
        {"torn in half", good.substr(0, good.size() / 2)},
        {"torn before the last newline", good.substr(0, good.size() - 1)},
        {"a best time edited", replaced("best 39.8125", "best 19.8125")},
        {"a count garbled", summed("played 7", "played seven")},
        {"won more than played", summed("won 2", "won 9")},
        {"a newer version", summed("records 1", "records 2")},
        {"no version", summed("records 1", "records")},
        {"a path longer than its lines", summed("path 3", "path 4")},
        {"a path beyond two minutes", summed("path 3", "path 99999")},
        {"a place that is not a number", summed("400 50", "nan 50")},
        {"a negative best time", summed("best 39.8125", "best -1")},
        {"a line after the checksum", good + "best 1\n"},
        {"no checksum", good.substr(0, good.rfind("checksum "))},
        {"not text at all", std::string("\x7f"
                                        "ELF\0\0\x01",
                                        7)},
    };
    int kept = 0;
    for (const auto& c : cases) {
        write(c.text);
        Records out = sample();
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadRecords(file, out), RecordsRead::Broken) << c.what;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::RECORDS:: " + file + "\n")
            << c.what;
        EXPECT_FALSE(out.hasBest) << c.what;
        EXPECT_EQ(out.roundsPlayed, 0) << c.what;
        EXPECT_EQ(out.bestPath.count, 0) << c.what;
        EXPECT_FALSE(fs::exists(file)) << c.what;
        // Kept under a name of its own, never over an earlier one.
        EXPECT_EQ(read(file + ".broken-" + std::to_string(++kept)), c.text) << c.what;
    }

    Records none;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadRecords(file, none), RecordsRead::Missing);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

namespace {
// Fails the one call it is told to, as a full disk or a crash would.
enum class Step { None, Open, Write, Fsync, Close, Rename };
Step failing = Step::None;

int failOpen(const char* path, int flags, int mode) {
    if (failing == Step::Open) {
        errno = ENOSPC;
        return -1;
    }
    return systemRecordsIo().open(path, flags, mode);
}
long failWrite(int fd, const void* data, unsigned long size) {
    if (failing == Step::Write) {
        // Half the text reaches the disk, then it is full.
        systemRecordsIo().write(fd, data, size / 2);
        errno = ENOSPC;
        return -1;
    }
    return systemRecordsIo().write(fd, data, size);
}
int failFsync(int fd) {
    return failing == Step::Fsync ? (errno = EIO, -1) : systemRecordsIo().fsync(fd);
}
int failClose(int fd) {
    const int result = systemRecordsIo().close(fd);
    return failing == Step::Close ? (errno = EIO, -1) : result;
}
int failRename(const char* from, const char* to) {
    return failing == Step::Rename ? (errno = EXDEV, -1) : systemRecordsIo().rename(from, to);
}
const RecordsIo failingIo{failOpen, failWrite, failFsync, failClose, failRename};
} // namespace

TEST_F(RecordsFile, ASaveThatFailsAtAnyStepLeavesTheOldRecordsWhole) {
    Records old = sample();
    old.roundsPlayed = 3;
    ASSERT_TRUE(saveRecords(file, old));
    const std::string before = read(file);

    Records next = sample();
    next.roundsPlayed = 4;
    for (const Step step : {Step::Open, Step::Write, Step::Fsync, Step::Close, Step::Rename}) {
        failing = step;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(saveRecords(file, next, failingIo)) << static_cast<int>(step);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::RECORDS:: " + file + "\n");
        EXPECT_EQ(read(file), before) << "step " << static_cast<int>(step);
        EXPECT_EQ(filesInFolder(), 1)
            << "a temporary file left behind at step " << static_cast<int>(step);
    }
    failing = Step::None;
    EXPECT_TRUE(saveRecords(file, next, failingIo));
    Records read;
    ASSERT_EQ(loadRecords(file, read), RecordsRead::Read);
    EXPECT_EQ(read.roundsPlayed, 4);

    // A first save makes the folders, private to the player.
    const std::string deeper = (dir / "new" / "frostmoor" / "records.txt").string();
    EXPECT_TRUE(saveRecords(deeper, next));
    EXPECT_EQ(fs::status(dir / "new").permissions() & fs::perms::all, fs::perms::owner_all);
}
