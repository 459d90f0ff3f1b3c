#include "audio/device.hpp"

#include <AL/alc.h>

#include "audio/quiet_stderr.hpp"

namespace {
ALCdevice* device = nullptr;
ALCcontext* context = nullptr;
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
