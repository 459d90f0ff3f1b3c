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
#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include <sys/resource.h>

#include <glad/gl.h>
#include <GLFW/glfw3.h>

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "app/startup.hpp"
#include "game/loop.hpp"
#include "game/physics.hpp"
#include "game/rounds.hpp"
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

// Bullet grows its contact arrays while the ice cubes first land; a steady
// frame comes after that. The frames' own accumulator is left as it was.
void settlePhysics() {
    const float pending = physicsAccumulator;
    for (int i = 0; i < settleSteps; ++i)
        stepPhysics();
    physicsAccumulator = pending;
}

std::size_t phase(FramePhase p) {
    return static_cast<std::size_t>(p);
}

Spread spread(const std::vector<double>& samples) {
    return {median(samples), quantile(samples, 0.95)};
}

// What the game does after its first frame, in turn: frames counted one by
// one after a warm-up, or a frame rate over some seconds. Each with the
// particle animation on or off.
struct Stage {
    bool animation = false;
    FrameFigures* frames = nullptr; // counted frames land here
    double* rate = nullptr;         // or the frame rate here
    bool wonAndPaused = false;      // "You Won" with its times, under "Paused"
};

// One game as the game itself plays it, driven through the loop's hooks:
// its set-up timed part by part, its first frame, then each stage; the last
// stage ends the game. The snowman would melt after 33 s: the bench cools
// him again before the heat reaches the melting warning, so that no end
// screen cuts the run short.
class BenchGame {
  public:
    BenchGame(SetupFigures& setup, int frames, std::vector<Stage> stages,
              std::function<void()> afterFirstFrame = {})
        : setup_(setup), frames_(frames), stages_(std::move(stages)),
          afterFirstFrame_(std::move(afterFirstFrame)) {}

    void play() {
        LoopHooks hooks;
        hooks.setupPhaseDone = [](SetupPhase p) {
            setupClock.mark(static_cast<std::size_t>(p), now());
        };
        hooks.afterSetup = [this](Scene&) { ready_ = now(); };
        hooks.beforeFrame = [this](Scene& scene) { beforeFrame(scene); };
        hooks.framePhaseDone = [this](FramePhase p) { phaseDone(p); };
        hooks.keepGoing = [this](Scene&) { return afterFrame(); };
        begin_ = now();
        setupClock.start(begin_);
        gameLoop(hooks);
        paused = gameEnded = false;
    }

  private:
    bool counting() const {
        return stage_ < stages_.size() && stages_[stage_].frames != nullptr &&
               frame_ >= warmUpFrames;
    }

    void beforeFrame(Scene& scene) {
        if (scene.state.bodyTemperature > 60.0f)
            scene.state.bodyTemperature = 0.0f;
        if (stage_ < stages_.size() && stages_[stage_].wonAndPaused && !scene.state.gameWon) {
            // The end screen stands still while paused, so it lasts the stage.
            scene.state.gameWon = gameEnded = true;
            paused = true;
        }
        if (!counting())
            return;
        before_ = countsNow();
        frameBegin_ = now();
        frameClock.start(frameBegin_);
        frameMallocs.start(gameMallocsNow());
    }

    void phaseDone(FramePhase p) {
        if (!counting())
            return;
        frameClock.mark(phase(p), now());
        frameMallocs.mark(phase(p), gameMallocsNow());
        if (p == FramePhase::Sound) { // the end of runFrame
            frameEnd_ = now();
            during_ = countsBetween(before_, countsNow());
        }
    }

    // After each shown frame: the first closes the set-up's figures; the
    // others belong to the current stage. False once every stage is done.
    bool afterFrame() {
        if (firstFrame_) {
            firstFrame_ = false;
            std::array<double, setupPhaseCount> parts{};
            for (std::size_t k = 0; k < parts.size(); ++k)
                parts[k] = setupClock[k];
            setup_.parts.push_back(parts);
            setup_.totals.push_back(ready_ - begin_);
            setup_.firstFrames.push_back(now() - ready_);
            if (afterFirstFrame_)
                afterFirstFrame_();
            return startStage(0);
        }
        const Stage& stage = stages_[stage_];
        if (stage.frames != nullptr) {
            if (counting())
                count(*stage.frames);
            if (++frame_ < warmUpFrames + frames_)
                return true;
            finish(*stage.frames);
        } else {
            ++frame_;
            const double elapsed = now() - rateBegin_;
            if (elapsed < rateSeconds || frame_ < 10)
                return true;
            *stage.rate = frame_ / elapsed;
        }
        return startStage(stage_ + 1);
    }

    bool startStage(std::size_t next) {
        stage_ = next;
        frame_ = 0;
        if (stage_ >= stages_.size())
            return false;
        particleAnimation = stages_[stage_].animation;
        samples_ = {};
        presentMallocs_ = 0;
        FrameFigures* f = stages_[stage_].frames;
        if (f != nullptr) {
            f->frames = frames_;
            f->minDrawCalls = f->minBytes = ~std::uint64_t{0};
        }
        rateBegin_ = now();
        return true;
    }

    void count(FrameFigures& f) {
        const Counts during = during_;
        presentMallocs_ += countsBetween(before_, countsNow()).mainMallocs - during.mainMallocs;
        const double total = frameEnd_ - frameBegin_;
        samples_[RowTotal].push_back(total);
        samples_[RowInputRules].push_back(frameClock[phase(FramePhase::Input)] +
                                          frameClock[phase(FramePhase::Rules)]);
        samples_[RowPhysics].push_back(frameClock[phase(FramePhase::Physics)]);
        samples_[RowParticles].push_back(frameClock[phase(FramePhase::Particles)]);
        samples_[RowSubmission].push_back(frameClock[phase(FramePhase::Texts)] +
                                          frameClock[phase(FramePhase::Scene)] +
                                          frameClock[phase(FramePhase::LateScene)]);
        samples_[RowSound].push_back(frameClock[phase(FramePhase::Sound)]);
        samples_[RowInDriver].push_back(during.driverSeconds);
        samples_[RowRingDraw].push_back(during.instancedSeconds);
        samples_[RowOutside].push_back(total - during.driverSeconds);

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

    void finish(FrameFigures& f) {
        for (std::size_t row = 0; row < FrameRowCount; ++row)
            f.rows[row] = spread(samples_[row]);
        f.meanPresentMallocs = static_cast<double>(presentMallocs_) / frames_;
    }

    SetupFigures& setup_;
    int frames_;
    std::vector<Stage> stages_;
    std::function<void()> afterFirstFrame_;
    double begin_ = 0.0, ready_ = 0.0;
    bool firstFrame_ = true;
    std::size_t stage_ = 0;
    int frame_ = 0;
    double rateBegin_ = 0.0, frameBegin_ = 0.0, frameEnd_ = 0.0;
    Counts before_{}, during_{};
    std::array<std::vector<double>, FrameRowCount> samples_;
    std::uint64_t presentMallocs_ = 0;
};

// The floor of this window system: the same clear and swap with no scene.
double bareRate() {
    int frames = 0;
    const double begin = now();
    double elapsed = 0.0;
    while (elapsed < rateSeconds || frames < 10) {
        glClearColor(skyClearColour.red, skyClearColour.green, skyClearColour.blue,
                     skyClearColour.alpha);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers(window);
        glfwPollEvents();
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
    SetupFigures setup;
    FrameFigures off, on;
    BenchGame(setup, frames, {{false, &off, nullptr}, {true, &on, nullptr}}, settlePhysics).play();
    std::printf("%s%s", formatFrameRows("off", off).c_str(), formatFrameRows("on", on).c_str());
    shutDown();
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

    BenchGame(figures.setup, frames,
              {{false, &figures.animationOff, nullptr},
               {true, &figures.animationOn, nullptr},
               {false, nullptr, &figures.rates.gameOff},
               {true, nullptr, &figures.rates.gameOn},
               {false, &figures.wonAndPaused, nullptr, true}},
              [&figures] {
                  figures.residentAfterSetupMiB = residentMiB();
                  figures.fileBackedAfterSetupMiB = residentMiB("RssFile:");
                  settlePhysics();
              })
        .play();
    // The win stage's records: no later set-up is to find a ghost in them.
    std::error_code ignored;
    std::filesystem::remove(recordsFile, ignored);
    figures.rates.bare = bareRate();

    // Peak memory of one game; the repeated set-ups below leak their
    // predecessors' GL objects as the game would if it built twice.
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    figures.peakResidentMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;

    // Fresh set-ups of the same process, each shown for one frame: the
    // models go as at the end of the game, the bodies as at shutdown.
    for (int run = 1; run < setupRuns; ++run) {
        destroyActors();
        BenchGame(figures.setup, frames, {}).play();
    }
    shutDown();

    runCpuPass(frames, figures);
    figures.loadAfter = loadAverage();
    printReport(figures);
    return 0;
}
