// The sound reader: any file libsndfile opens comes out as mono samples
// within the length cap, or as nothing at all.
#include <cstddef>
#include <cstdint>

#include "audio/sound_file.hpp"
#include "check.hpp"
#include "quiet.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    silenceConsole();
    const SoundSamples sound = decodeSound(data, size, "fuzz.wav");
    if (sound.samples.empty())
        return 0;
    FUZZ_CHECK(sound.rate > 0);
    FUZZ_CHECK(sound.samples.size() <= static_cast<std::size_t>(maxSoundSamples));
    return 0;
}
