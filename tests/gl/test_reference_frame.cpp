// The picture of a fixed moment, against a reference rendered by the frame
// code before any of its drawing was made faster: speed-ups must leave the
// picture as it was. FROSTMOOR_WRITE_REFERENCE=1 writes a new reference,
// which is only right when a change of the picture is wanted.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <stb/stb_image.h>
#include <stb/stb_image_write.h>

#include "gl_fixture.hpp"
#include <GLFW/glfw3.h>

#include "app/camera.hpp"
#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "app/startup.hpp"
#include "game/loop.hpp"
#include "game/particles.hpp"
#include "game/physics.hpp"
#include "game/rounds.hpp"
#include "game/setup.hpp"
#include "render/text.hpp"

namespace {
const char* const referencePath = FROSTMOOR_SOURCE_DIR "/tests/gl/reference/start_frame.png";
constexpr int width = 1024;
constexpr int height = 768;
constexpr int settleSteps = 360; // 6 s: every ice cube has landed and lies still

// RGB rows from the top, as an image file holds them.
std::vector<unsigned char> topDownRgb(const std::vector<unsigned char>& rgbaFromBottom) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width * height * 3));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                rgb[static_cast<std::size_t>(((height - 1 - y) * width + x) * 3 + c)] =
                    rgbaFromBottom[static_cast<std::size_t>((y * width + x) * 4 + c)];
    return rgb;
}

void writePng(const std::string& path, const std::vector<unsigned char>& rgb) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    EXPECT_NE(stbi_write_png(path.c_str(), width, height, 3, rgb.data(), width * 3), 0) << path;
}

// The start state at a fixed moment: the start camera, the cubes where a
// fixed number of steps left them, animation off. Each frame is drawn at 20
// degrees with a frame time of 1/59.5 s for the frame counter.
class FixedMoment {
  public:
    explicit FixedMoment(GLFWwindow* testWindow) {
        ::window = testWindow; // the frame polls its keys
        screenWidth = width;
        screenHeight = height;
        camera = Camera();
        EXPECT_EQ(buildGlyphTable(), 0);
        EXPECT_TRUE(createPhysicsWorld());
        // The ring's seed is the clock's whole seconds when the ring is
        // built. A loaded machine can take more than a second to get there,
        // so the clock is set back just before: the seed is 0 however long
        // the set-up took.
        LoopHooks hooks;
        hooks.setupPhaseDone = [](SetupPhase finished) {
            if (finished == SetupPhase::Physics)
                glfwSetTime(0.0);
        };
        setupScene(scene, hooks);
        for (int i = 0; i < settleSteps; ++i)
            stepPhysics();
    }
    ~FixedMoment() {
        teardownScene(scene);
        destroyPhysicsWorld();
        ::window = nullptr;
    }

    std::vector<unsigned char> frame() {
        scene.state.bodyTemperature = 20.5f;
        glfwSetTime(100.0);
        lastFrame = 100.0f - 1.0f / 59.5f;
        physicsAccumulator = -1.0f; // no step inside the frame
        // A returning player's round: a first round adds the controls hint,
        // which the reference was drawn without.
        const int played = records.roundsPlayed;
        records.roundsPlayed = 1;
        EXPECT_TRUE(runFrame(scene));
        records.roundsPlayed = played;
        return topDownRgb(target.pixels());
    }

    Scene scene;

  private:
    WorkingDirectory run{FROSTMOOR_RUN_DIR};
    OffscreenTarget target{width, height};
};
// Pixels with any channel more than 8 levels off; each is marked red.
int differingPixels(const std::vector<unsigned char>& a, const unsigned char* b,
                    std::vector<unsigned char>& marked) {
    marked.assign(a.size(), 0);
    int differing = 0;
    for (std::size_t p = 0; p < a.size(); p += 3) {
        bool differs = false;
        for (std::size_t c = 0; c < 3; ++c)
            differs = differs || std::abs(int(a[p + c]) - int(b[p + c])) > 8;
        if (differs) {
            ++differing;
            marked[p] = 255;
        }
    }
    return differing;
}
} // namespace

TEST_F(GLTest, StartFrameLooksAsTheReference) {
    applyGameState();
    const std::vector<unsigned char> frame = FixedMoment(window).frame();
    if (std::getenv("FROSTMOOR_WRITE_REFERENCE")) {
        writePng(referencePath, frame);
        GTEST_SKIP() << "wrote " << referencePath;
    }

    int w = 0, h = 0, channels = 0;
    unsigned char* reference = stbi_load(referencePath, &w, &h, &channels, 3);
    ASSERT_NE(reference, nullptr) << referencePath;
    ASSERT_EQ(w, width);
    ASSERT_EQ(h, height);
    std::vector<unsigned char> marked;
    const int differing = differingPixels(frame, reference, marked);
    stbi_image_free(reference);

    const double share = double(differing) / double(width * height);
    if (share > 0.0) {
        const char* artifacts = std::getenv("FROSTMOOR_ARTIFACTS");
        const std::string dir = artifacts ? artifacts : "/tmp/frostmoor-artifacts";
        writePng(dir + "/start_frame.png", frame);
        writePng(dir + "/start_frame_differences.png", marked);
    }
    EXPECT_LE(share, 0.005) << differing << " pixels differ by more than 8 levels";
}

// The ring is sent as the rocks in view, kept while the camera stands still:
// after a turn it must look as if every rock had been sent.
TEST_F(GLTest, RocksThatATurnBringsIntoViewAreDrawn) {
    applyGameState();
    // The frame-rate text reads the clock, which a slow build moves between
    // setting it and the frame's reading; this is about the rocks alone.
    showFps = false;
    FixedMoment moment(window);
    moment.frame();
    camera.processMouseMovement(300.0f, 0.0f); // the ring's far side into view
    const std::vector<unsigned char> turned = moment.frame();
    // The unmoved camera keeps the buffer, so the next frame draws all rocks.
    uploadParticles(moment.scene.particleInstanceBuffer, moment.scene.particleMatrices.get());
    moment.scene.visibleParticleCount = particleCount;
    std::vector<unsigned char> marked;
    EXPECT_EQ(differingPixels(moment.frame(), turned.data(), marked), 0);
    showFps = true;
}
