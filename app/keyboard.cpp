#include "app/keyboard.hpp"

#include "app/camera.hpp"
#include "app/settings.hpp"
#include "app/startup.hpp"
#include "game/loop.hpp"
#include "game/pause_menu.hpp"
#include "game/player.hpp"
#include "game/rounds.hpp"
#include "game/rules.hpp"

#include <GLFW/glfw3.h>

#include <iostream>

bool showFps = true;
bool wireframe = false;
bool showHud = true;
bool celShading = false;
bool lightmaps = true;
bool particleAnimation = false;
bool soundOn = true;

int f2Held = 0, f3Held = 0, f4Held = 0, f5Held = 0, f6Held = 0, f7Held = 0, f8Held = 0;
int pHeld = 0, enterHeld = 0;
int menuHeld = 0;
bool quitAsked = false;

namespace {
// Flips a switch on the first frame its key is seen down.
void toggle(bool down, int held, bool& value, const char* label, std::ostream& out) {
    if (down && held == 0) {
        value = !value;
        out << label << (value ? '1' : '0') << std::endl;
    }
}

// The menu's keys as bits, for their held-key memory.
enum MenuKey { Up = 1, Down = 2, Left = 4, Right = 8, Choose = 16, Back = 32, Click = 64 };

int menuKeys(const KeyState& keys) {
    return (keys.up || keys.w ? Up : 0) | (keys.down || keys.s ? Down : 0) |
           (keys.left || keys.a ? Left : 0) | (keys.right || keys.d ? Right : 0) |
           (keys.enter || keys.space ? Choose : 0) | (keys.backspace ? Back : 0) |
           (keys.click ? Click : 0);
}

// A paused frame's presses, for the menu that the pause opened.
void workMenu(const KeyState& keys, std::ostream& out) {
    const int pressed = menuKeys(keys) & ~menuHeld;
    MenuInput input;
    input.up = pressed & Up;
    input.down = pressed & Down;
    input.left = pressed & Left;
    input.right = pressed & Right;
    input.choose = pressed & Choose;
    input.back = pressed & Back;
    if (pressed & Click)
        input.clicked = pauseMenuLineAt(keys.cursorX, keys.cursorY);
    switch (pauseMenuFrame(input, out)) {
    case MenuAction::Resume:
        paused = false;
        out << "Pause toggled to: 0" << std::endl;
        break;
    case MenuAction::Quit:
        quitAsked = true;
        break;
    default:
        break;
    }
}
} // namespace

void applyKeys(const KeyState& keys, std::ostream& out) {
    // P acts before the walk: the frame that pauses takes no step, so no cube,
    // cactus or win falls into a frame whose sounds the pause would swallow.
    const bool pressedP = keys.p && pHeld == 0;
    const bool pausedNow = pressedP ? !paused : paused || keys.away;
    if (!gameEnded && !pausedNow) {
        if (keys.w || keys.s || keys.a || keys.d)
            moveSnowman(keys.w, keys.s, keys.a, keys.d);
        else
            walkSnowman(keys.padForward, keys.padRight);
    }

    toggle(keys.f2, f2Held, showFps, "Show fps toggled to: ", out);
    toggle(keys.f3, f3Held, wireframe, "Wire frame toggled to: ", out);
    toggle(keys.f4, f4Held, showHud, "HUD toggled to: ", out);
    toggle(keys.f5, f5Held, celShading, "CEL shading toggled to ", out);
    toggle(keys.f6, f6Held, lightmaps, "Lightmaps toggled to ", out);
    toggle(keys.f7, f7Held, particleAnimation, "Particle animation toggled to ", out);
    toggle(keys.f8, f8Held, soundOn, "Sound toggled to: ", out);
    const bool wasPaused = paused;
    toggle(keys.p, pHeld, paused, "Pause toggled to: ", out);
    if (keys.away && !paused && !pressedP) {
        paused = true;
        out << "Pause toggled to: 1" << std::endl;
    }
    // Enter in a paused frame is the menu's; P resumes from any page.
    playAgainAsked = keys.enter && enterHeld == 0 && !wasPaused;
    if (paused && !wasPaused)
        openPauseMenu();
    else if (paused)
        workMenu(keys, out);

    f2Held = keys.f2;
    f3Held = keys.f3;
    f4Held = keys.f4;
    f5Held = keys.f5;
    f6Held = keys.f6;
    f7Held = keys.f7;
    f8Held = keys.f8;
    pHeld = keys.p;
    enterHeld = keys.enter;
    menuHeld = menuKeys(keys);
}

void addPad(KeyState& keys, const PadInput& pad) {
    keys.escape = keys.escape || pad.quit;
    keys.p = keys.p || pad.pause;
    keys.enter = keys.enter || pad.choose;
    keys.backspace = keys.backspace || pad.back;
    keys.up = keys.up || pad.up;
    keys.down = keys.down || pad.down;
    keys.left = keys.left || pad.dpadLeft;
    keys.right = keys.right || pad.dpadRight;
    keys.padForward = pad.forward;
    keys.padRight = pad.right;
}

namespace {

static_assert(GLFW_GAMEPAD_BUTTON_A == ButtonA && GLFW_GAMEPAD_BUTTON_START == ButtonStart &&
              GLFW_GAMEPAD_BUTTON_DPAD_LEFT == DpadLeft &&
              GLFW_GAMEPAD_BUTTON_LAST + 1 == PadButtons && GLFW_GAMEPAD_AXIS_LEFT_X == LeftX &&
              GLFW_GAMEPAD_AXIS_RIGHT_Y == RightY && GLFW_GAMEPAD_AXIS_LAST + 1 == PadAxes);

// The first joystick the window library knows a gamepad mapping for; one
// plugged in mid-game is found on the next frame.
bool pollGamepad(PadState& pad) {
    for (int joystick = GLFW_JOYSTICK_1; joystick <= GLFW_JOYSTICK_LAST; ++joystick) {
        GLFWgamepadstate state;
        if (glfwJoystickIsGamepad(joystick) && glfwGetGamepadState(joystick, &state)) {
            for (int i = 0; i < PadAxes; ++i)
                pad.axes[i] = state.axes[i];
            for (int i = 0; i < PadButtons; ++i)
                pad.buttons[i] = state.buttons[i] == GLFW_PRESS;
            return true;
        }
    }
    return false;
}

} // namespace

void processInput() {
    auto down = [](int key) { return glfwGetKey(window, key) == GLFW_PRESS; };
    KeyState keys;
    keys.escape = down(GLFW_KEY_ESCAPE);
    keys.w = down(GLFW_KEY_W);
    keys.s = down(GLFW_KEY_S);
    keys.a = down(GLFW_KEY_A);
    keys.d = down(GLFW_KEY_D);
    keys.f2 = down(GLFW_KEY_F2);
    keys.f3 = down(GLFW_KEY_F3);
    keys.f4 = down(GLFW_KEY_F4);
    keys.f5 = down(GLFW_KEY_F5);
    keys.f6 = down(GLFW_KEY_F6);
    keys.f7 = down(GLFW_KEY_F7);
    keys.f8 = down(GLFW_KEY_F8);
    keys.p = down(GLFW_KEY_P);
    keys.enter = down(GLFW_KEY_ENTER) || down(GLFW_KEY_KP_ENTER);
    keys.up = down(GLFW_KEY_UP);
    keys.down = down(GLFW_KEY_DOWN);
    keys.left = down(GLFW_KEY_LEFT);
    keys.right = down(GLFW_KEY_RIGHT);
    keys.space = down(GLFW_KEY_SPACE);
    keys.backspace = down(GLFW_KEY_BACKSPACE);
    if (paused) {
        keys.click = glfwGetMouseButton(window, GLFW_MOUSE_BUTTON_LEFT) == GLFW_PRESS;
        // The cursor in window coordinates, y down; the HUD's units may differ.
        double x = 0.0, y = 0.0;
        int width = 0, height = 0;
        glfwGetCursorPos(window, &x, &y);
        glfwGetWindowSize(window, &width, &height);
        if (width > 0 && height > 0) {
            keys.cursorX = static_cast<float>(x * screenWidth / width);
            keys.cursorY = static_cast<float>((height - y) * screenHeight / height);
        }
    }

    // Polled, as the camera polls focus: a window that never had the focus
    // (no window manager) plays on as ever.
    static bool hadFocus = false, wasAway = false; // main thread only
    const bool focused = glfwGetWindowAttrib(window, GLFW_FOCUSED) == GLFW_TRUE;
    // Iconified is asked only of a window that never had the focus: with
    // a window manager, iconifying takes the focus, and the question is a
    // round trip to the X server every frame.
    const bool away =
        hadFocus ? !focused : !focused && glfwGetWindowAttrib(window, GLFW_ICONIFIED) == GLFW_TRUE;
    keys.away = away && !wasAway;
    wasAway = away;
    hadFocus = hadFocus || focused;

    PadState pad;
    if (pollGamepad(pad)) {
        const PadInput input = readPad(pad, deltaTime, invertLook);
        addPad(keys, input);
        if (freeCamera && !paused)
            camera.processMouseMovement(input.lookX, input.lookY);
    }

    if (keys.escape)
        glfwSetWindowShouldClose(window, GLFW_TRUE);
    applyKeys(keys, std::cout);
    if (quitAsked)
        glfwSetWindowShouldClose(window, GLFW_TRUE);

    // The menu wants the cursor; play takes it back, and the jump of taking
    // it turns nothing.
    static bool cursorFree = false; // main thread only
    if (paused != cursorFree) {
        glfwSetInputMode(window, GLFW_CURSOR, paused ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_DISABLED);
        // A click quicker than a frame still counts once.
        glfwSetInputMode(window, GLFW_STICKY_MOUSE_BUTTONS, paused ? GLFW_TRUE : GLFW_FALSE);
        if (!paused)
            firstMouse = true;
        cursorFree = paused;
    }
}
