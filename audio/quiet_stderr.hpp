#pragma once
// ALSA and OpenAL Soft report a missing sound card on stderr themselves,
// several lines of it. No sound card is an ordinary case here, and the game
// keeps its console to its own lines: while the device is being opened,
// stderr goes to /dev/null.
//
// The redirect is process-wide: whatever another thread writes to stderr
// meanwhile is lost too, so a thread added later that reports on stderr must
// not run while one of these lives.
class QuietStderr {
  public:
    QuietStderr();
    ~QuietStderr();
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

  private:
    int saved = -1; // the real stderr, until it is put back
};
