#include "audio/sound_file.hpp"

#include <iostream>

#include <sndfile.h>

namespace {
// A header may claim any length; no sound of the game is longer than this
// (about six minutes of 44.1 kHz stereo).
constexpr sf_count_t maxSamples = sf_count_t{1} << 25;
} // namespace

SoundSamples readSoundFile(const std::string& path) {
    SoundSamples sound;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    bool ok = file != nullptr && info.channels > 0 && info.samplerate > 0 && info.frames > 0 &&
              info.frames <= maxSamples / info.channels;
    if (ok && info.channels == 1) {
        sound.samples.resize(static_cast<std::size_t>(info.frames));
        ok = sf_readf_short(file, sound.samples.data(), info.frames) == info.frames;
    } else if (ok) {
        const auto channels = static_cast<std::size_t>(info.channels);
        std::vector<short> frames(static_cast<std::size_t>(info.frames) * channels);
        ok = sf_readf_short(file, frames.data(), info.frames) == info.frames;
        sound.samples.resize(static_cast<std::size_t>(info.frames));
        for (std::size_t i = 0; ok && i < sound.samples.size(); ++i) {
            long sum = 0;
            for (std::size_t c = 0; c < channels; ++c)
                sum += frames[i * channels + c];
            sound.samples[i] = static_cast<short>(sum / static_cast<long>(channels));
        }
    }
    sound.rate = info.samplerate;
    if (file != nullptr)
        sf_close(file);
    if (!ok) {
        std::cout << "ERROR::SOUND:: " << path << std::endl;
        return {};
    }
    return sound;
}
