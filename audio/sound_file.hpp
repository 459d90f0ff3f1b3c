#pragma once
// Sound files, decoded with libsndfile into 16-bit mono samples.
#include <string>
#include <vector>

struct SoundSamples {
    std::vector<short> samples; // mono
    int rate = 0;               // samples per second
};

// Reads a sound file of any format libsndfile knows; several channels are
// mixed down to one, as the game places its sounds in space. A missing or
// undecodable file prints "ERROR::SOUND:: " and the path, and gives no
// samples.
SoundSamples readSoundFile(const std::string& path);
