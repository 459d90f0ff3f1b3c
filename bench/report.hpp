#pragma once
// The figures of one benchmark run and the table they are printed as.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/loop_hooks.hpp"

struct SetupFigures {
    std::vector<double> totals;                             // seconds, one per run
    std::vector<double> firstFrames;                        // seconds, the frame after each set-up
    std::vector<std::array<double, setupPhaseCount>> parts; // seconds per SetupPhase, per run
};

// The timed rows of a frame, in printing order.
enum FrameRow {
    RowTotal,      // runFrame, without the swap
    RowInputRules, // clear, clock, input, camera, end states, heat
    RowPhysics,    // the fixed step
    RowParticles,  // animation and upload
    RowSubmission, // texts and scene
    RowSound,      // listener, sources and triggers
    RowInDriver,   // inside the counted GL calls
    RowRingDraw,   // of it, the instanced rock ring
    RowOutside,    // runFrame outside the counted GL calls
    FrameRowCount
};

struct Spread {
    double median = 0.0; // seconds
    double p95 = 0.0;
};

struct FrameFigures {
    int frames = 0;
    std::array<Spread, FrameRowCount> rows{};
    std::uint64_t maxDrawCalls = 0, minDrawCalls = 0;
    std::uint64_t maxBytes = 0, minBytes = 0;
    std::uint64_t maxNews = 0, framesWithNew = 0;
    std::uint64_t maxGameMallocs = 0, framesWithGameMalloc = 0; // main thread, outside GL calls
    std::uint64_t maxDriverMallocs = 0;                         // inside counted GL calls
    double meanPresentMallocs = 0.0;                            // swap and event poll
    std::array<std::uint64_t, framePhaseCount> gameMallocsByPhase{}; // summed over the frames
};

struct RateFigures {
    double gameOff = 0.0; // frames per second of runFrame + swap + poll
    double gameOn = 0.0;  // the same with the particle animation on
    double bare = 0.0;    // clear + swap + poll
};

struct BenchFigures {
    std::string date;
    std::string renderer;
    int width = 0, height = 0;
    std::string loadBefore, loadAfter;
    SetupFigures setup;
    FrameFigures animationOff, animationOn;
    FrameFigures wonAndPaused; // the win screen's texts under "Paused"
    // The same frames on Mesa's no-op driver, which drops the GPU work: the
    // CPU cost of the frame itself. Empty renderer when that pass failed.
    std::string cpuPassRenderer;
    FrameFigures cpuOff, cpuOn;
    RateFigures rates;
    double residentAfterStartMiB = 0.0;   // window, context, glyphs, physics world
    double residentAfterSetupMiB = 0.0;   // and the scene with its first frame
    double fileBackedAfterSetupMiB = 0.0; // of it, mapped library code and data
    double peakResidentMiB = 0.0;
};

void printReport(const BenchFigures& figures);

// The frame rows as text lines for the parent process, and back.
std::string formatFrameRows(const char* tag, const FrameFigures& f);
bool parseFrameRow(const std::string& line, const char* tag, FrameFigures& f);
