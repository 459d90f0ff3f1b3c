#include "game/hud.hpp"

#include <algorithm>
#include <climits>
#include <cmath>

#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "game/loop.hpp"
#include "game/pause_menu.hpp"
#include "game/player.hpp"
#include "game/rounds.hpp"
#include "render/text.hpp"

namespace {
const glm::vec3 gameOverColour(1.0f, 0.1f, 0.1f);
const glm::vec3 youWonColour(0.1f, 1.0f, 0.1f);
const glm::vec3 statusColour(1.0f, 1.0f, 0.0f);
const glm::vec3 warningColour(0.95f, 0.0f, 0.0f);
const glm::vec3 pausedColour(1.0f, 1.0f, 1.0f);
const glm::vec3 hintColour(0.95f, 0.95f, 0.95f);

void setLine(HudLine& line, const char* label, int number, float x, float y, float scale,
             glm::vec3 colour) {
    line.text = label;
    line.text += std::to_string(number);
    line.x = x;
    line.y = y;
    line.scale = scale;
    line.colour = colour;
    line.centred = false;
}
} // namespace

int truncateToInt(float value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483648.0f)
        return INT_MAX;
    if (value <= -2147483648.0f)
        return INT_MIN;
    return static_cast<int>(value);
}

HudLines endTextLayout(EndText text, int screenWidth, int screenHeight,
                       const std::string& winTimes) {
    HudLines out;
    fillEndTextLayout(out, text, screenWidth, screenHeight, winTimes);
    return out;
}

void fillEndTextLayout(HudLines& out, EndText text, int screenWidth, int screenHeight,
                       const std::string& winTimes) {
    out.count = 0;
    if (text == EndText::None)
        return;
    HudLine& line = out.add();
    line.text = text == EndText::GameOver ? "Game Over" : "You Won";
    line.x = static_cast<float>(screenWidth / 2);
    line.y = static_cast<float>(screenHeight / 2);
    line.scale = 1.0f;
    line.colour = text == EndText::GameOver ? gameOverColour : youWonColour;
    line.centred = true;
    float below = line.y;
    if (text == EndText::YouWon && !winTimes.empty()) {
        HudLine& times = out.add();
        times = line; // strings assigned into last frame's storage
        times.text = winTimes;
        times.y = line.y - 45.0f;
        times.scale = 0.5f;
        below = times.y;
    }
    HudLine& hint = out.add();
    hint = line;
    hint.text = endHint;
    hint.y = below - 45.0f;
    hint.scale = 0.45f;
    hint.colour = hintColour;
    hint.shadowed = true;
}

bool controlsHintShown(bool firstRound, float roundSeconds, bool moved) {
    return firstRound && !moved && roundSeconds < controlsHintSeconds;
}

HudLines hintLayout(bool firstRound, float roundSeconds, bool moved, int screenWidth,
                    int screenHeight) {
    HudLines out;
    if (!controlsHintShown(firstRound, roundSeconds, moved))
        return out;
    HudLine& line = out.add();
    line.text = controlsHint;
    line.x = static_cast<float>(screenWidth / 2);
    line.y = static_cast<float>(screenHeight) * 0.04f;
    // Narrow windows get smaller letters: the line is long.
    line.scale = 0.38f * std::min(1.0f, static_cast<float>(screenWidth) / 1024.0f);
    line.colour = hintColour;
    line.centred = true;
    line.shadowed = true;
    return out;
}

HudLines pausedLayout(bool paused, bool endTextShown, int screenWidth, int screenHeight) {
    HudLines out;
    if (!paused)
        return out;
    HudLine& line = out.add();
    line.text = "Paused";
    line.x = static_cast<float>(screenWidth / 2);
    line.y = static_cast<float>(screenHeight / 2) + (endTextShown ? 70.0f : 0.0f);
    line.scale = 1.0f;
    line.colour = pausedColour;
    line.centred = true;
    return out;
}

HudLines statusLayout(int screenWidth, int screenHeight, float deltaTime, float bodyTemperature,
                      bool showFps, bool showHud) {
    HudLines out;
    fillStatusLayout(out, screenWidth, screenHeight, deltaTime, bodyTemperature, showFps, showHud);
    return out;
}

void fillStatusLayout(HudLines& out, int screenWidth, int screenHeight, float deltaTime,
                      float bodyTemperature, bool showFps, bool showHud) {
    out.count = 0;
    const float top = static_cast<float>(screenHeight - 20);
    if (showFps)
        setLine(out.add(), "FPS: ", truncateToInt(1.0f / deltaTime),
                static_cast<float>(screenWidth - 100), top, 0.4f, statusColour);
    if (!showHud)
        return;
    setLine(out.add(), "Body Temperature: ", truncateToInt(bodyTemperature), 10.0f, top, 0.4f,
            statusColour);
    if (inWarningBand(bodyTemperature)) {
        HudLine& line = out.add();
        line.text = meltingWarning;
        line.x = static_cast<float>(static_cast<double>(screenWidth / 3) * 0.95);
        line.y = static_cast<float>(screenHeight / 3) * 2.2f;
        line.scale = 0.5f;
        line.colour = warningColour;
        line.centred = false;
    }
}

void drawHudLines(Shader& textShader, const HudLines& hudLines) {
    for (int i = 0; i < hudLines.count; ++i) {
        const HudLine& line = hudLines.lines[static_cast<std::size_t>(i)];
        if (line.shadowed)
            renderTextView(textShader, line.text, line.x + 2.0f, line.y - 2.0f, line.scale,
                           glm::vec3(0.1f), line.centred);
        renderTextView(textShader, line.text, line.x, line.y, line.scale, line.colour,
                       line.centred);
    }
}

void drawEndText(Shader& textShader, EndText text, const std::string& winTimes) {
    // Main thread only; refilled in place, so a win screen allocates nothing.
    static HudLines lines;
    fillEndTextLayout(lines, text, screenWidth, screenHeight, winTimes);
    drawHudLines(textShader, lines);
}

void drawPausedText(Shader& textShader, bool paused, bool endTextShown) {
    if (!paused)
        return;
    // Shown with the HUD off too: without it a paused game looks hung. The
    // menu's first page has "Paused" where it always was, its items below.
    drawPauseMenu(textShader, endTextShown);
}

void drawStatusTexts(Shader& textShader, const GameState& state) {
    // Main thread only, like every frame step.
    static HudLines lines;
    fillStatusLayout(lines, screenWidth, screenHeight, deltaTime, state.bodyTemperature, showFps,
                     showHud);
    drawHudLines(textShader, lines);
    // The controls hint: the records hold no round yet while the first is
    // played. Laid out again only when the window's size changes, so that
    // the frame allocates nothing for it.
    static HudLines hint;
    static int laidWidth = 0, laidHeight = 0;
    const bool first = records.roundsPlayed == 0 && roundNumber == 1;
    if (!controlsHintShown(first, roundTime, playerPosition != glm::vec3(0.0f)))
        return;
    if (laidWidth != screenWidth || laidHeight != screenHeight) {
        hint = hintLayout(true, 0.0f, false, screenWidth, screenHeight);
        laidWidth = screenWidth;
        laidHeight = screenHeight;
    }
    drawHudLines(textShader, hint);
}
