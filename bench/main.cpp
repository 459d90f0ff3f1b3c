// Frostmoor's benchmark: the game's own start-up, set-up and frames, timed
// and counted. Run from the run directory (scripts/bench does), so that
// "settings.ini" and "../assets" resolve as they do for the game.
//
//   frostmoor-bench [frames]              the whole table
//   frostmoor-bench frames --cpu-pass     frame rows only, for the parent
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/resource.h>

#include <glad/gl.h>
#include <GLFW/glfw3.h>

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "app/startup.hpp"
#include "game/loop.hpp"
#include "game/physics.hpp"
#include "game/rules.hpp"
#include "game/setup.hpp"

#include "counters.hpp"
#include "report.hpp"
#include "stats.hpp"

namespace {
constexpr int setupRuns = 5;
constexpr int warmUpFrames = 30;
constexpr int settleSteps = 600; // 10 s of simulation: the ice cubes have landed
constexpr double rateSeconds = 5.0;

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The phase hooks credit time (and main-thread allocations outside the GL
// calls) to the part of the set-up or frame that just ended.
PhaseClock<setupPhaseCount> setupClock;
PhaseClock<framePhaseCount> frameClock;
PhaseClock<framePhaseCount> frameMallocs;

double gameMallocsNow() {
    const Counts c = countsNow();
    return static_cast<double>(c.mainMallocs - c.driverMallocs);
}

void onSetupPhase(SetupPhase finished) {
    setupClock.mark(static_cast<std::size_t>(finished), now());
}

void onFramePhase(FramePhase finished) {
    frameClock.mark(static_cast<std::size_t>(finished), now());
    frameMallocs.mark(static_cast<std::size_t>(finished), gameMallocsNow());
}

// The snowman would melt after 33 s; the bench keeps him playing: cool again
// before the heat reaches the melting warning, and never an end screen.
void keepPlaying(Scene& scene) {
    if (scene.state.bodyTemperature > 60.0f)
        scene.state.bodyTemperature = 0.0f;
    scene.state.gameWon = false;
    gameEnded = false;
    endTimer = 0.0f;
}

void present() {
    glfwSwapBuffers(window);
    glfwPollEvents();
}

void timedSetup(Scene& scene, SetupFigures& out) {
    setupPhaseTimer = onSetupPhase;
    const double begin = now();
    setupClock.start(begin);
    setupScene(scene);
    const double ready = now();
    setupPhaseTimer = nullptr;

    keepPlaying(scene);
    runFrame(scene);
    present();
    const double shown = now();

    std::array<double, setupPhaseCount> parts{};
    for (std::size_t k = 0; k < parts.size(); ++k)
        parts[k] = setupClock[k];
    out.parts.push_back(parts);
    out.totals.push_back(ready - begin);
    out.firstFrames.push_back(shown - ready);
}

// A fresh set-up of the same process: the models go as at the end of the
// game, the bodies as at shutdown; the old GL objects are left, as the game
// never deletes them.
void timedResetup(Scene& scene, SetupFigures& out) {
    teardownScene(scene);
    destroyActors();
    timedSetup(scene, out);
}

// Bullet grows its contact arrays while the ice cubes first land; a steady
// frame comes after that. The frames' own accumulator is left as it was.
void settlePhysics() {
    const float pending = physicsAccumulator;
    for (int i = 0; i < settleSteps; ++i)
        stepPhysics();
    physicsAccumulator = pending;
}

std::size_t phase(FramePhase p) { return static_cast<std::size_t>(p); }

Spread spread(const std::vector<double>& samples) {
    return {median(samples), quantile(samples, 0.95)};
}

FrameFigures measureFrames(Scene& scene, bool animation, int frames) {
    particleAnimation = animation;
    for (int i = 0; i < warmUpFrames; ++i) {
        keepPlaying(scene);
        runFrame(scene);
        present();
    }

    FrameFigures f;
    f.frames = frames;
    f.minDrawCalls = f.minBytes = ~std::uint64_t{0};
    std::array<std::vector<double>, FrameRowCount> samples;
    std::uint64_t presentMallocs = 0;
    framePhaseTimer = onFramePhase;
    for (int i = 0; i < frames; ++i) {
        keepPlaying(scene);
        const Counts before = countsNow();
        const double begin = now();
        frameClock.start(begin);
        frameMallocs.start(gameMallocsNow());
        runFrame(scene);
        const double end = now();
        const Counts during = countsBetween(before, countsNow());
        present();
        presentMallocs += countsBetween(before, countsNow()).mainMallocs - during.mainMallocs;

        samples[RowTotal].push_back(end - begin);
        samples[RowInputRules].push_back(frameClock[phase(FramePhase::Input)] +
                                         frameClock[phase(FramePhase::Rules)]);
        samples[RowPhysics].push_back(frameClock[phase(FramePhase::Physics)]);
        samples[RowParticles].push_back(frameClock[phase(FramePhase::Particles)]);
        samples[RowSubmission].push_back(frameClock[phase(FramePhase::Texts)] +
                                         frameClock[phase(FramePhase::Scene)]);
        samples[RowSound].push_back(frameClock[phase(FramePhase::Sound)]);
        samples[RowInDriver].push_back(during.driverSeconds);
        samples[RowRingDraw].push_back(during.instancedSeconds);
        samples[RowOutside].push_back(end - begin - during.driverSeconds);

        f.maxDrawCalls = std::max(f.maxDrawCalls, during.drawCalls);
        f.minDrawCalls = std::min(f.minDrawCalls, during.drawCalls);
        f.maxBytes = std::max(f.maxBytes, during.bytesUploaded);
        f.minBytes = std::min(f.minBytes, during.bytesUploaded);
        f.maxNews = std::max(f.maxNews, during.news);
        f.framesWithNew += during.news > 0;
        const std::uint64_t gameMallocs = during.mainMallocs - during.driverMallocs;
        f.maxGameMallocs = std::max(f.maxGameMallocs, gameMallocs);
        f.framesWithGameMalloc += gameMallocs > 0;
        f.maxDriverMallocs = std::max(f.maxDriverMallocs, during.driverMallocs);
        for (std::size_t k = 0; k < f.gameMallocsByPhase.size(); ++k)
            f.gameMallocsByPhase[k] += static_cast<std::uint64_t>(frameMallocs[k]);
    }
    framePhaseTimer = nullptr;
    for (std::size_t row = 0; row < FrameRowCount; ++row)
        f.rows[row] = spread(samples[row]);
    f.meanPresentMallocs = static_cast<double>(presentMallocs) / frames;
    return f;
}

double gameRate(Scene& scene, bool animation) {
    particleAnimation = animation;
    int frames = 0;
    const double begin = now();
    double elapsed = 0.0;
    while (elapsed < rateSeconds || frames < 10) {
        keepPlaying(scene);
        runFrame(scene);
        present();
        ++frames;
        elapsed = now() - begin;
    }
    return frames / elapsed;
}

// The floor of this window system: the same clear and swap with no scene.
double bareRate() {
    int frames = 0;
    const double begin = now();
    double elapsed = 0.0;
    while (elapsed < rateSeconds || frames < 10) {
        glClearColor(0.529f, 0.808f, 0.922f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        present();
        ++frames;
        elapsed = now() - begin;
    }
    return frames / elapsed;
}

// A line of /proc/self/status ("VmRSS:", "RssFile:"), in MiB.
double residentMiB(const char* wanted = "VmRSS:") {
    std::ifstream file("/proc/self/status");
    std::string key;
    while (file >> key) {
        if (key == wanted) {
            double kib = 0.0;
            file >> kib;
            return kib / 1024.0;
        }
        file.ignore(4096, '\n');
    }
    return 0.0;
}

std::string loadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five;
    file >> one >> five;
    return one + " (1 min), " + five + " (5 min)";
}

std::string today() {
    const std::time_t t = std::time(nullptr);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", std::localtime(&t));
    return text;
}

std::string rendererName() {
    return reinterpret_cast<const char*>(glGetString(GL_RENDERER));
}

// The frames again in a child process on Mesa's no-op driver, which takes
// every GL call but renders nothing: what is left is the frame's own CPU cost.
void runCpuPass(int frames, BenchFigures& figures) {
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command =
        "GALLIUM_NOOP=1 '" + self + "' " + std::to_string(frames) + " --cpu-pass";
    std::fflush(stdout);
    FILE* child = popen(command.c_str(), "r");
    if (child == nullptr)
        return;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, child) != nullptr) {
        std::string line(buffer);
        if (line.rfind("renderer ", 0) == 0)
            figures.cpuPassRenderer = line.substr(9, line.find('\n') - 9);
        else if (!parseFrameRow(line, "off", figures.cpuOff))
            parseFrameRow(line, "on", figures.cpuOn);
    }
    if (pclose(child) != 0)
        figures.cpuPassRenderer.clear();
}

int cpuPass(int frames) {
    if (init() != 0)
        return 1;
    installGlCounters();
    std::printf("renderer %s\n", rendererName().c_str());
    Scene scene;
    setupScene(scene);
    settlePhysics();
    const FrameFigures off = measureFrames(scene, false, frames);
    const FrameFigures on = measureFrames(scene, true, frames);
    std::printf("%s%s", formatFrameRows("off", off).c_str(), formatFrameRows("on", on).c_str());
    teardownScene(scene);
    destroyPhysicsWorld();
    glfwTerminate();
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    markMainThread();
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    if (argc > 2 && std::strcmp(argv[2], "--cpu-pass") == 0)
        return cpuPass(frames);

    BenchFigures figures;
    figures.date = today();
    figures.loadBefore = loadAverage();
    if (init() != 0)
        return 1;
    installGlCounters();
    figures.renderer = rendererName();
    figures.width = screenWidth;
    figures.height = screenHeight;
    figures.residentAfterStartMiB = residentMiB();

    Scene scene;
    timedSetup(scene, figures.setup);
    figures.residentAfterSetupMiB = residentMiB();
    figures.fileBackedAfterSetupMiB = residentMiB("RssFile:");
    settlePhysics();
    figures.animationOff = measureFrames(scene, false, frames);
    figures.animationOn = measureFrames(scene, true, frames);
    figures.rates.gameOff = gameRate(scene, false);
    figures.rates.gameOn = gameRate(scene, true);
    figures.rates.bare = bareRate();

    // Peak memory of one game; the repeated set-ups below leak their
    // predecessors' GL objects as the game would if it built twice.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    figures.peakResidentMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;

    for (int run = 1; run < setupRuns; ++run)
        timedResetup(scene, figures.setup);

    teardownScene(scene);
    destroyPhysicsWorld();
    glfwTerminate();

    runCpuPass(frames, figures);
    figures.loadAfter = loadAverage();
    printReport(figures);
    return 0;
}
