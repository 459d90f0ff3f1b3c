#include "game/menu.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr const char* mainItems[] = {"Resume", "Options", "Controls", "Quit"};
enum MainItem { ResumeItem, OptionsItem, ControlsItem, QuitItem };

// Every key and pad button, as the Controls page lists them.
constexpr const char* controls[] = {
    "W S / left stick: walk forward, back",
    "A D / left stick: step left, right",
    "Mouse / right stick: look around",
    "P / Start: pause and this menu",
    "Enter, Space / A: choose, play again",
    "Backspace / B: back a page",
    "Escape / Back: quit at once",
    "F2 frame rate   F3 wire frame   F4 texts",
    "F5 cel shading   F6 light map   F7 rock ring",
    "F8 sound",
};
constexpr int controlLines = static_cast<int>(sizeof controls / sizeof controls[0]);

constexpr int optionItems = static_cast<int>(MenuOption::Count);

// A value kept as whole steps, so that no float drifts as it is stepped:
// up from the top wraps to the bottom when chosen, and stops when nudged.
int stepped(int value, int step, bool wrap, int low, int high) {
    if (wrap && value + step > high)
        return low;
    return std::clamp(value + step, low, high);
}

void fill(std::array<char, menuLineChars>& text, const char* format, const char* word,
          double value = 0.0) {
    std::snprintf(text.data(), text.size(), format, word, value);
}

const char* onOff(bool value) {
    return value ? "on" : "off";
}

} // namespace

void Menu::open() {
    current = MenuPage::Main;
    selected = ResumeItem;
}

int Menu::items() const {
    switch (current) {
    case MenuPage::Main:
        return 4;
    case MenuPage::Options:
        return optionItems + 1; // and Back
    case MenuPage::Controls:
        return 1; // Back
    }
    return 1;
}

MenuResult Menu::update(const MenuInput& input, MenuOptions& options) {
    const int count = items();
    if (input.clicked >= 0) {
        // The first line of every page is its heading; the Controls page's
        // one item comes after its list.
        const int item =
            current == MenuPage::Controls ? input.clicked - 1 - controlLines : input.clicked - 1;
        if (item < 0 || item >= count)
            return {};
        selected = item;
        return choose(item, 1, true, options);
    }
    if (input.up)
        selected = (selected + count - 1) % count;
    if (input.down)
        selected = (selected + 1) % count;
    if (input.choose)
        return choose(selected, 1, true, options);
    if (input.back) {
        if (current == MenuPage::Main)
            return {MenuAction::Resume};
        selected = current == MenuPage::Options ? OptionsItem : ControlsItem;
        current = MenuPage::Main;
        return {};
    }
    if (current == MenuPage::Options && selected < optionItems && (input.left || input.right))
        return choose(selected, input.right ? 1 : -1, false, options);
    return {};
}

// A click or Enter steps a value up and wraps (wrap); Left and Right step
// it either way and stop at the ends.
MenuResult Menu::choose(int item, int step, bool wrap, MenuOptions& options) {
    MenuResult result;
    if (current == MenuPage::Main) {
        if (item == ResumeItem || item == QuitItem)
            result.action = item == ResumeItem ? MenuAction::Resume : MenuAction::Quit;
        else
            current = item == OptionsItem ? MenuPage::Options : MenuPage::Controls;
        if (result.action == MenuAction::None)
            selected = 0;
        return result;
    }
    if (current == MenuPage::Controls || item == optionItems) { // Back
        selected = current == MenuPage::Options ? OptionsItem : ControlsItem;
        current = MenuPage::Main;
        return result;
    }

    const auto toggled = [&](bool& value, const char* label) {
        value = !value;
        std::snprintf(result.line.data(), result.line.size(), "%s toggled to: %c", label,
                      value ? '1' : '0');
    };
    const auto set = [&](const char* label, double value) {
        std::snprintf(result.line.data(), result.line.size(), "%s set to: %g", label, value);
    };
    // A float held as whole steps of 1/perUnit, low to high of them.
    const auto stepUnits = [&](float& value, int perUnit, int low, int high, const char* label) {
        const int was = static_cast<int>(std::lround(value * static_cast<float>(perUnit)));
        const int now = stepped(std::clamp(was, low, high), step, wrap, low, high);
        if (now == was)
            return false;
        value = static_cast<float>(now) / static_cast<float>(perUnit);
        set(label, value);
        return true;
    };
    const MenuOption option = static_cast<MenuOption>(item);
    switch (option) {
    case MenuOption::Volume: {
        const int was = options.volumeTenths;
        options.volumeTenths = stepped(was, step, wrap, 0, 10);
        if (options.volumeTenths == was)
            return result;
        set("Volume", options.volumeTenths / 10.0);
        break;
    }
    case MenuOption::Sensitivity:
        if (!stepUnits(options.sensitivity, 20, 1, 20, "Sensitivity"))
            return result;
        break;
    case MenuOption::Brightness:
        if (!stepUnits(options.brightness, 10, 5, 20, "Brightness"))
            return result;
        break;
    case MenuOption::Sound:
        toggled(options.sound, "Sound");
        break;
    case MenuOption::Fullscreen:
        toggled(options.fullscreen, "Fullscreen");
        break;
    case MenuOption::MouseLook:
        toggled(options.mouseLook, "Mouse look");
        break;
    case MenuOption::InvertY:
        toggled(options.invertY, "Invert y");
        break;
    case MenuOption::ShowFps:
        toggled(options.showFps, "Show fps");
        break;
    case MenuOption::Ghost:
        toggled(options.ghost, "Ghost");
        break;
    case MenuOption::Count:
        return result;
    }
    result.action = MenuAction::Changed;
    result.changed = option;
    return result;
}

int Menu::lines(const MenuOptions& options, bool notSaved,
                std::array<MenuLine, menuMaxLines>& out) const {
    int n = 0;
    const auto add = [&](bool item) -> std::array<char, menuLineChars>& {
        MenuLine& line = out[n++];
        line.item = item;
        line.selected = false;
        line.text[0] = '\0';
        return line.text;
    };
    const auto addItem = [&](int index) -> std::array<char, menuLineChars>& {
        std::array<char, menuLineChars>& text = add(true);
        out[n - 1].selected = index == selected;
        return text;
    };

    switch (current) {
    case MenuPage::Main:
        fill(add(false), "%s", "Paused");
        for (int i = 0; i < 4; ++i)
            fill(addItem(i), "%s", mainItems[i]);
        break;
    case MenuPage::Options:
        fill(add(false), "%s", "Options");
        fill(addItem(0), "%s: %.0f %%", "Volume", options.volumeTenths * 10.0);
        fill(addItem(1), "Sound: %s", onOff(options.sound));
        fill(addItem(2), "Full screen: %s", onOff(options.fullscreen));
        fill(addItem(3), "Mouse look: %s", onOff(options.mouseLook));
        fill(addItem(4), "%s: %.2f", "Mouse sensitivity", options.sensitivity);
        fill(addItem(5), "Invert vertical look: %s", onOff(options.invertY));
        fill(addItem(6), "Show frame rate: %s", onOff(options.showFps));
        fill(addItem(7), "Ghost: %s", onOff(options.ghost));
        fill(addItem(8), "%s: %.1f", "Brightness", options.brightness);
        fill(addItem(optionItems), "%s", "Back");
        if (notSaved)
            fill(add(false), "%s", "Settings not saved");
        break;
    case MenuPage::Controls:
        fill(add(false), "%s", "Controls");
        for (const char* line : controls)
            fill(add(false), "%s", line);
        fill(addItem(0), "%s", "Back");
        break;
    }
    return n;
}
