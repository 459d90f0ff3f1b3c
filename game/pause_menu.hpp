#pragma once
// The pause menu in the game: opened by the pause, fed each paused frame's
// presses by the keyboard, changing the settings it shows at once, writing
// them back to the settings file, and drawn over the frozen scene. The menu
// itself (game/menu.hpp) is plain state; this is the layer around it.
#include <array>
#include <iosfwd>
#include <string>

#include "game/menu.hpp"

class Shader;

// The file an option is written back to: the one the game read.
extern std::string settingsFilePath;

void openPauseMenu();

// One paused frame's presses. An option changed is applied to its setting,
// printed on out and saved; a file that cannot be written prints
// "ERROR::SETTINGS:: <path>: <reason>" once and says so in the menu.
// Returns Resume or Quit for the caller to do, or None.
MenuAction pauseMenuFrame(const MenuInput& input, std::ostream& out);

// What only the window and the mixer can apply, asked for by the frame's
// changes; taking them clears them.
struct MenuRequests {
    bool window = false; // full screen on or off, or its gamma
    bool volume = false;
    bool ghost = false; // on: its program, if the start did not make one
};
MenuRequests takeMenuRequests();

// Where the menu's lines go: the first page's heading where "Paused" has
// always been, its items below; the longer pages centred on the window.
struct MenuLayout {
    std::array<MenuLine, menuMaxLines> lines;
    std::array<float, menuMaxLines> y{}; // baselines, window pixels from the bottom
    int count = 0;
    float x = 0.0f;       // the centre
    float spacing = 0.0f; // between baselines
};
void layoutPauseMenu(MenuLayout& out, int screenWidth, int screenHeight, bool endTextShown);

// The line of a layout at a point of the window (pixels from the bottom
// left), or -1.
int menuLineAt(const MenuLayout& layout, float x, float y, int screenWidth);
// The same on the menu as it was last drawn: what the player clicked on.
int pauseMenuLineAt(float x, float y);

// The menu as it now is; shown with the HUD off too, like "Paused".
void drawPauseMenu(Shader& textShader, bool endTextShown);
