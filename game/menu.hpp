#pragma once
// The pause menu as plain state: it takes one frame's presses (keys, a
// click, pad buttons, already turned into edges) and gives back the lines
// to draw and what the game is to do. Nothing here draws, reads a key or
// touches a setting; the layer around it does, so that every page and
// option is tested without a window. No frame of it allocates.
#include <array>

enum class MenuPage { Main, Options, Controls };

// The options the menu changes, in the units the player sees.
enum class MenuOption {
    Volume,     // tenths, 0 to 10
    Sound,      // on or off
    Fullscreen, // on or off
    MouseLook,  // on or off
    Sensitivity,
    InvertY,
    ShowFps,
    Ghost,
    Brightness,
    Count
};

struct MenuOptions {
    int volumeTenths = 8;
    bool sound = true, fullscreen = false, mouseLook = true;
    float sensitivity = 0.1f; // 0.05 to 1, in steps of 0.05
    bool invertY = false, showFps = true, ghost = true;
    float brightness = 1.0f; // 0.5 to 2, in steps of 0.1
};

// One frame's presses, each true on the frame it begins only.
struct MenuInput {
    bool up = false, down = false, left = false, right = false;
    bool choose = false, back = false;
    int clicked = -1; // the line clicked, as lines() numbers them, or -1
};

enum class MenuAction { None, Resume, Quit, Changed };

struct MenuResult {
    MenuAction action = MenuAction::None;
    MenuOption changed = MenuOption::Count; // with Changed
    // With Changed: the console line, in the function keys' style
    // ("Volume set to: 0.3", "Fullscreen toggled to: 1").
    std::array<char, 48> line{};
};

inline constexpr int menuLineChars = 64;
inline constexpr int menuMaxLines = 18;

struct MenuLine {
    std::array<char, menuLineChars> text{};
    bool item = false;     // can be chosen
    bool selected = false; // the item the keys are on
};

class Menu {
  public:
    // Opened on its first page, the first item chosen.
    void open();
    MenuPage page() const { return current; }
    int selectedItem() const { return selected; }

    // Acts on one frame's presses; options change in place.
    MenuResult update(const MenuInput& input, MenuOptions& options);

    // The lines of the page as it now is, options shown at their values;
    // notSaved adds the line that says a change could not be written.
    int lines(const MenuOptions& options, bool notSaved,
              std::array<MenuLine, menuMaxLines>& out) const;

  private:
    int items() const;
    MenuResult choose(int item, int step, bool wrap, MenuOptions& options);

    MenuPage current = MenuPage::Main;
    int selected = 0;
};
