// Text: the glyph table from the real font, centring, the HUD switch, drawing.
#include <string>

#include <glm/gtc/matrix_transform.hpp>

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "game/hud.hpp"
#include "gl_fixture.hpp"
#include "render/shader.hpp"
#include "render/text.hpp"

namespace {

class TextTest : public GLTest {
  protected:
    bool savedHud = showHud;

    void SetUp() override {
        GLTest::SetUp();
        applyGameState();
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // the table must set it itself
        WorkingDirectory cwd(FROSTMOOR_RUN_DIR);
        testing::internal::CaptureStdout();
        ASSERT_EQ(buildGlyphTable(), 0);
        ASSERT_EQ(testing::internal::GetCapturedStdout(), "");
    }

    void TearDown() override {
        showHud = savedHud;
        GLTest::TearDown();
    }

    static Shader textShader(float width, float height) {
        Shader shader(FROSTMOOR_SOURCE_DIR "/run/Text.vert", FROSTMOOR_SOURCE_DIR "/run/Text.frag");
        shader.bind();
        shader.setUniformMat4("projection", glm::ortho(0.0f, width, 0.0f, height));
        return shader;
    }

    struct Box {
        int lit = 0;
        int xmin = 1 << 20, ymin = 1 << 20, xmax = -1, ymax = -1;
    };

    // Pixels whose red channel shows text drawn in red over black.
    static Box litPixels(const OffscreenTarget& target) {
        Box box;
        auto rgba = target.pixels();
        for (int y = 0; y < target.height; ++y)
            for (int x = 0; x < target.width; ++x)
                if (rgba[static_cast<std::size_t>((y * target.width + x) * 4)] > 100) {
                    ++box.lit;
                    box.xmin = std::min(box.xmin, x);
                    box.xmax = std::max(box.xmax, x);
                    box.ymin = std::min(box.ymin, y);
                    box.ymax = std::max(box.ymax, y);
                }
        return box;
    }

    // Draws text in red on black into a fresh target of the given size with
    // the shipped text program, and measures what lit up.
    static Box drawn(const char* text, float x, float y, float scale, bool centred, int width = 128,
                     int height = 64) {
        Shader shader = textShader(static_cast<float>(width), static_cast<float>(height));
        OffscreenTarget target(width, height);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        RenderText(shader, text, x, y, scale, glm::vec3(1, 0, 0), centred);
        return litPixels(target);
    }
};

} // namespace

TEST_F(TextTest, TableHoldsAsciiGlyphsAndLeavesTightRows) {
    EXPECT_EQ(Characters.size(), 128u);
    const Character& h = Characters.at('H');
    EXPECT_NE(h.textureID, 0u);
    EXPECT_GT(h.size.x, 20);
    EXPECT_GT(h.size.y, 30);
    EXPECT_EQ(h.bearing.y, h.size.y) << "H sits on the baseline";
    EXPECT_GT(h.advance >> 6, static_cast<unsigned int>(h.size.x));
    const Character& space = Characters.at(' ');
    EXPECT_EQ(space.size, glm::ivec2(0, 0));
    EXPECT_GT(space.advance, 0u);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 1);
}

TEST_F(TextTest, CentringUsesTruncatedWidthsPlusUnscaledBearings) {
    const Character& a = Characters.at('A');
    const Character& w = Characters.at('W');
    EXPECT_EQ(centredTextStart(Characters, "", 100.0f, 1.0f), 100.0f);

    int width = a.size.x + a.bearing.x;
    width = width + w.size.x + w.bearing.x;
    EXPECT_EQ(centredTextStart(Characters, "AW", 100.0f, 1.0f),
              100.0f - static_cast<float>(width / 2));

    // At 0.7 the bearings stay unscaled and every partial sum is truncated.
    int scaled =
        static_cast<int>(static_cast<float>(a.size.x) * 0.7f + static_cast<float>(a.bearing.x));
    scaled = static_cast<int>(static_cast<float>(w.size.x) * 0.7f +
                              static_cast<float>(w.bearing.x) + static_cast<float>(scaled));
    EXPECT_EQ(centredTextStart(Characters, "AW", 100.0f, 0.7f),
              100.0f - static_cast<float>(scaled / 2));

    // Codes without a glyph add nothing.
    EXPECT_EQ(centredTextStart(Characters, "A\xE9W", 100.0f, 0.7f),
              centredTextStart(Characters, "AW", 100.0f, 0.7f));
}

TEST_F(TextTest, DrawnGlyphLightsItsQuadOnly) {
    showHud = true;
    const Box box = drawn("H", 20.0f, 10.0f, 1.0f, false);

    const Character& h = Characters.at('H');
    ASSERT_GT(box.lit, 50);
    EXPECT_GE(box.xmin, 20 + h.bearing.x - 1);
    EXPECT_LE(box.xmax, 20 + h.bearing.x + h.size.x);
    EXPECT_GE(box.ymin, 10 - 1);
    EXPECT_LE(box.ymax, 10 + h.size.y);
    EXPECT_GE(box.ymax, 10 + h.size.y - 3) << "the glyph is upright, reaching its full height";

    GLint vertexArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(vertexArray, 0);
}

TEST_F(TextTest, SpaceAdvancesThePenAndScaleTwoDoublesEverything) {
    showHud = true;
    const Box box = drawn(" H", 10.0f, 10.0f, 2.0f, false, 256, 128);

    const Character& space = Characters.at(' ');
    const Character& h = Characters.at('H');
    ASSERT_GT(space.advance >> 6, 5u);
    const int left = 10 + 2 * static_cast<int>(space.advance >> 6) + 2 * h.bearing.x;
    ASSERT_GT(box.lit, 100);
    // Magnified, the glyph's soft edges fall under the threshold: the lit
    // box may be a pixel or two inside the quad, never outside it.
    EXPECT_GE(box.xmin, left) << "bearing " << h.bearing.x << ", space " << (space.advance >> 6);
    EXPECT_LE(box.xmin, left + 2);
    EXPECT_LE(box.xmax, left + 2 * h.size.x - 1);
    EXPECT_GE(box.xmax, left + 2 * h.size.x - 3);
    EXPECT_LE(box.ymax, 10 + 2 * h.size.y - 1);
    EXPECT_GE(box.ymax, 10 + 2 * h.size.y - 3);
}

TEST_F(TextTest, CentredTextStraddlesTheCentre) {
    showHud = true;
    const Box box = drawn("HH", 64.0f, 10.0f, 0.5f, true);
    ASSERT_GT(box.lit, 20);
    EXPECT_LT(box.xmin, 64);
    EXPECT_GT(box.xmax, 64);
    EXPECT_LE(box.ymax, 10 + Characters.at('H').size.y / 2 + 1) << "scale halves the height";
}

TEST_F(TextTest, NothingIsDrawnWhileTheHudIsOff) {
    showHud = false;
    const Box box = drawn("Game Over", 64.0f, 20.0f, 1.0f, true);
    EXPECT_EQ(box.lit, 0);
}

TEST_F(TextTest, PausedShowsWithTheHudOffSoThatAPauseDoesNotLookHung) {
    showHud = false;
    const int savedWidth = screenWidth, savedHeight = screenHeight;
    screenWidth = 400;
    screenHeight = 200;
    Shader shader = textShader(400.0f, 200.0f);
    OffscreenTarget target(400, 200);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    drawPausedText(shader, true, false);
    screenWidth = savedWidth;
    screenHeight = savedHeight;
    EXPECT_GT(litPixels(target).lit, 200);
}

TEST_F(TextTest, CodesAboveAsciiDrawNothingAndGainZeroRecords) {
    showHud = true;
    const Box box = drawn("\xC3\xA9\xFF", 20.0f, 10.0f, 1.0f, true);
    EXPECT_EQ(box.lit, 0);
    ASSERT_EQ(Characters.count(static_cast<char>(0xC3)), 1u);
    const Character& added = Characters.at(static_cast<char>(0xC3));
    EXPECT_EQ(added.textureID, 0u);
    EXPECT_EQ(added.advance, 0u);
    EXPECT_EQ(Characters.size(), 131u);
}

TEST_F(TextTest, MissingFontFailsTheTable) {
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "run");
    WorkingDirectory cwd(dir.path() / "run");
    testing::internal::CaptureStdout();
    EXPECT_EQ(buildGlyphTable(), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ERROR::FREETYPE: Failed to load font\n");
}
