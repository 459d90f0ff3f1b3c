// The generated sounds as a player would hear them, the reader on files it
// cannot use, and the parts of the mixer that need no sound device.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sndfile.h>
#include <fcntl.h>
#include <unistd.h>

#include "audio/quiet_stderr.hpp"
#include "audio/sound_file.hpp"
#include "audio/soundscape.hpp"
#include "audio/variation.hpp"

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
    return 2.0 * std::sqrt(std::max(s1 * s1 + s2 * s2 - coeff * s1 * s2, 0.0)) /
           static_cast<double>(count);
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

// The level in decibels of `count` samples from `from`, wrapping around the
// end as a loop does.
double loopLevel(const std::vector<short>& x, long from, long count) {
    const long n = static_cast<long>(x.size());
    double sum = 0.0;
    for (long i = from; i < from + count; ++i) {
        const double v = x[static_cast<std::size_t>(((i % n) + n) % n)] / 32768.0;
        sum += v * v;
    }
    return 10.0 * std::log10(sum / static_cast<double>(count) + 1e-12);
}

TEST(Sounds, LoopsJoinAtAnEvenLevelWithoutAClick) {
    // Each loop with the distance at which its own rhythm repeats: the
    // rotor's blades, the sizzle's throb; the wind's gusts are slow.
    struct Loop {
        const char* name;
        double cycle; // seconds
    };
    for (const Loop& loop :
         {Loop{"wind.wav", 0.25}, Loop{"sizzle.wav", 2.0 / 3.0}, Loop{"rotor.wav", 0.25}}) {
        const SoundSamples s = load(loop.name);
        const std::vector<short>& x = s.samples;
        ASSERT_GT(x.size(), 1000u) << loop.name;
        const long n = static_cast<long>(x.size());

        // A click: the step across the seam against the steps around it.
        double around = 0.0;
        for (long i = -256; i < 256; ++i)
            if (i != 0) {
                const double step = x[static_cast<std::size_t>((i + n) % n)] -
                                    x[static_cast<std::size_t>((i - 1 + n) % n)];
                around += step * step / 511.0;
            }
        EXPECT_LE(std::abs(x.front() - x.back()), 4.0 * std::sqrt(around))
            << loop.name << ": a click at the seam";

        // A swell or a dip, as a crossfade of related halves gives: the
        // quarter second after the seam, and the one across it, against the
        // same stretches one cycle of the sound's rhythm before and after.
        const long stretch = s.rate / 4, cycle = std::lround(loop.cycle * s.rate);
        for (const long from : {0L, -stretch / 2}) {
            const double here = loopLevel(x, from, stretch);
            const double around =
                (loopLevel(x, from - cycle, stretch) + loopLevel(x, from + cycle, stretch)) / 2.0;
            EXPECT_NEAR(here, around, 1.2) << loop.name << ": the level swells or dips at the seam";
        }
    }
}

// The power of all that lies above `hz`, through two one-pole high-passes.
double powerAbove(const SoundSamples& s, double hz, std::size_t from = 0, std::size_t to = 0) {
    if (to == 0)
        to = s.samples.size();
    const double a = 1.0 - std::exp(-2.0 * M_PI * hz / s.rate);
    double low1 = 0.0, low2 = 0.0, sum = 0.0;
    for (std::size_t i = 0; i < to; ++i) {
        const double x = s.samples[i] / 32768.0;
        low1 += a * (x - low1);
        const double high1 = x - low1;
        low2 += a * (high1 - low2);
        if (i >= from)
            sum += (high1 - low2) * (high1 - low2);
    }
    return sum / static_cast<double>(to - from);
}

double power(const SoundSamples& s, std::size_t from = 0, std::size_t to = 0) {
    if (to == 0)
        to = s.samples.size();
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += (s.samples[i] / 32768.0) * (s.samples[i] / 32768.0);
    return sum / static_cast<double>(to - from);
}

TEST(Sounds, WhatSmallSpeakersPlayIsNoWhistleButTheKnockIsThere) {
    // The rotor: no single tone above 300 Hz stands out of its slaps. Its
    // loop lasts a second, so whole hertz are exact.
    const SoundSamples rotor = load("rotor.wav");
    double strongest = 0.0;
    int strongestHz = 0;
    for (int hz = 300; hz <= 5000; ++hz) {
        const double a = toneAmplitude(rotor, 0, rotor.samples.size(), hz);
        if (a * a / 2.0 > strongest) {
            strongest = a * a / 2.0;
            strongestHz = hz;
        }
    }
    EXPECT_LT(strongest, 0.05 * powerAbove(rotor, 300.0))
        << "a whistle at " << strongestHz << " Hz";

    // The thud's knock lies below what small speakers play: its click must
    // carry a good part of it.
    const SoundSamples thud = load("thud.wav");
    EXPECT_GT(powerAbove(thud, 300.0), 0.25 * power(thud));

    // The chime rings below 1.5 kHz, so that its highest step stays clear
    // of a whistle.
    const SoundSamples chime = load("chime.wav");
    const std::size_t quarter = static_cast<std::size_t>(chime.rate / 4);
    int brightest = 0;
    double loudest = 0.0;
    for (int hz = 200; hz <= 8000; hz += 5)
        if (const double a = toneAmplitude(chime, 0, quarter, hz); a > loudest) {
            loudest = a;
            brightest = hz;
        }
    EXPECT_LT(brightest, 1500);
}

TEST(Sounds, OneShotsFadeToSilence) {
    for (const char* name : {"footstep.wav", "chime.wav", "melt.wav", "fanfare.wav", "thud.wav"}) {
        const SoundSamples s = load(name);
        ASSERT_FALSE(s.samples.empty()) << name;
        EXPECT_LE(std::abs(s.samples.back()), 1) << name << " ends on a tick";
        const std::size_t tail = static_cast<std::size_t>(s.rate / 100);
        const std::size_t n = s.samples.size();
        EXPECT_LT(power(s, n - tail, n), 1e-5) << name << " still sounds in its last 10 ms";
    }
    // The melt's blob is heard sinking to the end of its glide, not only at
    // its start: low notes late against early.
    const SoundSamples melt = load("melt.wav");
    const auto at = [&](double seconds) { return static_cast<std::size_t>(seconds * melt.rate); };
    const double low = power(melt, at(0.1), at(0.4)) - powerAbove(melt, 150.0, at(0.1), at(0.4));
    const double lowLate =
        power(melt, at(1.0), at(1.3)) - powerAbove(melt, 150.0, at(1.0), at(1.3));
    EXPECT_GT(lowLate, 0.05 * low);
}

TEST(SoundFile, UnreadableFilesAreReportedAndGiveNoSamples) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("frostmoor-sounds-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    // Real RIFF/WAVE headers over bodies the game cannot use: a PCM sound of
    // no samples at all, one of no channels, and one of 12-bit samples, which
    // libsndfile would read as 16-bit ones.
    const auto wave = [&](const char* name, std::uint16_t channels, std::uint32_t dataBytes,
                          std::uint16_t bits = 16) {
        const std::string path = (dir / name).string();
        std::string bytes;
        const auto put = [&](std::uint32_t value, int size) {
            for (int i = 0; i < size; ++i)
                bytes += static_cast<char>((value >> (8 * i)) & 0xff);
        };
        bytes += "RIFF";
        put(36 + dataBytes, 4);
        bytes += "WAVEfmt ";
        put(16, 4);
        put(1, 2); // PCM
        put(channels, 2);
        put(22050, 4);
        put(22050u * 2u * channels, 4);
        put(2u * channels, 2);
        put(bits, 2);
        bytes += "data";
        put(dataBytes, 4);
        bytes.append(dataBytes, '\0');
        std::ofstream(path, std::ios::binary) << bytes;
        EXPECT_EQ(std::filesystem::file_size(path), 44u + dataBytes);
        return path;
    };
    const std::string absent = (dir / "absent.wav").string();
    for (const std::string& path : {absent, wave("empty.wav", 1, 0), wave("no-channels.wav", 0, 64),
                                    wave("twelve-bit.wav", 1, 64, 12)}) {
        testing::internal::CaptureStdout();
        const SoundSamples s = readSoundFile(path);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::SOUND:: " + path + "\n");
        EXPECT_TRUE(s.samples.empty());
    }

    // The same sound in formats libsndfile writes and reads.
    const auto write = [&](const char* name, int format, int channels = 2) {
        const std::string path = (dir / name).string();
        SF_INFO info{};
        info.samplerate = 8000;
        info.channels = channels;
        info.format = format;
        SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
        EXPECT_NE(file, nullptr) << name;
        const short frames[] = {16000, -16000, 8000, 8000};
        sf_writef_short(file, frames, 2);
        sf_close(file);
        return path;
    };
    // What the game does not ship is refused, as readable as it is.
    for (const std::string& path : {write("float.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT),
                                    write("sound.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16),
                                    write("sound.au", SF_FORMAT_AU | SF_FORMAT_PCM_16),
                                    write("ima.wav", SF_FORMAT_WAV | SF_FORMAT_IMA_ADPCM, 1),
                                    write("ms.wav", SF_FORMAT_WAV | SF_FORMAT_MS_ADPCM, 1),
                                    write("gsm.wav", SF_FORMAT_WAV | SF_FORMAT_GSM610, 1)}) {
        testing::internal::CaptureStdout();
        EXPECT_TRUE(readSoundFile(path).samples.empty());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::SOUND:: " + path + "\n");
    }

    // Two channels are mixed into one, as the game places its sounds; the
    // extensible header's PCM is PCM too.
    const SoundSamples mixed =
        readSoundFile(write("stereo.wav", SF_FORMAT_WAVEX | SF_FORMAT_PCM_16));
    EXPECT_EQ(mixed.rate, 8000);
    ASSERT_EQ(mixed.samples.size(), 2u);
    EXPECT_NEAR(mixed.samples[0], 0, 1);
    EXPECT_NEAR(mixed.samples[1], 8000, 2);
    std::filesystem::remove_all(dir);
}

TEST(Variation, StepsVaryByAFewPercentAndEveryWalkAlike) {
    Variation a(7), b(7);
    float low = 2.0f, high = 0.0f, previous = 1.0f;
    int repeats = 0;
    for (int i = 0; i < 1000; ++i) {
        const float x = a.next(0.05f);
        ASSERT_EQ(x, b.next(0.05f)) << "one seed, one walk";
        low = std::min(low, x);
        high = std::max(high, x);
        repeats += x == previous;
        previous = x;
    }
    EXPECT_GE(low, 0.95f);
    EXPECT_LE(high, 1.05f);
    EXPECT_LT(low, 0.96f);
    EXPECT_GT(high, 1.04f);
    EXPECT_EQ(repeats, 0);
}

TEST(QuietStderr, SilencesStderrAndHandsItsCopyToNoChild) {
    namespace fs = std::filesystem;
    const auto target = [](int fd) {
        return fs::read_symlink("/proc/self/fd/" + std::to_string(fd));
    };
    const auto openFds = [] {
        std::vector<int> fds;
        for (const fs::directory_entry& entry : fs::directory_iterator("/proc/self/fd"))
            fds.push_back(std::stoi(entry.path().filename().string()));
        // Less the listing's own descriptor, closed by now.
        std::erase_if(fds, [](int fd) { return fcntl(fd, F_GETFD) == -1; });
        return fds;
    };
    const fs::path stderrWas = target(STDERR_FILENO);
    const std::vector<int> before = openFds();
    {
        QuietStderr quiet;
        EXPECT_EQ(target(STDERR_FILENO), "/dev/null");
        int copies = 0;
        for (const int fd : openFds()) {
            std::error_code gone;
            if (std::count(before.begin(), before.end(), fd) != 0 ||
                fs::read_symlink("/proc/self/fd/" + std::to_string(fd), gone) != stderrWas)
                continue;
            ++copies;
            EXPECT_TRUE(fcntl(fd, F_GETFD) & FD_CLOEXEC)
                << "the saved stderr would pass to a child";
        }
        EXPECT_EQ(copies, 1);
    }
    EXPECT_EQ(target(STDERR_FILENO), stderrWas);
}
