// Preloaded into an unchanged GLFW program (LD_PRELOAD): stamps the end of
// every glfwSwapBuffers, and once the measured span is over writes the frame
// figures of that span to a file. The program itself is not touched, so the
// figures are what a player sees at the window.
//
// FROSTMOOR_STAMPS_OUT   file for the figures (required; nothing is done without it)
// FROSTMOOR_STAMPS_SKIP  seconds left out after the first swap (default 3)
// FROSTMOOR_STAMPS_SPAN  seconds measured after those (default 20)
// FROSTMOOR_STAMPS_RAW   file for every frame of the span, one a line: its time and
//                        the part of it spent inside the swap (optional)
#include "stats.hpp"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

struct GLFWwindow;

namespace {
using SwapBuffers = void (*)(GLFWwindow*);

double clockNow(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double now() {
    return clockNow(CLOCK_MONOTONIC);
}

double seconds(const char* name, double fallback) {
    const char* text = std::getenv(name);
    return text ? std::atof(text) : fallback;
}

struct Stamps {
    const char* out = std::getenv("FROSTMOOR_STAMPS_OUT");
    double skip = seconds("FROSTMOOR_STAMPS_SKIP", 3.0);
    double span = seconds("FROSTMOOR_STAMPS_SPAN", 20.0);
    double first = -1.0;
    double previous = -1.0;
    std::vector<double> frames;   // milliseconds, inside the span
    std::vector<double> swaps;    // of which inside glfwSwapBuffers
    double cpuAtSpanStart = -1.0; // CPU time of all the process's threads
    double cpuInSpan = 0.0;
    double mainAtSpanStart = -1.0; // and of the thread that swaps, the game's own
    double mainInSpan = 0.0;
    bool written = false;

    Stamps() {
        frames.reserve(1 << 16);
        swaps.reserve(1 << 16);
    }

    void stamp(double swapStart, double t) {
        if (first < 0.0)
            first = t;
        const double since = t - first;
        if (previous >= 0.0 && since > skip && since <= skip + span) {
            frames.push_back((t - previous) * 1000.0);
            swaps.push_back((t - swapStart) * 1000.0);
            if (cpuAtSpanStart < 0.0) {
                cpuAtSpanStart = clockNow(CLOCK_PROCESS_CPUTIME_ID);
                mainAtSpanStart = clockNow(CLOCK_THREAD_CPUTIME_ID);
            }
            cpuInSpan = clockNow(CLOCK_PROCESS_CPUTIME_ID) - cpuAtSpanStart;
            mainInSpan = clockNow(CLOCK_THREAD_CPUTIME_ID) - mainAtSpanStart;
        }
        previous = t;
        if (since > skip + span && !written)
            write();
    }

    // Written beside, then renamed: whoever waits for the file reads it whole.
    void write() {
        written = true;
        const std::string partial = std::string(out) + ".partial";
        FILE* file = std::fopen(partial.c_str(), "w");
        if (!file)
            return;
        const double p50 = quantile(frames, 0.50);
        // CPU time per frame: all threads (the driver's raster threads too),
        // and the game's main thread alone.
        const double perFrame = frames.size() > 1 ? 1000.0 / double(frames.size() - 1) : 0.0;
        std::fprintf(file, "frames %zu fps %.1f p50 %.2f p95 %.2f p99 %.2f cpu %.2f main %.2f\n",
                     frames.size(), p50 > 0.0 ? 1000.0 / p50 : 0.0, p50, quantile(frames, 0.95),
                     quantile(frames, 0.99), cpuInSpan * perFrame, mainInSpan * perFrame);
        std::fclose(file);
        if (const char* raw = std::getenv("FROSTMOOR_STAMPS_RAW"))
            if (FILE* list = std::fopen(raw, "w")) {
                for (std::size_t i = 0; i < frames.size(); ++i)
                    std::fprintf(list, "%.3f %.3f\n", frames[i], swaps[i]);
                std::fclose(list);
            }
        std::rename(partial.c_str(), out);
    }
};
} // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    static const auto real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    static Stamps stamps;
    const double start = now();
    real(window);
    if (stamps.out)
        stamps.stamp(start, now());
}
