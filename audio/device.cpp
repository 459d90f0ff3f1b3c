#include "audio/device.hpp"

#include <cstdio>

#include <AL/alc.h>
#include <fcntl.h>
#include <unistd.h>

namespace {
ALCdevice* device = nullptr;
ALCcontext* context = nullptr;

// ALSA and OpenAL Soft report a missing sound card on stderr themselves,
// several lines of it. No sound card is an ordinary case here, and the game
// keeps its console to its own lines: while the device is being opened,
// stderr goes to /dev/null.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (saved >= 0 && null >= 0)
            dup2(null, STDERR_FILENO);
        if (null >= 0)
            close(null);
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved >= 0) {
            dup2(saved, STDERR_FILENO);
            close(saved);
        }
    }
    QuietStderr(const QuietStderr&) = delete;
    QuietStderr& operator=(const QuietStderr&) = delete;

private:
    int saved = -1;
};
} // namespace

bool openSoundDevice() {
    if (device != nullptr)
        return true;
    QuietStderr quiet;
    device = alcOpenDevice(nullptr);
    if (device == nullptr)
        return false;
    context = alcCreateContext(device, nullptr);
    if (context == nullptr || alcMakeContextCurrent(context) == ALC_FALSE) {
        closeSoundDevice();
        return false;
    }
    return true;
}

void closeSoundDevice() {
    if (device == nullptr)
        return;
    alcMakeContextCurrent(nullptr);
    if (context != nullptr)
        alcDestroyContext(context);
    context = nullptr;
    alcCloseDevice(device);
    device = nullptr;
}
