#pragma once
// The heads-up texts: the end text, the frame rate, the temperature and the
// melting warning. Layout is pure; only drawHudLines touches GL.
#include <array>
#include <string>

#include <glm/glm.hpp>

#include "game/rules.hpp"

class Shader;

struct HudLine {
    std::string text;
    float x = 0.0f; // window pixels from the bottom left
    float y = 0.0f;
    float scale = 1.0f;
    glm::vec3 colour{0.0f};
    bool centred = false;  // x is the centre rather than the left end
    bool shadowed = false; // a dark copy behind: light letters on light sand
};

// At most three lines per group; fixed storage keeps the frame free of
// container growth.
struct HudLines {
    static constexpr int capacity = 3;
    std::array<HudLine, capacity> lines;
    int count = 0;

    // The next line; once all are taken, a spare that is never drawn.
    HudLine& add() {
        if (count == capacity)
            return overflow;
        return lines[static_cast<std::size_t>(count++)];
    }

  private:
    HudLine overflow;
};

inline const char* const meltingWarning = "You are melting! Collect Icecubes to cool down!";
// The two hints: what to do, in a player's first round, and what the keys
// do once it has ended.
inline const char* const controlsHint =
    "W A S D walk  -  ice cools you  -  reach the helicopter  -  P: pause and controls";
inline const char* const endHint = "Enter: play again    Esc: quit";
// The first hint shows for this long, or until the snowman first moves.
inline constexpr float controlsHintSeconds = 10.0f;

// The centred end text, drawn before the frame's heat; under "You Won" the
// round's time and the best, when given; under either the end hint.
HudLines endTextLayout(EndText text, int screenWidth, int screenHeight,
                       const std::string& winTimes = {});

// The same into existing lines, whose strings keep their storage: the win
// screen's times are longer than a string holds without the heap.
void fillEndTextLayout(HudLines& out, EndText text, int screenWidth, int screenHeight,
                       const std::string& winTimes);

// The controls hint along the bottom of the window: in a first round
// (firstRound), for its first ten seconds, until the snowman has moved.
HudLines hintLayout(bool firstRound, float roundSeconds, bool moved, int screenWidth,
                    int screenHeight);
bool controlsHintShown(bool firstRound, float roundSeconds, bool moved);

// "Paused" on the middle of the window, or above the end text when one shows.
HudLines pausedLayout(bool paused, bool endTextShown, int screenWidth, int screenHeight);

// Frame rate, temperature and warning, in drawing order. The frame-rate line
// follows showFps alone; RenderText itself hides everything while the HUD is
// off.
HudLines statusLayout(int screenWidth, int screenHeight, float deltaTime, float bodyTemperature,
                      bool showFps, bool showHud);

// The same into existing lines, whose strings keep their storage: the frame
// refills one set and so allocates nothing once the lines have been seen.
void fillStatusLayout(HudLines& out, int screenWidth, int screenHeight, float deltaTime,
                      float bodyTemperature, bool showFps, bool showHud);

// Float to int toward zero, saturating: a zero frame time gives an infinite
// rate, which a plain conversion would turn into undefined behaviour.
int truncateToInt(float value);

void drawHudLines(Shader& textShader, const HudLines& hudLines);

// The frame's text steps, reading the window size, time and switches.
void drawEndText(Shader& textShader, EndText text, const std::string& winTimes = {});
void drawStatusTexts(Shader& textShader, const GameState& state);
// "Paused" shows whatever F4 says; F4 hides every other text.
void drawPausedText(Shader& textShader, bool paused, bool endTextShown);
