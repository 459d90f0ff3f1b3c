#pragma once
// The player's records: the best time to the helicopter, the rounds played
// and won, and the path of the best run. Kept per user in a small text file
// that a person can read, with a version and a checksum; written the way a
// database writes, so that a crash at any moment leaves the old file whole.
#include <string>
#include <string_view>

#include "game/path.hpp"

inline constexpr int recordsVersion = 1;

struct Records {
    bool hasBest = false;
    float bestTime = 0.0f; // seconds
    int roundsPlayed = 0;
    int roundsWon = 0;
    Path bestPath;
};

// "$XDG_DATA_HOME/frostmoor/records.txt", or under "$HOME/.local/share" when
// XDG_DATA_HOME is unset, empty or relative; empty without an absolute home.
std::string recordsPath(const char* xdgDataHome, const char* home);

// The file's text, and back. Parsing fails on anything torn, edited or
// unknown: a wrong checksum, a line out of place, a number out of range, a
// newer version.
std::string formatRecords(const Records& records);
bool parseRecords(std::string_view text, Records& out);

// The text with its checksum line added: the last line of every file.
std::string withChecksum(std::string text);

// Missing: no records yet. Broken: kept aside, the records start empty.
// Unusable: there, but neither to be read nor kept aside: left alone, and
// not written over this run.
enum class RecordsRead { Missing, Read, Broken, Unusable };

// Reads the file. One that cannot be used is kept aside under a new name
// (".broken-1", ".broken-2", ... beside it, never over another), the line
// "ERROR::RECORDS:: " and the path is printed, and the records start empty.
RecordsRead loadRecords(const std::string& path, Records& out);

// The file system calls of a save, so that a test can fail any one of them.
struct RecordsIo {
    int (*open)(const char* path, int flags, int mode);
    long (*write)(int fd, const void* data, unsigned long size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};
const RecordsIo& systemRecordsIo();

// Writes a temporary file beside path, flushes it to the disk and renames
// it into place; the folder is made (private) when missing. On any failure
// the temporary file is removed and the old records stay as they were.
bool saveRecords(const std::string& path, const Records& records,
                 const RecordsIo& io = systemRecordsIo());
