#pragma once
// Sound files, decoded with libsndfile into 16-bit mono samples.
#include <cstddef>
#include <string>
#include <vector>

struct SoundSamples {
    std::vector<short> samples; // mono
    int rate = 0;               // samples per second
};

// A header may claim any length; no sound of the game is longer than this
// many samples before the mixdown (about six minutes of 44.1 kHz stereo).
inline constexpr long maxSoundSamples = 1L << 25;

// Reads a sound file of any format libsndfile knows; several channels are
// mixed down to one, as the game places its sounds in space. A missing or
// undecodable file prints "ERROR::SOUND:: " and the path, and gives no
// samples.
SoundSamples readSoundFile(const std::string& path);

// The same for a file already in memory; `name` stands for it in the line.
SoundSamples decodeSound(const unsigned char* data, std::size_t size, const std::string& name);
