#include "sound.hpp"

#include <algorithm>
#include <cmath>

#include <sndfile.h>

#include "image.hpp"

namespace assetgen {

namespace {
constexpr float twoPi = 6.28318530718f;
}

int samplesFor(float seconds) {
    return static_cast<int>(std::lround(seconds * soundRate));
}

float timeOf(int sample) {
    return static_cast<float>(sample) / soundRate;
}

Sound noise(int count, std::uint32_t seed) {
    Sound sound(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        sound[static_cast<std::size_t>(i)] = hash01(i, 0, 0, seed) * 2.0f - 1.0f;
    return sound;
}

Sound lowPass(Sound sound, float cutoff) {
    const float a = 1.0f - std::exp(-twoPi * cutoff / soundRate);
    float y = 0.0f;
    for (float& x : sound)
        x = y += a * (x - y);
    return sound;
}

Sound highPass(const Sound& sound, float cutoff) {
    Sound low = lowPass(sound, cutoff);
    for (std::size_t i = 0; i < sound.size(); ++i)
        low[i] = sound[i] - low[i];
    return low;
}

Sound bandPass(const Sound& sound, float low, float high) {
    return highPass(lowPass(sound, high), low);
}

float envelope(float t, float attack, float decay) {
    if (t < 0.0f)
        return 0.0f;
    if (t < attack)
        return t / attack;
    return std::exp(-(t - attack) / decay);
}

Sound glide(int count, float from, float to) {
    Sound sound(static_cast<std::size_t>(count));
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const float f =
            from * std::pow(to / from, static_cast<float>(i) / static_cast<float>(count));
        sound[static_cast<std::size_t>(i)] = static_cast<float>(std::sin(phase));
        phase += twoPi * f / soundRate;
    }
    return sound;
}

Sound chime(int count, float fundamental) {
    // Ratios of a free glass bar, with each partial's level and ring time.
    struct Partial {
        float ratio, level, ring;
    };
    const Partial partials[] = {
        {1.0f, 1.0f, 0.55f}, {2.76f, 0.45f, 0.30f}, {5.40f, 0.22f, 0.16f}, {8.93f, 0.10f, 0.09f}};
    Sound sound(static_cast<std::size_t>(count), 0.0f);
    for (const Partial& p : partials) {
        const float f = fundamental * p.ratio;
        if (f >= soundRate / 2.0f)
            continue;
        for (int i = 0; i < count; ++i) {
            const float t = timeOf(i);
            sound[static_cast<std::size_t>(i)] +=
                p.level * envelope(t, 0.002f, p.ring) * std::sin(twoPi * f * t);
        }
    }
    return sound;
}

Sound hornNote(int count, float frequency, float held) {
    Sound sound(static_cast<std::size_t>(count), 0.0f);
    for (int i = 0; i < count; ++i) {
        const float t = timeOf(i);
        // Swells in, holds, then dies away.
        const float level =
            std::min(t / 0.025f, 1.0f) * (t < held ? 1.0f : std::exp(-(t - held) / 0.12f));
        float s = 0.0f;
        for (int k = 1; k <= 6 && k * frequency < soundRate / 2.0f; ++k)
            s += std::sin(twoPi * frequency * static_cast<float>(k) * t) / static_cast<float>(k);
        sound[static_cast<std::size_t>(i)] = level * s;
    }
    return sound;
}

Sound crackle(int count, float perSecond, float popSeconds, std::uint32_t seed, bool wrap) {
    Sound sound(static_cast<std::size_t>(count), 0.0f);
    const int pops = static_cast<int>(perSecond * timeOf(count));
    const int popLength = samplesFor(popSeconds * 6.0f);
    for (int p = 0; p < pops; ++p) {
        const int at = static_cast<int>(hash01(p, 1, 0, seed) * static_cast<float>(count));
        const float level = 0.3f + 0.7f * hash01(p, 2, 0, seed);
        for (int i = 0; i < popLength && (wrap || at + i < count); ++i) {
            const float grain = hash01(p, 3, i, seed) * 2.0f - 1.0f;
            sound[static_cast<std::size_t>((at + i) % count)] +=
                level * grain * std::exp(-timeOf(i) / popSeconds);
        }
    }
    return sound;
}

void mixInto(Sound& into, const Sound& part, float gain, int at) {
    for (std::size_t i = 0; i < part.size(); ++i) {
        const std::size_t j = static_cast<std::size_t>(at) + i;
        if (j < into.size())
            into[j] += gain * part[i];
    }
}

Sound twice(const Sound& loop) {
    Sound sound(loop);
    sound.insert(sound.end(), loop.begin(), loop.end());
    return sound;
}

Sound lastLoop(const Sound& twoLoops) {
    return Sound(twoLoops.begin() + static_cast<std::ptrdiff_t>(twoLoops.size() / 2),
                 twoLoops.end());
}

Sound fadedOut(Sound sound, float seconds) {
    const int fade = std::min(samplesFor(seconds), static_cast<int>(sound.size()));
    const std::size_t start = sound.size() - static_cast<std::size_t>(fade);
    for (int i = 0; i < fade; ++i) {
        // 1 at the first faded sample, exactly 0 at the last.
        const float w = fade > 1 ? static_cast<float>(i) / static_cast<float>(fade - 1) : 1.0f;
        sound[start + static_cast<std::size_t>(i)] *= 0.5f + 0.5f * std::cos(w * twoPi / 2.0f);
    }
    return sound;
}

Sound normalised(Sound sound, float peak) {
    float largest = 0.0f;
    for (float x : sound)
        largest = std::max(largest, std::abs(x));
    if (largest > 0.0f)
        for (float& x : sound)
            x *= peak / largest;
    return sound;
}

bool writeSound(const std::string& path, const Sound& sound) {
    SF_INFO info{};
    info.samplerate = soundRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    const auto count = static_cast<sf_count_t>(sound.size());
    const bool written = sf_write_float(file, sound.data(), count) == count;
    return sf_close(file) == 0 && written;
}

} // namespace assetgen
