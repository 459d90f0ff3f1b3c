#include "game/records_saver.hpp"

#include <utility>

RecordsSaver::RecordsSaver(std::string path, RecordsIo io)
    : path(std::move(path)), io(io), worker([this] { run(); }) {}

RecordsSaver::~RecordsSaver() {
    finish();
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    wake.notify_one();
    worker.join();
}

void RecordsSaver::request(const Records& mine, int played, int won) {
    const std::lock_guard lock(mutex);
    asked = mine;
    newPlayed = addCount(newPlayed, played);
    newWon = addCount(newWon, won);
    waiting = true;
}

void RecordsSaver::release() {
    {
        const std::lock_guard lock(mutex);
        if (!waiting || released)
            return;
        released = true;
    }
    wake.notify_one();
}

void RecordsSaver::waitIdle(std::unique_lock<std::mutex>& lock) {
    idle.wait(lock, [this] { return !waiting && !busy; });
}

void RecordsSaver::finish() {
    release();
    std::unique_lock lock(mutex);
    waitIdle(lock);
    if (newPlayed == 0 && newWon == 0)
        return;
    waiting = released = true;
    lock.unlock();
    wake.notify_one();
    lock.lock();
    waitIdle(lock);
}

void RecordsSaver::run() {
    std::unique_lock lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || (waiting && released); });
        if (!(waiting && released))
            return; // stopping, with nothing left to write
        writing = asked;
        const int played = std::exchange(newPlayed, 0);
        const int won = std::exchange(newWon, 0);
        waiting = released = false;
        busy = true;
        lock.unlock();
        bool saved = false;
        try {
            saved = saveRecords(path, writing, played, won, io);
        } catch (...) {
            // Out of memory, say: a lost save, never a lost game.
        }
        lock.lock();
        busy = false;
        if (!saved) {
            // Kept for the next save, so that a full disk loses no round.
            newPlayed = addCount(newPlayed, played);
            newWon = addCount(newWon, won);
        }
        if (!waiting)
            idle.notify_all();
    }
}
