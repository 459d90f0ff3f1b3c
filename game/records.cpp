// The records file on the disk: found through links, read only when it is
// a regular file, kept aside when broken, and saved under a lock through a
// temporary file, fsync and rename.
#include "game/records.hpp"

#include <algorithm>
#include <array>
#include <chrono>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <random>
#include <system_error>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// No sane records file comes near this; a bigger one is not read at all.
constexpr std::size_t maxFileBytes = 1 << 20;

// The system's words for an error; safe on the saving thread too.
std::string failure(const char* what, int error) {
    return std::string(what) + ": " + std::generic_category().message(error);
}

// One write of a whole line: the saving thread's lines never split another.
void report(const std::string& path, const std::string& reason) {
    const std::string line = "ERROR::RECORDS:: " + path + ": " + reason + "\n";
    std::cout << line << std::flush;
}

bool failed(const std::string& path, const char* what, int error) {
    report(path, failure(what, error));
    return false;
}

// The advisory lock that two games take around each save, so that neither
// loses the other's rounds or best. Bounded: a game stopped (Ctrl-Z) in
// the middle of its save must not hold every other game's start or end.
class Lock {
  public:
    // Waits up to patience for the lock. A folder whose file system cannot
    // lock at all is saved to unlocked, as a lone game always could.
    Lock(const std::string& path, std::chrono::milliseconds patience) {
        const std::string name = folderOf(path) + "/records.lock";
        // Read and write: some network file systems lock only what is open
        // for writing. Non-blocking, lest a FIFO by that name hang the game.
        constexpr int flags = O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
        fd = ::open(name.c_str(), O_RDWR | flags, 0600);
        if (fd < 0 && (errno == EACCES || errno == EROFS))
            fd = ::open(name.c_str(), O_RDONLY | flags, 0600);
        struct stat seen;
        if (fd >= 0 && (fstat(fd, &seen) != 0 || !S_ISREG(seen.st_mode))) {
            release(EINVAL);
            return;
        }
        const auto giveUp = std::chrono::steady_clock::now() + patience;
        while (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno == ENOLCK || errno == EOPNOTSUPP || errno == ENOSYS) {
                unlocked = true;
                return;
            }
            if (errno != EWOULDBLOCK && errno != EINTR) {
                release(errno);
                return;
            }
            if (std::chrono::steady_clock::now() >= giveUp) {
                release(EWOULDBLOCK);
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (fd < 0)
            error = errno;
    }
    ~Lock() {
        if (fd >= 0)
            ::close(fd);
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    // Whether this game alone may touch the records now.
    bool held() const { return fd >= 0 && !unlocked; }
    // Whether it may go ahead: locked, or where nothing can lock.
    bool mayWrite() const { return fd >= 0; }
    int why() const { return error; }

  private:
    void release(int cause) {
        ::close(fd);
        fd = -1;
        error = cause;
    }

    int fd = -1;
    bool unlocked = false;
    int error = 0;
};

// How long a save waits for another game's save, and a load for the lock
// it tidies under (not at all: the tidying can wait for another start).
constexpr std::chrono::milliseconds savePatience{5000};
constexpr std::chrono::milliseconds loadPatience{0};

// The temporary files that saves cut short by a crash left beside the
// file. Only under the lock: another game's save may be writing one now.
void removeTemporaries(const std::string& file) {
    const std::string prefix = file.substr(file.rfind('/') + 1) + std::string(temporaryMark);
    DIR* folder = opendir(folderOf(file).c_str());
    if (folder == nullptr)
        return;
    while (const dirent* entry = readdir(folder))
        if (std::string_view(entry->d_name).starts_with(prefix))
            unlinkat(dirfd(folder), entry->d_name, 0);
    closedir(folder);
}

// "name.broken-N" for the first N not taken. A hard link never replaces a
// name; where links are not to be had, a rename onto a name seen free.
bool keepAside(const std::string& path, std::string& aside) {
    for (int n = 1; n < 1000; ++n) {
        aside = path + ".broken-" + std::to_string(n);
        if (link(path.c_str(), aside.c_str()) == 0)
            return unlink(path.c_str()) == 0;
        if (errno == EEXIST)
            continue;
        struct stat seen;
        if (lstat(aside.c_str(), &seen) != 0 && errno == ENOENT)
            return rename(path.c_str(), aside.c_str()) == 0;
        return false;
    }
    errno = EEXIST;
    return false;
}

// What reading the file found, before anything is done about it: Broken
// is to be kept aside, Unusable to be left alone.
struct Found {
    RecordsRead read = RecordsRead::Missing;
    std::string reason;
};

Found readAll(int fd, std::string& text, const RecordsIo& io) {
    std::array<char, 4096> chunk;
    for (;;) {
        const long got = io.read(fd, chunk.data(), chunk.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {RecordsRead::Unusable, failure("I/O error", errno)};
        if (got == 0)
            return {RecordsRead::Read, {}};
        text.append(chunk.data(), static_cast<std::size_t>(got));
        if (text.size() > maxFileBytes)
            return {RecordsRead::Broken, "too large"};
    }
}

Found readFile(const std::string& file, Records& out, const RecordsIo& io) {
    out = Records{};
    // Only a regular file: a FIFO or a terminal in its place would never
    // end, and opening a device is not ours to do. Non-blocking, for
    // whatever takes the name between the look and the open.
    struct stat seen;
    if (lstat(file.c_str(), &seen) == 0 && !S_ISREG(seen.st_mode))
        return {RecordsRead::Unusable, "not a regular file"};
    const int fd = io.open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
    if (fd < 0)
        return errno == ENOENT ? Found{}
                               : Found{RecordsRead::Unusable, failure("I/O error", errno)};
    std::string text;
    Found found;
    if (fstat(fd, &seen) != 0)
        found = {RecordsRead::Unusable, failure("I/O error", errno)};
    else if (!S_ISREG(seen.st_mode))
        found = {RecordsRead::Unusable, "not a regular file"};
    else if (static_cast<unsigned long long>(seen.st_size) > maxFileBytes)
        found = {RecordsRead::Broken, "too large"};
    else
        found = readAll(fd, text, io);
    io.close(fd);
    if (found.read != RecordsRead::Read)
        return found;

    switch (checkRecords(text, out)) {
    case RecordsFault::None:
        return found;
    case RecordsFault::Torn:
        return {RecordsRead::Broken, "torn"};
    case RecordsFault::Checksum:
        return {RecordsRead::Broken, "checksum does not match"};
    case RecordsFault::Malformed:
        return {RecordsRead::Broken, "malformed"};
    case RecordsFault::Newer:
        break;
    }
    // Its own game can still read it: not ours to keep aside or write over.
    return {RecordsRead::Unusable, "written by a newer version"};
}

// Says what is wrong with the file at path (the file a link names, or
// path itself), and keeps a broken one aside.
RecordsRead settle(const std::string& path, const std::string& file, const Found& found) {
    if (found.read == RecordsRead::Broken) {
        std::string aside;
        if (keepAside(file, aside)) {
            report(path, found.reason + ", kept as " + aside);
            return RecordsRead::Broken;
        }
        const int error = errno;
        report(path, found.reason + ", " + failure("not kept aside", error));
        return RecordsRead::Unusable;
    }
    if (found.read == RecordsRead::Unusable)
        report(path, found.reason);
    return found.read;
}

// The file's records with this game's rounds added, and the better best.
Records merged(Records file, const Records& mine, int newPlayed, int newWon) {
    file.roundsPlayed = addCount(file.roundsPlayed, newPlayed);
    // Never more won than played, or the file would not read back.
    file.roundsWon = std::min(addCount(file.roundsWon, newWon), file.roundsPlayed);
    if (mine.hasBest && (!file.hasBest || mine.bestTime < file.bestTime)) {
        file.hasBest = true;
        file.bestTime = mine.bestTime;
        file.bestPath = mine.bestPath;
    }
    return file;
}

// Written privately: the records are the player's own.
bool writeFile(const std::string& path, const std::string& file, const std::string& text,
               const RecordsIo& io) {
    const int error = writeDurably(file, text, 0600, io);
    return error == 0 || failed(path, "not saved", error);
}

// Every folder of path up to its last slash, made private when missing.
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        const std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}

} // namespace

const RecordsIo& systemRecordsIo() {
    return systemFileIo();
}

std::string recordsPath(const char* xdgDataHome, const char* home) {
    if (xdgDataHome != nullptr && xdgDataHome[0] == '/')
        return std::string(xdgDataHome) + "/frostmoor/records.txt";
    if (home != nullptr && home[0] == '/')
        return std::string(home) + "/.local/share/frostmoor/records.txt";
    return {};
}

RecordsRead loadRecords(const std::string& path, Records& out, const RecordsIo& io) {
    out = Records{};
    if (path.empty())
        return RecordsRead::Missing;
    // Without its folder there is no file and no lock: nothing to tidy.
    const Lock lock(path, loadPatience);
    std::string file;
    if (!followLinks(path, file)) {
        report(path, failure("I/O error", errno));
        return RecordsRead::Unusable;
    }
    if (lock.held())
        removeTemporaries(file);
    return settle(path, file, readFile(file, out, io));
}

bool saveRecords(const std::string& path, const Records& mine, int newPlayed, int newWon,
                 const RecordsIo& io) {
    if (path.empty())
        return false; // no home: no records, as the load said nothing
    if (!makeFolders(path))
        return failed(path, "folder not made", errno);
    // From the read to the rename, lest another game's save fall between.
    const Lock lock(path, savePatience);
    if (!lock.mayWrite())
        return failed(path, "not locked", lock.why());
    std::string file;
    if (!followLinks(path, file))
        return failed(path, "I/O error", errno);
    Records records;
    switch (settle(path, file, readFile(file, records, io))) {
    case RecordsRead::Read:
        records = merged(records, mine, newPlayed, newWon);
        break;
    case RecordsRead::Missing:
    case RecordsRead::Broken:
        records = mine;
        break;
    case RecordsRead::Unusable:
        return false;
    }
    return writeFile(path, file, formatRecords(records), io);
}
