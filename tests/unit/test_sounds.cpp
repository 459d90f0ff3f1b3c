// The generated sounds, read the way the game reads them, and the reader on
// files it cannot use.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include "audio/sound_file.hpp"
#include "audio/soundscape.hpp"

namespace {
SoundSamples load(const std::string& name) {
    return readSoundFile(std::string(FROSTMOOR_ASSET_DIR) + "/sounds/" + name);
}

// The amplitude of a sine of the given frequency in a stretch (Goertzel).
double toneAmplitude(const SoundSamples& s, std::size_t from, std::size_t count, double hz) {
    const double coeff = 2.0 * std::cos(2.0 * M_PI * hz / s.rate);
    double s1 = 0.0, s2 = 0.0;
    for (std::size_t i = from; i < from + count; ++i) {
        const double s0 = s.samples[i] / 32768.0 + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return 2.0 * std::sqrt(std::max(s1 * s1 + s2 * s2 - coeff * s1 * s2, 0.0)) / static_cast<double>(count);
}
} // namespace

TEST(Sounds, EverySoundIsThereAndPeaksBelowFullScale) {
    for (const char* name : soundFiles) {
        const SoundSamples s = load(name);
        ASSERT_FALSE(s.samples.empty()) << name;
        EXPECT_EQ(s.rate, 22050) << name;
        int peak = 0;
        for (short x : s.samples)
            peak = std::max(peak, std::abs(static_cast<int>(x)));
        EXPECT_LT(peak, 32000) << name;
        EXPECT_GT(peak, 16000) << name << " is too quiet to mix";
    }
}

TEST(Sounds, LoopsJoinWithoutAClick) {
    for (const char* name : {"wind.wav", "sizzle.wav", "rotor.wav"}) {
        const std::vector<short>& x = load(name).samples;
        ASSERT_GT(x.size(), 1000u) << name;
        std::vector<int> steps;
        for (std::size_t i = 1; i < x.size(); ++i)
            steps.push_back(std::abs(x[i] - x[i - 1]));
        std::sort(steps.begin(), steps.end());
        const int typical = steps[steps.size() * 99 / 100];
        EXPECT_LE(std::abs(x.front() - x.back()), typical) << name << ": the wrap is a step of its own";
    }
}

TEST(Sounds, ChimeRingsWellAboveTheWindInItsBand) {
    const SoundSamples chime = load("chime.wav"), wind = load("wind.wav");
    ASSERT_EQ(chime.rate, wind.rate);
    const std::size_t window = static_cast<std::size_t>(chime.rate / 4);
    double windiest = 0.0;
    for (std::size_t at = 0; at + window <= wind.samples.size(); at += window)
        windiest = std::max(windiest, toneAmplitude(wind, at, window, 2093.0));
    EXPECT_GT(toneAmplitude(chime, 0, window, 2093.0), 30.0 * windiest);
}

TEST(SoundFile, UnreadableFilesAreReportedAndGiveNoSamples) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("frostmoor-sounds-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string absent = (dir / "absent.wav").string(), noise = (dir / "noise.wav").string();
    std::ofstream(noise) << "RIFF\x10\0\0\0WAVEnot really sound at all";
    for (const std::string& path : {absent, noise}) {
        testing::internal::CaptureStdout();
        const SoundSamples s = readSoundFile(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::SOUND:: " + path + "\n");
        EXPECT_TRUE(s.samples.empty());
    }

    // Two channels are mixed into one, as the game places its sounds.
    const std::string stereo = (dir / "stereo.wav").string();
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(stereo.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    const short frames[] = {16000, -16000, 8000, 8000};
    sf_writef_short(file, frames, 2);
    sf_close(file);
    const SoundSamples mixed = readSoundFile(stereo);
    EXPECT_EQ(mixed.rate, 8000);
    ASSERT_EQ(mixed.samples.size(), 2u);
    EXPECT_NEAR(mixed.samples[0], 0, 1);
    EXPECT_NEAR(mixed.samples[1], 8000, 2);
    std::filesystem::remove_all(dir);
}
