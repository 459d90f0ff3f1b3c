#pragma once
// The player's records: the best time to the helicopter, the rounds played
// and won, and the path of the best run. Kept per user in a small text file
// that a person can read, with a version and a checksum; written the way a
// database writes, so that a crash at any moment leaves the old file whole,
// and under a lock, so that two games at once add up rather than overwrite.
#include <string>
#include <string_view>

#include "app/durable_file.hpp"
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

// The file's text, and back.
std::string formatRecords(const Records& records);

// Why a text does not read. The version comes first, since a newer version
// may take any shape; then the checksum, so that any edit reads as one.
enum class RecordsFault {
    None,
    Torn,      // ends before its checksum line, or without its last newline
    Checksum,  // the checksum does not match the text above it
    Malformed, // the checksum matches, but a line is out of place or range
    Newer,     // written by a newer version of the game
};
// Fills out only when the text reads (None).
RecordsFault checkRecords(std::string_view text, Records& out);
// Whether the text reads: checkRecords without the reason.
bool parseRecords(std::string_view text, Records& out);

// The text with its checksum line added: the last line of every file.
std::string withChecksum(std::string text);

// count + more, held within [0, INT32_MAX]: counts that never wrap.
int addCount(int count, int more);

// The file system calls of a load and a save, so that a test can fail or
// slow any one of them.
using RecordsIo = FileIo;
const RecordsIo& systemRecordsIo();

// Missing: no records yet. Broken: kept aside, the records start empty.
// Unusable: there, but neither to be read nor kept aside (a newer version's
// file, one that is not a regular file, one that fails to read): left alone,
// and not to be written over this run.
enum class RecordsRead { Missing, Read, Broken, Unusable };

// Reads the file, following links to the file they name (a dangling link is
// a missing file). A file that is torn, edited or too large is kept aside
// beside it under a new name (".broken-1", ".broken-2", ..., never over
// another). Whatever is wrong prints one line,
//   ERROR::RECORDS:: <path>: <reason>[, kept as <new path>]
// and the records start empty. Under the lock of saveRecords it also
// removes the temporary files that a crashed save left behind.
RecordsRead loadRecords(const std::string& path, Records& out,
                        const RecordsIo& io = systemRecordsIo());

// Saves the records, the file locked (an flock on "records.lock" beside
// path) from the read to the rename. mine is this game's view: what it
// loaded, with its own rounds and best; newPlayed and newWon are its rounds
// not yet on the file. The file as it is now is read again: when it reads,
// the new rounds are added to its counts and the better of the two bests is
// kept (a tie keeps the file's), each with its own path; when it is missing
// mine is written, and when broken it is kept aside as loadRecords does and
// mine is written. A file that is unusable is left as it is.
//
// The text goes to a new temporary file beside the file (beside the file a
// link names), is flushed to the disk and renamed over it, and the folder is
// flushed. The folders of path are made (private) when missing. On any
// failure the old file stays as it was, one ERROR::RECORDS:: line naming
// the path and the cause is printed, and the result is false.
bool saveRecords(const std::string& path, const Records& mine, int newPlayed, int newWon,
                 const RecordsIo& io = systemRecordsIo());
