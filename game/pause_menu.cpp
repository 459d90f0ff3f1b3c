#include "game/pause_menu.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "app/camera.hpp"
#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "app/settings_save.hpp"
#include "render/text.hpp"

std::string settingsFilePath = "settings.ini";

namespace {

// Main thread only, like every frame step.
Menu menu;
bool notSaved = false; // the last change could not be written
bool reported = false; // its line has been printed, once a run
MenuRequests requests;
MenuLayout drawn; // refilled every paused frame

MenuOptions currentOptions() {
    MenuOptions options;
    options.volumeTenths = static_cast<int>(std::lround(soundVolume * 10.0f));
    options.sound = soundOn;
    options.fullscreen = fullscreen;
    options.mouseLook = freeCamera;
    options.sensitivity = lookSensitivity;
    options.invertY = invertLook;
    options.showFps = showFps;
    options.ghost = ghostEnabled;
    options.brightness = brightness;
    return options;
}

// The setting, and what the window or the mixer must do about it.
void apply(MenuOption option, const MenuOptions& options) {
    switch (option) {
    case MenuOption::Volume:
        soundVolume = static_cast<float>(options.volumeTenths) / 10.0f;
        requests.volume = true;
        break;
    case MenuOption::Sound:
        soundOn = options.sound;
        break;
    case MenuOption::Fullscreen:
        fullscreen = options.fullscreen;
        requests.window = true;
        break;
    case MenuOption::MouseLook:
        freeCamera = options.mouseLook;
        break;
    case MenuOption::Sensitivity:
        lookSensitivity = options.sensitivity;
        camera.mouseSensitivity = lookSensitivity;
        break;
    case MenuOption::InvertY:
        invertLook = options.invertY;
        break;
    case MenuOption::ShowFps:
        showFps = options.showFps;
        break;
    case MenuOption::Ghost:
        ghostEnabled = options.ghost;
        requests.ghost = ghostEnabled;
        break;
    case MenuOption::Brightness:
        brightness = options.brightness;
        requests.window = fullscreen; // the monitor's gamma
        break;
    case MenuOption::Count:
        break;
    }
}

// Where each option is kept in the settings file, in MenuOption's order.
struct Kept {
    const char* section;
    const char* key;
};
constexpr Kept keptAs[] = {
    {"audio", "volume"},    {"audio", "sound"},        {"window", "fullscreen"},
    {"camera", "free"},     {"camera", "sensitivity"}, {"camera", "invert y"},
    {"window", "show fps"}, {"game", "ghost"},         {"window", "brightness"},
};
static_assert(sizeof keptAs / sizeof keptAs[0] == static_cast<std::size_t>(MenuOption::Count));

// The option's line in the settings file: a number as "%g" writes it, a
// switch as "true" or "false", both as the game reads them back.
void save(MenuOption option, const MenuOptions& options, std::ostream& out) {
    char value[16];
    const auto number = [&](double n) { std::snprintf(value, sizeof value, "%g", n); };
    const auto word = [&](bool on) {
        std::snprintf(value, sizeof value, "%s", on ? "true" : "false");
    };
    switch (option) {
    case MenuOption::Volume:
        number(options.volumeTenths / 10.0);
        break;
    case MenuOption::Sensitivity:
        number(options.sensitivity);
        break;
    case MenuOption::Brightness:
        number(options.brightness);
        break;
    case MenuOption::Sound:
        word(options.sound);
        break;
    case MenuOption::Fullscreen:
        word(options.fullscreen);
        break;
    case MenuOption::MouseLook:
        word(options.mouseLook);
        break;
    case MenuOption::InvertY:
        word(options.invertY);
        break;
    case MenuOption::ShowFps:
        word(options.showFps);
        break;
    case MenuOption::Ghost:
        word(options.ghost);
        break;
    case MenuOption::Count:
        return;
    }
    const Kept& kept = keptAs[static_cast<int>(option)];
    const std::string why = saveSetting(settingsFilePath, kept.section, kept.key, value);
    notSaved = !why.empty();
    if (notSaved && !reported) {
        out << "ERROR::SETTINGS:: " << settingsFilePath << ": " << why << std::endl;
        reported = true;
    }
}

constexpr float headingScale = 1.0f, pageHeadingScale = 0.8f, itemScale = 0.6f, textScale = 0.42f;
constexpr float mainSpacing = 44.0f;

} // namespace

void openPauseMenu() {
    menu.open();
}

MenuAction pauseMenuFrame(const MenuInput& input, std::ostream& out) {
    MenuOptions options = currentOptions();
    const MenuResult result = menu.update(input, options);
    if (result.action != MenuAction::Changed)
        return result.action;
    apply(result.changed, options);
    // Saved first: once the line is out, the file says so too.
    save(result.changed, options, out);
    out << result.line.data() << std::endl;
    return MenuAction::None;
}

MenuRequests takeMenuRequests() {
    const MenuRequests taken = requests;
    requests = {};
    return taken;
}

void layoutPauseMenu(MenuLayout& out, int screenWidth, int screenHeight, bool endTextShown) {
    out.count = menu.lines(currentOptions(), notSaved, out.lines);
    out.x = static_cast<float>(screenWidth / 2);
    const float middle = static_cast<float>(screenHeight / 2);
    if (menu.page() == MenuPage::Main) {
        // "Paused" stays where it always was; the items hang below it.
        out.spacing = mainSpacing;
        // Over an end text the whole page stands above it.
        const float top = middle + (endTextShown ? 70.0f + mainSpacing * (out.count - 1) : 0.0f);
        for (int i = 0; i < out.count; ++i)
            out.y[i] = top - out.spacing * static_cast<float>(i);
        return;
    }
    out.spacing = std::min(mainSpacing, static_cast<float>(screenHeight - 60) /
                                            static_cast<float>(std::max(out.count, 1)));
    const float top = middle + out.spacing * static_cast<float>(out.count - 1) / 2.0f;
    for (int i = 0; i < out.count; ++i)
        out.y[i] = top - out.spacing * static_cast<float>(i);
}

int menuLineAt(const MenuLayout& layout, float x, float y, int screenWidth) {
    if (std::abs(x - layout.x) > static_cast<float>(screenWidth) * 0.4f)
        return -1;
    // A line's band is a spacing high, round the middle of its letters.
    for (int i = 0; i < layout.count; ++i)
        if (std::abs(y - (layout.y[i] + layout.spacing * 0.3f)) <= layout.spacing / 2.0f)
            return i;
    return -1;
}

int pauseMenuLineAt(float x, float y) {
    return menuLineAt(drawn, x, y, screenWidth);
}

void drawPauseMenu(Shader& textShader, bool endTextShown) {
    MenuLayout& layout = drawn;
    layoutPauseMenu(layout, screenWidth, screenHeight, endTextShown);
    const bool main = menu.page() == MenuPage::Main;
    for (int i = 0; i < layout.count; ++i) {
        const MenuLine& line = layout.lines[i];
        float scale = line.item ? itemScale : textScale;
        glm::vec3 colour = line.selected ? glm::vec3(1.0f, 0.85f, 0.2f) : glm::vec3(0.95f);
        if (i == 0) {
            scale = main ? headingScale : pageHeadingScale;
            colour = glm::vec3(1.0f);
        }
        // A dark shadow first: the frozen scene behind is sky and sand, as
        // light as the letters.
        renderTextAlways(textShader, line.text.data(), layout.x + 2.0f, layout.y[i] - 2.0f, scale,
                         glm::vec3(0.1f), true);
        renderTextAlways(textShader, line.text.data(), layout.x, layout.y[i], scale, colour, true);
    }
}
