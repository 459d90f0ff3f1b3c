#pragma once
// Saves the records on a thread of their own: a slow disk's fsyncs never
// stall a frame, so they never shorten the end screen or eat into the next
// round's clock. The frame only copies the records into a slot kept for
// them, and lets the write start once the frame that asked has been shown.
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "game/records.hpp"

class RecordsSaver {
  public:
    explicit RecordsSaver(std::string path, RecordsIo io = systemRecordsIo());
    // Finishes every save asked for, then ends the thread.
    ~RecordsSaver();
    RecordsSaver(const RecordsSaver&) = delete;
    RecordsSaver& operator=(const RecordsSaver&) = delete;

    // Asks for a save of this game's records, with rounds not yet on the
    // file. Copies into fixed storage; allocates nothing and touches no file.
    // A save asked for again before it ran is one save, its rounds summed.
    void request(const Records& mine, int newPlayed, int newWon);
    // The saves asked for so far may start: call once what asked is on screen.
    void release();
    // Releases, and waits until no save is waiting or running. Rounds that a
    // failed save held over are tried once more.
    void finish();

  private:
    void run();
    void waitIdle(std::unique_lock<std::mutex>& lock);

    const std::string path;
    const RecordsIo io;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    Records asked;     // the latest records asked for
    Records writing;   // the thread's copy while it writes
    int newPlayed = 0; // rounds not yet on the file
    int newWon = 0;
    bool waiting = false;  // a save was asked for
    bool released = false; // and may start
    bool busy = false;     // the thread is writing
    bool stopping = false;
    std::thread worker;
};
