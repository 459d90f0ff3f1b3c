#pragma once
// What the benchmark counts while the game runs in its process: heap
// allocations (through operator new and through malloc, the driver's
// included) and the draw calls and bytes handed to the GL.
#include <cstdint>

struct Counts {
    std::uint64_t news = 0;          // operator new, any thread
    std::uint64_t mainMallocs = 0;   // malloc/calloc/realloc/aligned, main thread
    std::uint64_t driverMallocs = 0; // of those, inside a counted GL call
    std::uint64_t otherMallocs = 0;  // on the driver's worker threads
    std::uint64_t drawCalls = 0;
    std::uint64_t bytesUploaded = 0; // glBufferData with data, glBufferSubData
    double driverSeconds = 0.0;      // time inside the counted GL calls
    double instancedSeconds = 0.0;   // of it, inside instanced draws (the rock ring)
};

// Marks the calling thread as the game's main thread.
void markMainThread();

// Swaps glad's draw, clear and buffer entry points for counting ones; call once
// after the GL entry points are loaded.
void installGlCounters();

// A snapshot of the running totals.
Counts countsNow();

// b - a, field by field.
Counts countsBetween(const Counts& a, const Counts& b);
