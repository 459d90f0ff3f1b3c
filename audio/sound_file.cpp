#include "audio/sound_file.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iostream>

#include <sndfile.h>

#include "app/file_bytes.hpp"

namespace {

// Reads an open file whole and closes it; prints the line on failure.
SoundSamples readOpenFile(SNDFILE* file, const SF_INFO& info, const std::string& name) {
    SoundSamples sound;
    const int subtype = info.format & SF_FORMAT_SUBMASK;
    const bool pcm = subtype == SF_FORMAT_PCM_U8 || subtype == SF_FORMAT_PCM_16 ||
                     subtype == SF_FORMAT_PCM_24 || subtype == SF_FORMAT_PCM_32;
    const int major = info.format & SF_FORMAT_TYPEMASK;
    bool ok = file != nullptr && (major == SF_FORMAT_WAV || major == SF_FORMAT_WAVEX) && pcm &&
              info.channels > 0 && info.samplerate > 0 && info.frames > 0 &&
              info.frames <= maxSoundSamples / info.channels;
    if (ok && info.channels == 1) {
        sound.samples.resize(static_cast<std::size_t>(info.frames));
        ok = sf_readf_short(file, sound.samples.data(), info.frames) == info.frames;
    } else if (ok) {
        const auto channels = static_cast<std::size_t>(info.channels);
        std::vector<short> frames(static_cast<std::size_t>(info.frames) * channels);
        ok = sf_readf_short(file, frames.data(), info.frames) == info.frames;
        sound.samples.resize(static_cast<std::size_t>(info.frames));
        for (std::size_t i = 0; ok && i < sound.samples.size(); ++i) {
            long sum = 0;
            for (std::size_t c = 0; c < channels; ++c)
                sum += frames[i * channels + c];
            sound.samples[i] = static_cast<short>(sum / static_cast<long>(channels));
        }
    }
    sound.rate = info.samplerate;
    if (file != nullptr)
        sf_close(file);
    if (!ok) {
        std::cout << "ERROR::SOUND:: " << name << std::endl;
        return {};
    }
    return sound;
}

// libsndfile's reader over a block of memory.
struct MemoryFile {
    const unsigned char* data;
    sf_count_t size;
    sf_count_t at = 0;
};

sf_count_t memoryLength(void* user) {
    return static_cast<MemoryFile*>(user)->size;
}

sf_count_t memorySeek(sf_count_t offset, int whence, void* user) {
    auto& file = *static_cast<MemoryFile*>(user);
    const sf_count_t base = whence == SEEK_CUR ? file.at : whence == SEEK_END ? file.size : 0;
    if (offset < -base || offset > file.size - base)
        return -1;
    file.at = base + offset;
    return file.at;
}

sf_count_t memoryRead(void* into, sf_count_t count, void* user) {
    auto& file = *static_cast<MemoryFile*>(user);
    const sf_count_t n = std::clamp<sf_count_t>(count, 0, file.size - file.at);
    if (n > 0)
        std::memcpy(into, file.data + file.at, static_cast<std::size_t>(n));
    file.at += n;
    return n;
}

sf_count_t memoryWrite(const void*, sf_count_t, void*) {
    return 0;
}

sf_count_t memoryTell(void* user) {
    return static_cast<MemoryFile*>(user)->at;
}

// Whether a RIFF WAVE file's format chunk says PCM samples of 8, 16, 24 or
// 32 bits, plainly or as the extensible format's PCM subformat. libsndfile
// builds an ADPCM, GSM or MPEG decoder while it opens a file, so the chunk
// is looked up here before libsndfile sees any of it.
bool pcmWave(const unsigned char* data, std::size_t size) {
    const auto little = [data](std::size_t at, int bytes) {
        std::uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | data[at + static_cast<std::size_t>(i)];
        return std::size_t{value};
    };
    if (size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return false;
    for (std::size_t at = 12; at + 8 <= size;) {
        const std::size_t length = little(at + 4, 4);
        if (length > size - at - 8)
            return false;
        if (std::memcmp(data + at, "fmt ", 4) == 0) {
            static const unsigned char pcmGuid[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                      0x10, 0x00, 0x80, 0x00, 0x00, 0xaa,
                                                      0x00, 0x38, 0x9b, 0x71};
            if (length < 16)
                return false;
            const std::size_t tag = little(at + 8, 2), bits = little(at + 22, 2);
            const bool pcm = tag == 1 || (tag == 0xfffe && length >= 40 &&
                                          std::memcmp(data + at + 32, pcmGuid, 16) == 0);
            return pcm && (bits == 8 || bits == 16 || bits == 24 || bits == 32);
        }
        at += 8 + length + (length & 1); // odd lengths are padded to even
    }
    return false;
}

} // namespace

SoundSamples readSoundFile(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!readFileBytes(path.c_str(), maxSoundFileBytes, bytes)) {
        std::cout << "ERROR::SOUND:: " << path << std::endl;
        return {};
    }
    return decodeSound(bytes.data(), bytes.size(), path);
}

SoundSamples decodeSound(const unsigned char* data, std::size_t size, const std::string& name) {
    // The game ships RIFF WAVE files of PCM samples. libsndfile reads FLAC,
    // Ogg, ADPCM, GSM, MPEG and a score of other formats too; only a WAVE
    // file whose format chunk says PCM is handed to it, and what it makes of
    // the file is checked again before a sample is read.
    const bool wave = pcmWave(data, size);
    MemoryFile memory{data, static_cast<sf_count_t>(size)};
    SF_VIRTUAL_IO io{memoryLength, memorySeek, memoryRead, memoryWrite, memoryTell};
    SF_INFO info{};
    SNDFILE* file = wave ? sf_open_virtual(&io, SFM_READ, &info, &memory) : nullptr;
    return readOpenFile(file, info, name);
}
