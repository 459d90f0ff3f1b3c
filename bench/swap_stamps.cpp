// Preloaded into an unchanged GLFW program (LD_PRELOAD): stamps the end of
// every glfwSwapBuffers, and once the measured span is over writes the frame
// figures of that span to a file. The program itself is not touched, so the
// figures are what a player sees at the window.
//
// FROSTMOOR_STAMPS_OUT   file for the figures (required; nothing is done without it)
// FROSTMOOR_STAMPS_SKIP  seconds left out after the first swap (default 3)
// FROSTMOOR_STAMPS_SPAN  seconds measured after those (default 20)
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

double now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
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
    std::vector<double> frames; // milliseconds, inside the span
    bool written = false;

    Stamps() { frames.reserve(1 << 16); }

    void stamp(double t) {
        if (first < 0.0)
            first = t;
        const double since = t - first;
        if (previous >= 0.0 && since > skip && since <= skip + span)
            frames.push_back((t - previous) * 1000.0);
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
        std::fprintf(file, "frames %zu fps %.1f p50 %.2f p95 %.2f p99 %.2f\n", frames.size(),
                     p50 > 0.0 ? 1000.0 / p50 : 0.0, p50, quantile(frames, 0.95),
                     quantile(frames, 0.99));
        std::fclose(file);
        std::rename(partial.c_str(), out);
    }
};
} // namespace

extern "C" void glfwSwapBuffers(GLFWwindow* window) {
    static const auto real = reinterpret_cast<SwapBuffers>(dlsym(RTLD_NEXT, "glfwSwapBuffers"));
    static Stamps stamps;
    real(window);
    if (stamps.out)
        stamps.stamp(now());
}
