#include "report.hpp"

#include <cstdio>
#include <cstring>

#include "stats.hpp"

namespace {
const char* const setupPartNames[setupPhaseCount] = {"shaders (5 programs)",
                                                     "sky box",
                                                     "models (9, with their textures)",
                                                     "physics bodies",
                                                     "particle ring",
                                                     "light-map buffers and textures",
                                                     "sounds (8 files, device, sources)"};

const char* const frameRowNames[FrameRowCount] = {
    "  runFrame, no swap",
    "    input and rules",
    "    physics step",
    "    particle update and upload",
    "    draw submission (texts, scene)",
    "    sound (listener, sources, triggers)",
    "  of it inside the driver's draw/clear/upload calls",
    "    of that the instanced rock ring draw",
    "  of it outside those calls (game, other GL calls)",
};

double ms(double seconds) {
    return seconds * 1000.0;
}

void rule() {
    std::printf("%s\n", std::string(100, '-').c_str());
}

void header(const char* title) {
    std::printf("%-56s %10s %10s %12s %8s\n", title, "median", "p95", "goal", "");
}

void timeRow(const char* label, Spread s, const char* goal = "", double limitMs = -1.0) {
    const char* verdict = limitMs < 0 ? "" : (ms(s.median) < limitMs ? "met" : "NOT MET");
    std::printf("%-56s %7.3f ms %7.3f ms %12s %8s\n", label, ms(s.median), ms(s.p95), goal,
                verdict);
}

Spread spreadOf(const std::vector<double>& samples) {
    return {median(samples), quantile(samples, 0.95)};
}

void frameBlock(const char* title, const FrameFigures& f, bool withGoal) {
    char line[128];
    std::snprintf(line, sizeof line, "%s (%d frames)", title, f.frames);
    header(line);
    for (int row = 0; row < FrameRowCount; ++row) {
        if (withGoal && row == RowTotal)
            timeRow(frameRowNames[row], f.rows[row], "< 1 ms", 1.0);
        else if (withGoal && row == RowSound)
            timeRow(frameRowNames[row], f.rows[row], "< 0.02 ms", 0.02);
        else
            timeRow(frameRowNames[row], f.rows[row]);
    }
}

void countRow(const char* label, std::uint64_t low, std::uint64_t high) {
    if (low == high)
        std::printf("%-56s %10llu\n", label, static_cast<unsigned long long>(high));
    else
        std::printf("%-56s %10llu to %llu\n", label, static_cast<unsigned long long>(low),
                    static_cast<unsigned long long>(high));
}

void allocationBlock(const char* title, const FrameFigures& f) {
    std::printf("%s\n", title);
    std::printf("  %-54s %10llu  frames with any: %llu of %d  %s\n",
                "operator new, most in one frame", static_cast<unsigned long long>(f.maxNews),
                static_cast<unsigned long long>(f.framesWithNew), f.frames,
                f.maxNews == 0 ? "goal 0: met" : "goal 0: NOT MET");
    std::printf("  %-54s %10llu  frames with any: %llu of %d  %s\n",
                "malloc outside the GL calls, most in one frame",
                static_cast<unsigned long long>(f.maxGameMallocs),
                static_cast<unsigned long long>(f.framesWithGameMalloc), f.frames,
                f.maxGameMallocs == 0 ? "goal 0: met" : "goal 0: NOT MET");
    if (f.maxGameMallocs > 0) {
        static const char* const phases[framePhaseCount] = {
            "input", "physics", "rules", "texts", "scene", "particles", "late scene", "sound"};
        std::printf("    by part, summed over the frames:");
        for (std::size_t k = 0; k < framePhaseCount; ++k)
            std::printf(" %s %llu", phases[k],
                        static_cast<unsigned long long>(f.gameMallocsByPhase[k]));
        std::printf("\n");
    }
    std::printf("  %-54s %10llu\n", "malloc inside the driver's draw/clear/upload calls, most",
                static_cast<unsigned long long>(f.maxDriverMallocs));
    std::printf("  %-54s %10.1f\n", "malloc in the swap and event poll, mean",
                f.meanPresentMallocs);
}
} // namespace

std::string formatFrameRows(const char* tag, const FrameFigures& f) {
    std::string out;
    char line[128];
    std::snprintf(line, sizeof line, "%s frames %d\n", tag, f.frames);
    out += line;
    for (int row = 0; row < FrameRowCount; ++row) {
        std::snprintf(line, sizeof line, "%s row %d %.9g %.9g\n", tag, row, f.rows[row].median,
                      f.rows[row].p95);
        out += line;
    }
    return out;
}

bool parseFrameRow(const std::string& line, const char* tag, FrameFigures& f) {
    const std::size_t length = std::strlen(tag);
    if (line.compare(0, length, tag) != 0 || line.size() <= length || line[length] != ' ')
        return false;
    const char* rest = line.c_str() + length + 1;
    int row = 0;
    double mid = 0.0, high = 0.0;
    if (std::sscanf(rest, "frames %d", &f.frames) == 1)
        return true;
    if (std::sscanf(rest, "row %d %lf %lf", &row, &mid, &high) != 3 || row < 0 ||
        row >= FrameRowCount)
        return false;
    f.rows[row] = {mid, high};
    return true;
}

void printReport(const BenchFigures& b) {
    rule();
    std::printf("Frostmoor benchmark, %s\n", b.date.c_str());
    std::printf("renderer: %s, window %d x %d\n", b.renderer.c_str(), b.width, b.height);
    std::printf("load average: %s before, %s after\n", b.loadBefore.c_str(), b.loadAfter.c_str());
    rule();

    char line[128];
    std::snprintf(line, sizeof line, "set-up to the first frame (%zu runs)", b.setup.totals.size());
    header(line);
    timeRow("  whole set-up", spreadOf(b.setup.totals), "< 300 ms", 300.0);
    for (std::size_t k = 0; k < setupPhaseCount; ++k) {
        std::vector<double> part;
        for (const auto& run : b.setup.parts)
            part.push_back(run[k]);
        char label[80];
        std::snprintf(label, sizeof label, "    %s", setupPartNames[k]);
        if (k == static_cast<std::size_t>(SetupPhase::Sounds))
            timeRow(label, spreadOf(part), "< 30 ms", 30.0);
        else
            timeRow(label, spreadOf(part));
    }
    timeRow("  first frame after it, with swap", spreadOf(b.setup.firstFrames));
    rule();

    if (b.cpuPassRenderer.empty()) {
        std::printf("frame CPU time without the GPU work: the no-op driver pass failed\n");
    } else {
        std::printf("frame CPU time without the GPU work (renderer: %s)\n",
                    b.cpuPassRenderer.c_str());
        frameBlock("  particle animation off", b.cpuOff, false);
        frameBlock("  particle animation on", b.cpuOn, true);
    }
    std::printf("frame time on %s (the GPU work runs in the draw calls)\n", b.renderer.c_str());
    frameBlock("  particle animation off", b.animationOff, false);
    frameBlock("  particle animation on", b.animationOn, false);
    rule();

    std::printf("%-56s %10s\n", "frames per second (runFrame, swap, poll)", "fps");
    std::printf("%-56s %10.1f %23s %8s\n", "  game frame, animation off", b.rates.gameOff, ">= 60",
                b.rates.gameOff >= 60.0 ? "met" : "NOT MET");
    std::printf("%-56s %10.1f %23s %8s\n", "  game frame, animation on", b.rates.gameOn, ">= 60",
                b.rates.gameOn >= 60.0 ? "met" : "NOT MET");
    std::printf("%-56s %10.1f\n", "  bare clear and swap, same window", b.rates.bare);
    std::printf("%-56s %10.3f\n", "  game / bare, animation off",
                b.rates.bare > 0 ? b.rates.gameOff / b.rates.bare : 0.0);
    std::printf("%-56s %10.3f\n", "  game / bare, animation on",
                b.rates.bare > 0 ? b.rates.gameOn / b.rates.bare : 0.0);
    rule();

    std::printf("per frame\n");
    countRow("  draw calls, animation off", b.animationOff.minDrawCalls,
             b.animationOff.maxDrawCalls);
    countRow("  draw calls, animation on", b.animationOn.minDrawCalls, b.animationOn.maxDrawCalls);
    countRow("  bytes uploaded, animation off", b.animationOff.minBytes, b.animationOff.maxBytes);
    countRow("  bytes uploaded, animation on", b.animationOn.minBytes, b.animationOn.maxBytes);
    allocationBlock("heap allocations per steady-state frame, animation off", b.animationOff);
    allocationBlock("heap allocations per steady-state frame, animation on", b.animationOn);
    allocationBlock("heap allocations per steady-state frame, won and paused", b.wonAndPaused);
    rule();
    std::printf("%-56s %7.1f MiB\n", "resident after start-up", b.residentAfterStartMiB);
    std::printf("%-56s %7.1f MiB\n", "resident after set-up and first frame",
                b.residentAfterSetupMiB);
    std::printf("%-56s %7.1f MiB\n", "  of it file-backed (library code: Mesa, LLVM, ...)",
                b.fileBackedAfterSetupMiB);
    std::printf("%-56s %7.1f MiB %20s %8s\n", "peak resident memory (ru_maxrss)", b.peakResidentMiB,
                "< 150 MB", b.peakResidentMiB * 1.048576 < 150.0 ? "met" : "NOT MET");
    rule();
}
