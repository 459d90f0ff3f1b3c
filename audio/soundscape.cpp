#include "audio/soundscape.hpp"

#include <algorithm>
#include <iostream>
#include <string>

#include <AL/al.h>

#include "audio/device.hpp"
#include "audio/sound_file.hpp"
#include "audio/variation.hpp"

namespace {
// How loud each sound is against the others, and how far the placed ones
// carry: full within the first distance, fading to nothing at the second.
struct Voicing {
    float gain;
    bool placed;
    float fullWithin;
    float silentBeyond;
};
constexpr Voicing voicings[SoundCount] = {
    {0.30f, false, 1.0f, 1.0f},   // wind, everywhere at once
    {0.45f, false, 1.0f, 1.0f},   // footsteps, at the listener's feet
    {0.60f, true, 30.0f, 200.0f}, // chime, at the cube
    {0.50f, false, 1.0f, 1.0f},   // sizzle, the snowman's own heat
    {0.90f, false, 1.0f, 1.0f},   // melt
    {0.90f, true, 25.0f, 160.0f}, // rotor, heard only near the helicopter
    {0.80f, false, 1.0f, 1.0f},   // fanfare
    {0.90f, true, 12.0f, 120.0f}, // thud, at the cube (its click sets its peak)
};

// Several voices of one sound, taken in turn, so that quick repeats overlap.
struct Voices {
    ALuint sources[4] = {};
    int count = 0; // none when the mixer had no room for them
    int next = 0;

    ALuint take() {
        const ALuint source = sources[next];
        next = (next + 1) % count;
        return source;
    }
};

constexpr float sizzleFadeSeconds = 0.6f;

// Each step a little higher or lower, louder or softer than the last.
constexpr float stepSpread = 0.05f;
constexpr std::uint32_t stepSeed = 0x5eed5;

// Each cube taken rings a step higher than the last, up a major pentatonic
// scale from the chime's own note.
constexpr float chimeSteps[] = {1.0f, 9.0f / 8.0f, 5.0f / 4.0f, 3.0f / 2.0f, 5.0f / 3.0f};
constexpr int chimeStepCount = static_cast<int>(sizeof chimeSteps / sizeof chimeSteps[0]);

struct Soundscape {
    bool running = false;
    float volume = 0.0f;
    float listenerGain = -1.0f;
    ALuint buffers[SoundCount] = {};
    Voices voices[SoundCount];
    float sizzleLevel = 0.0f; // 0 silent, 1 full
    bool rotorTurning = false;
    int chimesRung = 0;
    Variation steps{stepSeed};
};
Soundscape scape;

constexpr int voiceCount(SoundId id) {
    switch (id) {
    case Footstep:
        return 2;
    case Chime:
        return 3;
    case Thud:
        return 4;
    default:
        return 1;
    }
}

// A sound the mixer cannot take stays silent, and says why on stderr.
bool alFailed(SoundId id) {
    const ALenum error = alGetError();
    if (error == AL_NO_ERROR)
        return false;
    const ALchar* reason = alGetString(error);
    std::cerr << "ERROR::SOUND:: " << soundFiles[id]
              << " stays silent: " << (reason != nullptr ? reason : "OpenAL error") << std::endl;
    return true;
}

void makeVoices(SoundId id) {
    const Voicing& v = voicings[id];
    Voices& voices = scape.voices[id];
    alGenSources(voiceCount(id), voices.sources);
    if (alFailed(id))
        return;
    voices.count = voiceCount(id);
    for (int i = 0; i < voices.count; ++i) {
        const ALuint source = voices.sources[i];
        alSourcei(source, AL_BUFFER, static_cast<ALint>(scape.buffers[id]));
        alSourcef(source, AL_GAIN, v.gain);
        alSourcei(source, AL_LOOPING,
                  id == Wind || id == Sizzle || id == Rotor ? AL_TRUE : AL_FALSE);
        if (v.placed) {
            alSourcef(source, AL_REFERENCE_DISTANCE, v.fullWithin);
            alSourcef(source, AL_MAX_DISTANCE, v.silentBeyond);
        } else {
            // Fixed to the listener: never panned, never attenuated.
            alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(source, AL_POSITION, 0.0f, 0.0f, 0.0f);
        }
    }
}

bool silent(SoundId id) {
    return scape.voices[id].count == 0;
}

void playAt(SoundId id, const PlacedSound& sound, float pitch = 1.0f) {
    if (silent(id))
        return;
    const ALuint source = scape.voices[id].take();
    alSourcef(source, AL_PITCH, pitch);
    alSource3f(source, AL_POSITION, sound.at.x, sound.at.y, sound.at.z);
    alSourcef(source, AL_GAIN, voicings[id].gain * std::clamp(sound.strength, 0.0f, 1.0f));
    alSourcePlay(source);
}

void ringChime(const PlacedSound& sound) {
    const int step = std::min(scape.chimesRung++, chimeStepCount - 1);
    playAt(Chime, sound, chimeSteps[step]);
}

void play(SoundId id) {
    if (!silent(id))
        alSourcePlay(scape.voices[id].take());
}

void step() {
    if (silent(Footstep))
        return;
    const ALuint source = scape.voices[Footstep].take();
    alSourcef(source, AL_PITCH, scape.steps.next(stepSpread));
    alSourcef(source, AL_GAIN, voicings[Footstep].gain * scape.steps.next(stepSpread));
    alSourcePlay(source);
}

// The warning's loop fades in and out instead of starting and stopping.
void fadeSizzle(bool warning, float seconds) {
    const float target = warning ? 1.0f : 0.0f;
    if (scape.sizzleLevel == target || silent(Sizzle))
        return;
    const float step = seconds / sizzleFadeSeconds;
    const float level = warning ? std::min(scape.sizzleLevel + step, 1.0f)
                                : std::max(scape.sizzleLevel - step, 0.0f);
    const ALuint source = scape.voices[Sizzle].sources[0];
    alSourcef(source, AL_GAIN, voicings[Sizzle].gain * level);
    if (scape.sizzleLevel == 0.0f)
        alSourcePlay(source);
    else if (level == 0.0f)
        alSourceStop(source);
    scape.sizzleLevel = level;
}
} // namespace

// The next frame hears it: the mixer plays only frames the game plays, and
// nothing sounds while paused.
void setSoundVolume(float volume) {
    scape.volume = volume;
}

void startSound(float volume, glm::vec3 rotorAt) {
    // Read first, so that a broken file is reported with or without a device.
    SoundSamples samples[SoundCount];
    for (int id = 0; id < SoundCount; ++id)
        samples[id] = readSoundFile(std::string("../assets/sounds/") + soundFiles[id]);
    if (scape.running || !openSoundDevice())
        return;

    alDistanceModel(AL_LINEAR_DISTANCE_CLAMPED);
    alGetError(); // start from a clean error state
    for (int id = 0; id < SoundCount; ++id) {
        // A voice without a buffer (0) plays nothing.
        const SoundSamples& s = samples[id];
        if (s.samples.empty())
            continue;
        alGenBuffers(1, &scape.buffers[id]);
        if (alFailed(static_cast<SoundId>(id))) {
            scape.buffers[id] = 0;
            continue;
        }
        alBufferData(scape.buffers[id], AL_FORMAT_MONO16, s.samples.data(),
                     static_cast<ALsizei>(s.samples.size() * sizeof(short)), s.rate);
        if (alFailed(static_cast<SoundId>(id))) {
            alDeleteBuffers(1, &scape.buffers[id]);
            scape.buffers[id] = 0;
        }
    }
    for (int id = 0; id < SoundCount; ++id)
        makeVoices(static_cast<SoundId>(id));
    if (!silent(Rotor))
        alSource3f(scape.voices[Rotor].sources[0], AL_POSITION, rotorAt.x, rotorAt.y, rotorAt.z);

    scape.running = true;
    scape.volume = volume;
    scape.listenerGain = volume; // until the first frame says whether sound is on
    alListenerf(AL_GAIN, volume);
    scape.sizzleLevel = 0.0f;
    scape.rotorTurning = true;
    play(Wind);
    play(Rotor);
}

void playSoundFrame(const SoundFrame& frame, bool enabled, float seconds) {
    if (!scape.running)
        return;
    const float gain = enabled ? scape.volume : 0.0f;
    if (gain != scape.listenerGain) {
        alListenerf(AL_GAIN, gain);
        scape.listenerGain = gain;
    }
    alListener3f(AL_POSITION, frame.listenerPosition.x, frame.listenerPosition.y,
                 frame.listenerPosition.z);
    const ALfloat orientation[6] = {frame.listenerFront.x, frame.listenerFront.y,
                                    frame.listenerFront.z, frame.listenerUp.x,
                                    frame.listenerUp.y,    frame.listenerUp.z};
    alListenerfv(AL_ORIENTATION, orientation);

    if (frame.footstep)
        step();
    for (int i = 0; i < std::min(frame.chimeCount, maxSoundEvents); ++i)
        ringChime(frame.chimes[i]);
    for (int i = 0; i < std::min(frame.thudCount, maxSoundEvents); ++i)
        playAt(Thud, frame.thuds[i]);
    fadeSizzle(frame.heatWarning, seconds);
    if (frame.melt)
        play(Melt);
    if (frame.fanfare)
        play(Fanfare);
    if (scape.rotorTurning && !frame.rotor) {
        if (!silent(Rotor))
            alSourceStop(scape.voices[Rotor].sources[0]);
        scape.rotorTurning = false;
    }
}

void restartSound() {
    if (!scape.running)
        return;
    for (const SoundId id : {Footstep, Chime, Sizzle, Melt, Fanfare, Thud})
        if (!silent(id))
            alSourceStopv(scape.voices[id].count, scape.voices[id].sources);
    scape.sizzleLevel = 0.0f;
    scape.chimesRung = 0;
    if (!scape.rotorTurning)
        play(Rotor);
    scape.rotorTurning = true;
}

void pauseSound(bool pause) {
    if (!scape.running)
        return;
    for (const Voices& voices : scape.voices)
        for (int i = 0; i < voices.count; ++i) {
            ALint state = AL_STOPPED;
            alGetSourcei(voices.sources[i], AL_SOURCE_STATE, &state);
            // Playing a stopped source would start it from the beginning.
            if (pause && state == AL_PLAYING)
                alSourcePause(voices.sources[i]);
            else if (!pause && state == AL_PAUSED)
                alSourcePlay(voices.sources[i]);
        }
}

void stopSound() {
    if (scape.running) {
        for (Voices& voices : scape.voices) {
            if (voices.count == 0)
                continue;
            alSourceStopv(voices.count, voices.sources);
            alDeleteSources(voices.count, voices.sources);
        }
        for (ALuint buffer : scape.buffers)
            if (buffer != 0)
                alDeleteBuffers(1, &buffer);
    }
    scape = Soundscape{};
    closeSoundDevice();
}
