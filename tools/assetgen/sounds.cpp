// The game's eight sounds, each a short recipe of the pieces in sound.hpp.
#include <cmath>
#include <string>

#include "audio/sound_ids.hpp"
#include "generators.hpp"
#include "sound.hpp"

namespace assetgen {

namespace {
constexpr float twoPi = 6.28318530718f;

// Soft desert wind: low rumble and a faint whistle, swelling in gusts that
// repeat with the loop.
Sound wind() {
    const float seconds = 6.0f;
    const int length = samplesFor(seconds);
    const auto gust = [&](float t) {
        return 0.6f + 0.25f * std::sin(twoPi * t / seconds) +
               0.15f * std::sin(2.0f * twoPi * t / seconds + 1.0f);
    };
    Sound air = shaped(lowPass(lowPass(twice(noise(length, 11)), 450.0f), 450.0f), gust);
    const Sound whistle =
        shaped(bandPass(bandPass(twice(noise(length, 12)), 650.0f, 1000.0f), 650.0f, 1000.0f),
               [&](float t) { return gust(t) * gust(t); });
    mixInto(air, whistle, 0.8f);
    return normalised(lastLoop(air), 0.7f);
}

// One step in dry sand: a short band of noise and a few grains.
Sound footstep() {
    const int length = samplesFor(0.2f);
    Sound step = shaped(bandPass(noise(length, 21), 250.0f, 1500.0f),
                        [](float t) { return envelope(t, 0.004f, 0.045f); });
    mixInto(step,
            shaped(lowPass(crackle(length, 60.0f, 0.003f, 22), 1800.0f),
                   [](float t) { return envelope(t, 0.002f, 0.03f); }),
            0.8f);
    return fadedOut(normalised(step, 0.8f), 0.05f);
}

// An ice cube taken: a clear glass chime over a short cooling hiss. C6, the
// scale's top step an octave under a whistle.
Sound iceChime() {
    const int length = samplesFor(1.6f);
    Sound sound = chime(length, 1046.5f);
    mixInto(sound,
            shaped(highPass(highPass(noise(length, 31), 4500.0f), 4500.0f),
                   [](float t) { return envelope(t - 0.03f, 0.03f, 0.25f); }),
            0.35f);
    return fadedOut(normalised(sound, 0.8f), 0.3f);
}

// Heat warning: a hissing, crackling loop.
Sound sizzle() {
    const float seconds = 2.0f;
    const int length = samplesFor(seconds);
    Sound hiss =
        shaped(highPass(highPass(twice(noise(length, 41)), 2500.0f), 2500.0f),
               [&](float t) { return 0.75f + 0.25f * std::sin(3.0f * twoPi * t / seconds); });
    mixInto(hiss, highPass(twice(crackle(length, 35.0f, 0.002f, 42, true)), 1200.0f), 1.2f);
    return normalised(lastLoop(hiss), 0.6f);
}

// The snowman melts: a splash, a long hiss and a blob that sinks, heard to
// the bottom of its glide.
Sound melt() {
    const int length = samplesFor(1.6f);
    Sound sound = shaped(bandPass(noise(length, 51), 300.0f, 3000.0f),
                         [](float t) { return envelope(t, 0.01f, 0.3f); });
    mixInto(sound,
            shaped(highPass(noise(length, 52), 3000.0f),
                   [](float t) { return 0.6f * envelope(t - 0.05f, 0.08f, 0.6f); }),
            1.0f);
    mixInto(sound,
            shaped(glide(length, 220.0f, 60.0f), [](float t) { return envelope(t, 0.02f, 1.2f); }),
            0.5f);
    return fadedOut(normalised(sound, 0.85f), 0.3f);
}

// Helicopter: twelve blade passes a second, each a broadband slap over a
// low whump, and the engine's drone under them, all repeating exactly with
// the one-second loop. No steady tone above the drone: on small speakers a
// whine there is all one hears.
Sound rotor() {
    const int length = samplesFor(1.0f);
    const auto sinceBlade = [](float t) { return (12.0f * t - std::floor(12.0f * t)) / 12.0f; };
    Sound sound = shaped(lowPass(lowPass(twice(noise(length, 61)), 380.0f), 380.0f),
                         [&](float t) { return envelope(sinceBlade(t), 0.003f, 0.03f); });
    mixInto(sound,
            shaped(bandPass(twice(noise(length, 62)), 400.0f, 5000.0f),
                   [&](float t) { return envelope(sinceBlade(t), 0.0008f, 0.008f); }),
            1.2f);
    for (std::size_t i = 0; i < sound.size(); ++i) {
        const float t = timeOf(static_cast<int>(i));
        sound[i] += 0.18f * std::sin(twoPi * 55.0f * t) + 0.08f * std::sin(twoPi * 110.0f * t);
    }
    return normalised(lastLoop(sound), 0.8f);
}

// The win: a rising arpeggio that ends on a held octave.
Sound fanfare() {
    const int length = samplesFor(1.7f);
    const float notes[] = {523.25f, 659.25f, 783.99f, 1046.5f};
    Sound sound(static_cast<std::size_t>(length), 0.0f);
    for (int n = 0; n < 4; ++n) {
        const bool last = n == 3;
        const int at = samplesFor(0.15f * static_cast<float>(n));
        mixInto(sound, hornNote(length - at, notes[n], last ? 0.9f : 0.14f), last ? 1.0f : 0.8f,
                at);
    }
    return fadedOut(normalised(sound, 0.8f), 0.25f);
}

// A cube lands: a dull low knock, with a short click on top that small
// speakers, which drop the knock, still play.
Sound thud() {
    const int length = samplesFor(0.3f);
    Sound sound =
        shaped(glide(length, 110.0f, 45.0f), [](float t) { return envelope(t, 0.002f, 0.08f); });
    mixInto(sound,
            shaped(lowPass(noise(length, 81), 400.0f),
                   [](float t) { return envelope(t, 0.001f, 0.03f); }),
            1.5f);
    mixInto(sound,
            shaped(bandPass(noise(length, 82), 1000.0f, 4000.0f),
                   [](float t) { return envelope(t, 0.0005f, 0.015f); }),
            4.0f);
    return fadedOut(normalised(sound, 0.8f), 0.08f);
}
// A switch with no default: the compiler names any sound of the game's list
// that is not made here.
Sound make(SoundId id) {
    switch (id) {
    case Wind:
        return wind();
    case Footstep:
        return footstep();
    case Chime:
        return iceChime();
    case Sizzle:
        return sizzle();
    case Melt:
        return melt();
    case Rotor:
        return rotor();
    case Fanfare:
        return fanfare();
    case Thud:
        return thud();
    case SoundCount:
        break;
    }
    return {};
}
} // namespace

bool makeSounds(const std::string& sounds) {
    bool ok = true;
    for (int id = 0; id < SoundCount; ++id)
        ok = writeSound(sounds + "/" + soundFiles[id], make(static_cast<SoundId>(id))) && ok;
    return ok;
}

} // namespace assetgen
