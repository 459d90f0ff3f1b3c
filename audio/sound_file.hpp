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

// The largest sound file read: the longest sound at four bytes a sample,
// with room for the header's chunks.
inline constexpr std::size_t maxSoundFileBytes =
    std::size_t{4} * static_cast<std::size_t>(maxSoundSamples) + (std::size_t{1} << 20);

// Reads a WAV file of PCM samples (8 to 32 bits), a regular file of at most
// maxSoundFileBytes; several channels are mixed down to one, as the game
// places its sounds in space. A missing, undecodable or other kind of file
// prints "ERROR::SOUND:: " and the path, and gives no samples.
SoundSamples readSoundFile(const std::string& path);

// The same for a file already in memory; `name` stands for it in the line.
SoundSamples decodeSound(const unsigned char* data, std::size_t size, const std::string& name);
