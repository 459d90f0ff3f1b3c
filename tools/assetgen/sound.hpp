#pragma once
// Sounds built from a few named pieces: noise, filters, envelopes, tones,
// loops and fades. All noise is hashed from the sample index with a fixed
// seed, so every run writes the same samples.
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

inline constexpr int soundRate = 22050; // samples per second, mono

using Sound = std::vector<float>; // samples in [-1, 1]

int samplesFor(float seconds);
float timeOf(int sample);

// White noise in [-1, 1).
Sound noise(int count, std::uint32_t seed);

// One-pole filters; run twice for a steeper slope.
Sound lowPass(Sound sound, float cutoff);
Sound highPass(const Sound& sound, float cutoff);
Sound bandPass(const Sound& sound, float low, float high);

// Zero before t = 0, a linear rise over `attack` seconds, then an
// exponential fall with the time constant `decay`.
float envelope(float t, float attack, float decay);

// A sine whose frequency glides exponentially from `from` to `to` over the
// sound's length.
Sound glide(int count, float from, float to);

// A struck glass bar: inharmonic partials, the higher ones dying sooner.
Sound chime(int count, float fundamental);

// A note with the harmonics of a bright horn, held for `held` seconds.
Sound hornNote(int count, float frequency, float held);

// Sparse clicks: `perSecond` short decaying pops at hashed times. With
// `wrap`, a pop that runs past the end goes on at the start, for a loop.
Sound crackle(int count, float perSecond, float popSeconds, std::uint32_t seed, bool wrap = false);

// Multiplies every sample by f(t), t in seconds.
template <typename F> Sound shaped(Sound sound, F f) {
    for (std::size_t i = 0; i < sound.size(); ++i)
        sound[i] *= f(timeOf(static_cast<int>(i)));
    return sound;
}

// Adds `part` times `gain` into `into`, starting at sample `at`.
void mixInto(Sound& into, const Sound& part, float gain, int at = 0);

// A loop is made from sources that repeat exactly every `length` samples,
// played twice: the filters settle during the first pass, and the second is
// the loop, whose last sample runs on into its first with no crossfade to
// swell or dip the level.
Sound twice(const Sound& loop);
Sound lastLoop(const Sound& twoLoops);

// Fades the last `seconds` out along a half cosine, down to silence, so a
// sound never ends on a tick.
Sound fadedOut(Sound sound, float seconds);

// Scales the sound so that its largest sample is `peak`.
Sound normalised(Sound sound, float peak);

// 16-bit mono WAV through libsndfile; false when it cannot be written.
bool writeSound(const std::string& path, const Sound& sound);

} // namespace assetgen
