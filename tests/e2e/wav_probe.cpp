// Measures a recording of the game's sound, for the end-to-end tests.
//   wav_probe level FILE FROM TO             peak, then RMS of left and right
//   wav_probe tone FILE HZ WINDOW FROM TO    per window: time, then the
//                                            amplitude of a sine at HZ in
//                                            the left and the right channel
//   wav_probe hiss FILE HZ WINDOW FROM TO    per window: time, then the RMS
//                                            above HZ, left and right
// Times are seconds; TO = -1 means the end of the file.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <sndfile.h>

namespace {
struct Recording {
    int rate = 0;
    std::vector<float> left, right;
};

bool read(const char* path, Recording& out) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (file == nullptr || info.channels < 1)
        return false;
    std::vector<float> frames(static_cast<std::size_t>(info.frames * info.channels));
    const sf_count_t got = sf_readf_float(file, frames.data(), info.frames);
    sf_close(file);
    out.rate = info.samplerate;
    const std::size_t c = static_cast<std::size_t>(info.channels);
    for (sf_count_t i = 0; i < got; ++i) {
        const std::size_t k = static_cast<std::size_t>(i) * c;
        out.left.push_back(frames[k]);
        out.right.push_back(frames[k + (c > 1 ? 1 : 0)]);
    }
    return true;
}

// The amplitude of a sine of the given frequency in a stretch (Goertzel).
double toneAmplitude(const std::vector<float>& x, std::size_t from, std::size_t to, double hz,
                     int rate) {
    const double w = 2.0 * M_PI * hz / rate, coeff = 2.0 * std::cos(w);
    double s1 = 0.0, s2 = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        const double s0 = x[i] + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coeff * s1 * s2;
    return 2.0 * std::sqrt(std::max(power, 0.0)) /
           static_cast<double>(std::max<std::size_t>(to - from, 1));
}

// Two one-pole high-pass stages.
std::vector<float> highPassed(const std::vector<float>& x, double hz, int rate) {
    const double a = 1.0 - std::exp(-2.0 * M_PI * hz / rate);
    std::vector<float> y(x);
    for (int stage = 0; stage < 2; ++stage) {
        double low = 0.0;
        for (float& v : y) {
            low += a * (v - low);
            v = static_cast<float>(v - low);
        }
    }
    return y;
}

double rms(const std::vector<float>& x, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(x[i]) * x[i];
    return std::sqrt(sum / static_cast<double>(std::max<std::size_t>(to - from, 1)));
}
} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: wav_probe level FILE FROM TO | tone|hiss FILE HZ WINDOW FROM TO\n");
        return 2;
    }
    const std::string command = argv[1];
    Recording r;
    if (!read(argv[2], r)) {
        std::fprintf(stderr, "wav_probe: cannot read %s\n", argv[2]);
        return 1;
    }
    const std::size_t length = r.left.size();
    auto sample = [&](const char* seconds) {
        const double t = std::atof(seconds);
        return t < 0 ? length
                     : std::min(length, static_cast<std::size_t>(std::max(0.0, t) * r.rate));
    };
    if (command == "level") {
        const std::size_t from = sample(argv[3]), to = sample(argv[4]);
        float peak = 0.0f;
        for (std::size_t i = from; i < to; ++i)
            peak = std::max({peak, std::abs(r.left[i]), std::abs(r.right[i])});
        std::printf("%.6f %.6f %.6f\n", peak, rms(r.left, from, to), rms(r.right, from, to));
        return 0;
    }
    if (command == "tone" && argc == 7) {
        const double hz = std::atof(argv[3]);
        const std::size_t window = static_cast<std::size_t>(std::atof(argv[4]) * r.rate);
        const std::size_t to = sample(argv[6]);
        for (std::size_t at = sample(argv[5]); window > 0 && at + window <= to; at += window)
            std::printf("%.3f %.6f %.6f\n", static_cast<double>(at) / r.rate,
                        toneAmplitude(r.left, at, at + window, hz, r.rate),
                        toneAmplitude(r.right, at, at + window, hz, r.rate));
        return 0;
    }
    if (command == "hiss" && argc == 7) {
        const double hz = std::atof(argv[3]);
        const std::vector<float> left = highPassed(r.left, hz, r.rate),
                                 right = highPassed(r.right, hz, r.rate);
        const std::size_t window = static_cast<std::size_t>(std::atof(argv[4]) * r.rate);
        const std::size_t to = sample(argv[6]);
        for (std::size_t at = sample(argv[5]); window > 0 && at + window <= to; at += window)
            std::printf("%.3f %.6f %.6f\n", static_cast<double>(at) / r.rate,
                        rms(left, at, at + window), rms(right, at, at + window));
        return 0;
    }
    std::fprintf(stderr, "wav_probe: unknown command %s\n", command.c_str());
    return 2;
}
