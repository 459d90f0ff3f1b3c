// The records file: read back as written, every broken form kept aside and
// reported, a file that cannot be used left alone, links followed, two
// games adding up under the lock, and a save that fails at any step
// leaving the old file whole.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
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

Records withBest(Records r, float time, int pathCount) {
    r.hasBest = true;
    r.bestTime = time;
    r.bestPath.count = pathCount;
    return r;
}

class RecordsFile : public ::testing::Test {
  protected:
    fs::path dir = fs::temp_directory_path() / ("frostmoor-records-" + std::to_string(getpid()));
    fs::path folder = dir / "frostmoor";
    std::string file = (folder / "records.txt").string();

    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(dir); }

    static std::string contents(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    void write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
    Records load() {
        Records records;
        EXPECT_EQ(loadRecords(file, records), RecordsRead::Read);
        return records;
    }
    // Names in a folder that begin so: temporaries, or files kept aside.
    static int named(const fs::path& in, const std::string& prefix) {
        return static_cast<int>(
            std::count_if(fs::directory_iterator(in), {}, [&](const fs::directory_entry& entry) {
                return entry.path().filename().string().starts_with(prefix);
            }));
    }
};

std::string error(const std::string& path, const std::string& reason) {
    return "ERROR::RECORDS:: " + path + ": " + reason + "\n";
}
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
    // The sum is CRC-32 (its well-known check value), and the file's form is
    // fixed: files already on players' disks must keep reading.
    EXPECT_EQ(withChecksum("123456789"), "123456789checksum cbf43926\n");
    EXPECT_EQ(formatRecords(Records{}),
              "frostmoor records 1\nbest none\nplayed 0\nwon 0\npath 0\nchecksum af67a9d\n");

    EXPECT_EQ(recordsPath("/data", "/home/p"), "/data/frostmoor/records.txt");
    EXPECT_EQ(recordsPath("relative", "/home/p"), "/home/p/.local/share/frostmoor/records.txt");
    EXPECT_EQ(recordsPath(nullptr, "/home/p"), "/home/p/.local/share/frostmoor/records.txt");
    EXPECT_EQ(recordsPath("", "home"), "");
    EXPECT_EQ(recordsPath(nullptr, nullptr), "");
}

TEST_F(RecordsFile, CountsHoldAtTheirLimits) {
    EXPECT_EQ(addCount(2, 3), 5);
    EXPECT_EQ(addCount(INT32_MAX - 1, 5), INT32_MAX);
    EXPECT_EQ(addCount(INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(addCount(3, -10), 0);

    // A file at the limit takes more rounds and still reads back.
    Records full;
    full.roundsPlayed = INT32_MAX;
    full.roundsWon = INT32_MAX;
    write(formatRecords(full));
    ASSERT_TRUE(saveRecords(file, full, 1, 1));
    const Records read = load();
    EXPECT_EQ(read.roundsPlayed, INT32_MAX);
    EXPECT_EQ(read.roundsWon, INT32_MAX);

    // Nor does a save ever count more won than played: that would not read.
    write(formatRecords(sample()));
    ASSERT_TRUE(saveRecords(file, sample(), 0, 9));
    EXPECT_EQ(load().roundsWon, 7);
}

TEST_F(RecordsFile, EveryBrokenFormIsKeptAsideWithItsReason) {
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
        const char* reason;
    } cases[] = {
        {"empty", "", "torn"},
        {"torn in half", good.substr(0, good.size() / 2), "torn"},
        {"torn before the last newline", good.substr(0, good.size() - 1), "torn"},
        {"no checksum", good.substr(0, good.rfind("checksum ")), "torn"},
        {"not text at all",
         std::string("\x7f"
                     "ELF\0\0\x01",
                     7),
         "torn"},
        {"a best time edited", replaced("best 39.8125", "best 19.8125"), "checksum does not match"},
        // The sum is checked first, so that any edit reads as one.
        {"a best time edited out of range", replaced("best 39.8125", "best -1"),
         "checksum does not match"},
        {"a count garbled", summed("played 7", "played seven"), "malformed"},
        {"won more than played", summed("won 2", "won 9"), "malformed"},
        {"no version", summed("records 1", "records"), "malformed"},
        {"a path longer than its lines", summed("path 3", "path 4"), "malformed"},
        {"a path beyond two minutes", summed("path 3", "path 99999"), "malformed"},
        {"a place that is not a number", summed("400 50", "nan 50"), "malformed"},
        {"a negative best time", summed("best 39.8125", "best -1"), "malformed"},
        {"a line after the checksum", good + "best 1\n", "malformed"},
        {"beyond a mebibyte", good + std::string(1 << 20, '\n'), "too large"},
    };
    int kept = 0;
    for (const auto& c : cases) {
        write(c.text);
        Records out = sample();
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadRecords(file, out), RecordsRead::Broken) << c.what;
        // Kept under a name of its own, never over an earlier one.
        const std::string aside = file + ".broken-" + std::to_string(++kept);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  error(file, std::string(c.reason) + ", kept as " + aside))
            << c.what;
        EXPECT_FALSE(out.hasBest) << c.what;
        EXPECT_EQ(out.roundsPlayed, 0) << c.what;
        EXPECT_EQ(out.bestPath.count, 0) << c.what;
        EXPECT_FALSE(fs::exists(file)) << c.what;
        EXPECT_EQ(contents(aside), c.text) << c.what;
    }

    Records none;
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadRecords(file, none), RecordsRead::Missing);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

namespace {
long failRead(int, void*, unsigned long) {
    errno = EIO;
    return -1;
}
const RecordsIo failingReadIo{systemRecordsIo().open,  failRead,
                              systemRecordsIo().write, systemRecordsIo().fsync,
                              systemRecordsIo().close, systemRecordsIo().rename};
} // namespace

TEST_F(RecordsFile, AFileThatCannotBeUsedIsLeftAloneAndNotWrittenOver) {
    const struct {
        const char* what;
        std::string text; // empty: a folder in the file's place
        const RecordsIo& io;
        std::string reason;
    } cases[] = {
        // Its own game still reads it, whatever its shape.
        {"a newer version", "frostmoor records 2\nbest in a new way\n", systemRecordsIo(),
         "written by a newer version"},
        {"a newer version, torn", "frostmoor records 12", systemRecordsIo(),
         "written by a newer version"},
        {"a disk that fails", formatRecords(sample()), failingReadIo,
         std::string("I/O error: ") + std::strerror(EIO)},
        {"a folder", "", systemRecordsIo(), "not a regular file"},
    };
    for (const auto& c : cases) {
        if (c.text.empty())
            fs::create_directory(file);
        else
            write(c.text);
        Records out = sample();
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadRecords(file, out, c.io), RecordsRead::Unusable) << c.what;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), error(file, c.reason)) << c.what;
        EXPECT_EQ(out.roundsPlayed, 0) << c.what;

        testing::internal::CaptureStdout();
        EXPECT_FALSE(saveRecords(file, sample(), 1, 1, c.io)) << c.what;
        EXPECT_EQ(testing::internal::GetCapturedStdout(), error(file, c.reason)) << c.what;
        if (c.text.empty())
            EXPECT_TRUE(fs::is_directory(file)) << c.what;
        else
            EXPECT_EQ(contents(file), c.text) << c.what;
        EXPECT_EQ(named(folder, "records.txt."), 0) << c.what << ": kept aside or a temporary";
        fs::remove_all(file);
    }
}

TEST_F(RecordsFile, AFifoIsRefusedWithoutBlocking) {
    ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
    testing::internal::CaptureStdout();
    auto game = std::async(std::launch::async, [&] {
        Records out;
        const RecordsRead read = loadRecords(file, out);
        return read == RecordsRead::Unusable && !saveRecords(file, sample(), 1, 0);
    });
    if (game.wait_for(std::chrono::seconds(2)) != std::future_status::ready) {
        ADD_FAILURE() << "blocked on the FIFO";
        // A writer that comes and goes lets a blocked reader see its end.
        while (game.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
            const int writer = open(file.c_str(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                close(writer);
        }
    }
    EXPECT_TRUE(game.get());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              error(file, "not a regular file") + error(file, "not a regular file"));
    struct stat seen;
    ASSERT_EQ(lstat(file.c_str(), &seen), 0);
    EXPECT_TRUE(S_ISFIFO(seen.st_mode));
}

TEST_F(RecordsFile, ALinkedFileIsReadAndSavedThroughItsLinks) {
    // records.txt -> ../dotfiles/current -> records.txt, each relative to
    // its own folder.
    const fs::path dotfiles = dir / "dotfiles";
    const fs::path target = dotfiles / "records.txt";
    fs::create_directories(dotfiles);
    fs::create_symlink("records.txt", dotfiles / "current");
    fs::create_symlink("../dotfiles/current", file);
    std::ofstream(target, std::ios::binary) << formatRecords(sample());

    Records mine = load();
    EXPECT_EQ(mine.roundsPlayed, 7);
    mine.roundsPlayed = 8;
    ASSERT_TRUE(saveRecords(file, mine, 1, 0));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_TRUE(fs::is_symlink(dotfiles / "current"));
    Records read;
    ASSERT_TRUE(parseRecords(contents(target), read));
    EXPECT_EQ(read.roundsPlayed, 8);
    EXPECT_EQ(named(dotfiles, "records.txt.new-") + named(folder, "records.txt.new-"), 0);

    // A broken target is kept aside; the link stays, dangling.
    std::ofstream(target, std::ios::binary) << "frostmoor";
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadRecords(file, read), RecordsRead::Broken);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              error(file, "torn, kept as " + (fs::canonical(dotfiles) / "records.txt").string() +
                              ".broken-1"));
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_TRUE(fs::is_symlink(dotfiles / "current"));

    // A dangling link is no records yet; the save makes its target.
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadRecords(file, read), RecordsRead::Missing);
    EXPECT_TRUE(saveRecords(file, sample(), 0, 0));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(load().roundsPlayed, 7);
    EXPECT_EQ(contents(target), formatRecords(sample()));
}

TEST_F(RecordsFile, ASaveAddsItsRoundsToWhatAnotherGameSaved) {
    write(formatRecords(sample()));
    Records mine = load();

    // Another game, started from the same file, saves a better best and
    // three rounds of its own before ours ends one round with a win.
    Records other = withBest(Records{}, 30.0f, 5);
    other.roundsPlayed = 10;
    other.roundsWon = 4;
    write(formatRecords(other));
    mine = withBest(mine, 35.0f, 2);
    mine.roundsPlayed = 8;
    mine.roundsWon = 3;
    ASSERT_TRUE(saveRecords(file, mine, 1, 1));
    Records read = load();
    EXPECT_EQ(read.roundsPlayed, 11);
    EXPECT_EQ(read.roundsWon, 5);
    EXPECT_EQ(read.bestTime, 30.0f);
    EXPECT_EQ(read.bestPath.count, 5);

    // The better best wins with its own path; a tie keeps the file's.
    ASSERT_TRUE(saveRecords(file, withBest(mine, 20.0f, 1), 1, 0));
    ASSERT_TRUE(saveRecords(file, withBest(mine, 20.0f, 4), 0, 0));
    read = load();
    EXPECT_EQ(read.roundsPlayed, 12);
    EXPECT_EQ(read.bestTime, 20.0f);
    EXPECT_EQ(read.bestPath.count, 1);

    // Missing, or broken and kept aside: ours is written as it is.
    fs::remove(file);
    ASSERT_TRUE(saveRecords(file, mine, 1, 1));
    EXPECT_EQ(contents(file), formatRecords(mine));
    write("frostmoor records 1\n");
    testing::internal::CaptureStdout();
    ASSERT_TRUE(saveRecords(file, mine, 1, 1));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              error(file, "torn, kept as " + file + ".broken-1"));
    EXPECT_EQ(contents(file), formatRecords(mine));
}

TEST_F(RecordsFile, ASaveWaitsForTheLockAnotherGameHoldsAndALoadDoesNot) {
    write(formatRecords(sample()));
    const std::string before = contents(file);
    Records mine = load();
    ++mine.roundsPlayed;
    // Another game's save, half written, under its lock.
    const std::string inFlight = file + ".new-Ab12Cd";
    std::ofstream(inFlight) << "frostmoor";
    const int other = open((folder / "records.lock").c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX), 0);

    // The load reads at once, and leaves the tidying to a later start.
    EXPECT_EQ(loadRecords(file, mine), RecordsRead::Read);
    EXPECT_TRUE(fs::exists(inFlight)) << "another game's temporary file removed";
    ++mine.roundsPlayed;

    bool saved = false;
    std::thread save([&] { saved = saveRecords(file, mine, 1, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(contents(file), before) << "written under another game's lock";
    close(other);
    save.join();
    EXPECT_TRUE(saved);
    Records read;
    ASSERT_TRUE(parseRecords(contents(file), read));
    EXPECT_EQ(read.roundsPlayed, 8);
    load();
    EXPECT_FALSE(fs::exists(inFlight)) << "unlocked, a crashed save's file is tidied";

    // A FIFO in the lock's place neither hangs the game nor takes a save.
    fs::remove(folder / "records.lock");
    ASSERT_EQ(mkfifo((folder / "records.lock").c_str(), 0600), 0);
    EXPECT_EQ(load().roundsPlayed, 8);
    testing::internal::CaptureStdout();
    EXPECT_FALSE(saveRecords(file, mine, 1, 0));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR::RECORDS:: " + file + ": not locked: Invalid argument\n");
}

TEST_F(RecordsFile, ACrashedSavesTemporaryFileNeitherStaysNorStopsASave) {
    write(formatRecords(sample()));
    // Left by a crash: one named as saves once named them, with the process
    // id that every run in a sandbox has; one as saves name them now.
    std::ofstream(file + ".new-" + std::to_string(getpid())) << "frostmoor";
    std::ofstream(file + ".new-Q7x9Zk") << "frostmoor";
    std::ofstream(folder / "notes.txt.new-1") << "not ours";

    EXPECT_TRUE(saveRecords(file, sample(), 1, 0));
    EXPECT_EQ(named(folder, "records.txt.new-"), 2) << "the save left its own behind";
    EXPECT_EQ(load().roundsPlayed, 8);
    EXPECT_EQ(named(folder, "records.txt.new-"), 0);
    EXPECT_TRUE(fs::exists(folder / "notes.txt.new-1"));
}

namespace {
// Fails the one call it is told to, as a full disk or a crash would.
enum class Step { None, Open, Write, Fsync, Close, Rename };
Step failing = Step::None;

int failOpen(const char* path, int flags, int mode) {
    if (failing == Step::Open && (flags & O_CREAT) != 0) {
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
const RecordsIo failingIo{failOpen,  systemRecordsIo().read, failWrite, failFsync, failClose,
                          failRename};
} // namespace

TEST_F(RecordsFile, ASaveThatFailsAtAnyStepLeavesTheOldRecordsWhole) {
    Records old = sample();
    old.roundsPlayed = 3;
    ASSERT_TRUE(saveRecords(file, old, 0, 0));
    const std::string before = contents(file);

    const struct {
        Step step;
        int error;
    } cases[] = {{Step::Open, ENOSPC},
                 {Step::Write, ENOSPC},
                 {Step::Fsync, EIO},
                 {Step::Close, EIO},
                 {Step::Rename, EXDEV}};
    for (const auto& c : cases) {
        failing = c.step;
        testing::internal::CaptureStdout();
        EXPECT_FALSE(saveRecords(file, old, 1, 0, failingIo)) << static_cast<int>(c.step);
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  error(file, std::string("not saved: ") + std::strerror(c.error)));
        EXPECT_EQ(contents(file), before) << "step " << static_cast<int>(c.step);
        EXPECT_EQ(named(folder, "records.txt.new-"), 0)
            << "a temporary file left behind at step " << static_cast<int>(c.step);
    }
    failing = Step::None;
    EXPECT_TRUE(saveRecords(file, old, 1, 0, failingIo));
    EXPECT_EQ(load().roundsPlayed, 4);

    // A first save makes the folders, private to the player.
    const std::string deeper = (dir / "new" / "frostmoor" / "records.txt").string();
    EXPECT_TRUE(saveRecords(deeper, old, 0, 0));
    EXPECT_EQ(fs::status(dir / "new").permissions() & fs::perms::all, fs::perms::owner_all);
}

namespace {
// A slow disk that takes a few bytes at a time, is interrupted at first,
// and notes every call, so that the order of the flushes can be checked.
std::vector<std::string> calls;
std::map<int, std::string> kinds;
bool readInterrupted = false;
bool writeInterrupted = false;

int noteOpen(const char* path, int flags, int mode) {
    const int fd = systemRecordsIo().open(path, flags, mode);
    kinds[fd] = (flags & O_DIRECTORY) != 0 ? "folder" : (flags & O_CREAT) != 0 ? "new" : "file";
    calls.push_back("open " + kinds[fd]);
    return fd;
}
long noteRead(int fd, void* data, unsigned long size) {
    calls.push_back("read " + kinds[fd]);
    if (!std::exchange(readInterrupted, true))
        return errno = EINTR, -1;
    return systemRecordsIo().read(fd, data, std::min(size, 3ul));
}
long noteWrite(int fd, const void* data, unsigned long size) {
    calls.push_back("write " + kinds[fd]);
    if (!std::exchange(writeInterrupted, true))
        return errno = EINTR, -1;
    return systemRecordsIo().write(fd, data, std::min(size, 3ul));
}
int noteFsync(int fd) {
    calls.push_back("fsync " + kinds[fd]);
    return systemRecordsIo().fsync(fd);
}
int noteClose(int fd) {
    calls.push_back("close " + kinds[fd]);
    return systemRecordsIo().close(fd);
}
int noteRename(const char* from, const char* to) {
    calls.push_back("rename");
    return systemRecordsIo().rename(from, to);
}
const RecordsIo notingIo{noteOpen, noteRead, noteWrite, noteFsync, noteClose, noteRename};
} // namespace

TEST_F(RecordsFile, ASlowDiskGetsTheWholeFileFlushedBeforeAndAfterItsRename) {
    write(formatRecords(sample()));
    Records read;
    readInterrupted = false;
    ASSERT_EQ(loadRecords(file, read, notingIo), RecordsRead::Read);
    EXPECT_EQ(read.bestPath.count, 3);

    calls.clear();
    readInterrupted = writeInterrupted = false;
    ASSERT_TRUE(saveRecords(file, read, 1, 0, notingIo));
    ++read.roundsPlayed;
    EXPECT_EQ(contents(file), formatRecords(read));

    const auto at = [&](const std::string& call) {
        return static_cast<std::size_t>(std::find(calls.begin(), calls.end(), call) -
                                        calls.begin());
    };
    const std::size_t lastWrite =
        calls.size() - 1 -
        static_cast<std::size_t>(std::find(calls.rbegin(), calls.rend(), "write new") -
                                 calls.rbegin());
    ASSERT_LT(at("fsync folder"), calls.size()) << "the folder is never flushed";
    EXPECT_LT(lastWrite, at("fsync new"));
    EXPECT_LT(at("fsync new"), at("rename"));
    EXPECT_LT(at("rename"), at("fsync folder"));
}
