// The pause menu as a state machine: pages, choices, option steps and the
// lines they print, with no window.
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "game/menu.hpp"
#include "game/pause_menu.hpp"

namespace {

MenuInput press(bool MenuInput::*key) {
    MenuInput input;
    input.*key = true;
    return input;
}

MenuInput click(int line) {
    MenuInput input;
    input.clicked = line;
    return input;
}

std::string text(const Menu& menu, const MenuOptions& options, int line, bool notSaved = false) {
    std::array<MenuLine, menuMaxLines> lines;
    const int count = menu.lines(options, notSaved, lines);
    return line < count ? std::string(lines[line].text.data()) : "(none)";
}

} // namespace

TEST(Menu, KeysWalkThePagesAndBackAndTheEndsWrap) {
    Menu menu;
    MenuOptions options;
    menu.open();
    EXPECT_EQ(text(menu, options, 0), "Paused");
    menu.update(press(&MenuInput::up), options); // from the top to Quit
    EXPECT_EQ(menu.selectedItem(), 3);
    EXPECT_EQ(menu.update(press(&MenuInput::choose), options).action, MenuAction::Quit);

    menu.update(press(&MenuInput::down), options); // round to Resume, then Options
    menu.update(press(&MenuInput::down), options);
    menu.update(press(&MenuInput::choose), options);
    EXPECT_EQ(menu.page(), MenuPage::Options);
    EXPECT_EQ(text(menu, options, 1), "Volume: 80 %");
    // Back returns to the item that led here; back on the first page resumes.
    menu.update(press(&MenuInput::back), options);
    EXPECT_EQ(menu.page(), MenuPage::Main);
    EXPECT_EQ(menu.selectedItem(), 1);
    EXPECT_EQ(menu.update(press(&MenuInput::back), options).action, MenuAction::Resume);

    // The Controls page: its one item, Back, after the list of keys.
    menu.update(click(3), options);
    EXPECT_EQ(menu.page(), MenuPage::Controls);
    EXPECT_EQ(text(menu, options, 1).rfind("W S / left stick", 0), 0u);
    EXPECT_EQ(menu.update(click(1), options).action, MenuAction::None); // a key's line
    EXPECT_EQ(menu.page(), MenuPage::Controls);
    menu.update(press(&MenuInput::choose), options);
    EXPECT_EQ(menu.page(), MenuPage::Main);
    EXPECT_EQ(menu.update(click(1), options).action, MenuAction::Resume);
}

TEST(Menu, OptionsStepAndSayWhatTheyBecame) {
    Menu menu;
    MenuOptions options;
    menu.open();
    menu.update(click(2), options); // Options

    // Volume: chosen, it steps up and wraps past 100 %; nudged, it stops.
    options.volumeTenths = 10;
    MenuResult result = menu.update(click(1), options);
    EXPECT_EQ(result.action, MenuAction::Changed);
    EXPECT_EQ(result.changed, MenuOption::Volume);
    EXPECT_STREQ(result.line.data(), "Volume set to: 0");
    EXPECT_EQ(menu.update(press(&MenuInput::left), options).action, MenuAction::None);
    menu.update(press(&MenuInput::right), options);
    menu.update(press(&MenuInput::right), options);
    EXPECT_STREQ(menu.update(press(&MenuInput::right), options).line.data(), "Volume set to: 0.3");
    EXPECT_EQ(text(menu, options, 1), "Volume: 30 %");

    // A switch flips whichever way it is nudged.
    result = menu.update(click(3), options);
    EXPECT_STREQ(result.line.data(), "Fullscreen toggled to: 1");
    EXPECT_TRUE(options.fullscreen);
    EXPECT_STREQ(menu.update(press(&MenuInput::left), options).line.data(),
                 "Fullscreen toggled to: 0");

    // Steps of a twentieth and a tenth, with no drift.
    for (int i = 0; i < 19; ++i)
        menu.update(click(5), options);
    EXPECT_FLOAT_EQ(options.sensitivity, 0.05f); // 0.1 up to 1, round to 0.05
    EXPECT_EQ(text(menu, options, 5), "Mouse sensitivity: 0.05");
    options.brightness = 2.0f;
    EXPECT_STREQ(menu.update(click(9), options).line.data(), "Brightness set to: 0.5");

    EXPECT_STREQ(menu.update(click(7), options).line.data(), "Show fps toggled to: 0");
    EXPECT_EQ(text(menu, options, 11, true), "Settings not saved");
    EXPECT_EQ(text(menu, options, 11, false), "(none)");
    menu.update(click(10), options); // Back
    EXPECT_EQ(menu.page(), MenuPage::Main);
}

TEST(Menu, AClickFindsTheLineItsLettersAreOn) {
    MenuLayout layout;
    layout.count = 3;
    layout.x = 512.0f;
    layout.spacing = 40.0f;
    layout.y = {400.0f, 360.0f, 320.0f};
    EXPECT_EQ(menuLineAt(layout, 512.0f, 410.0f, 1024), 0); // the letters stand on the baseline
    EXPECT_EQ(menuLineAt(layout, 700.0f, 372.0f, 1024), 1);
    EXPECT_EQ(menuLineAt(layout, 512.0f, 290.0f, 1024), -1); // below the last
    EXPECT_EQ(menuLineAt(layout, 100.0f, 372.0f, 1024), -1); // far to the side
}
