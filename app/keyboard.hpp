#pragma once
// Polled keyboard: Escape, the movement keys, the six render switches, the
// sound switch, pause and play again.
#include <iosfwd>

#include "game/pad.hpp"

// Render and HUD switches, flipped by F2 to F7.
extern bool showFps;
extern bool wireframe;
extern bool showHud;
extern bool celShading;
extern bool lightmaps;
extern bool particleAnimation;

// Sound on or off, flipped by F8.
extern bool soundOn;

// Key state seen by the previous call, one per function key (1 = down).
extern int f2Held, f3Held, f4Held, f5Held, f6Held, f7Held, f8Held;
// The same for P and for Enter (either Enter key).
extern int pHeld, enterHeld;
// The pause menu's keys seen down by the previous call, one bit a key.
extern int menuHeld;
// The menu's Quit, chosen this frame: the window closes as for Escape.
extern bool quitAsked;

// One frame's view of the keys the game uses.
struct KeyState {
    bool escape = false;
    bool w = false, s = false, a = false, d = false;
    bool f2 = false, f3 = false, f4 = false, f5 = false, f6 = false, f7 = false, f8 = false;
    bool p = false, enter = false;
    // A gamepad's walk, each -1 to 1 of the keys' pace; the keys, when
    // any is down, walk instead.
    float padForward = 0.0f, padRight = 0.0f;
    // The pause menu's own: the arrows, Space, Backspace (B on a pad) and a
    // click of the left button where the cursor is (window pixels from the
    // bottom left, in the HUD's units).
    bool up = false, down = false, left = false, right = false;
    bool space = false, backspace = false, click = false;
    float cursorX = 0.0f, cursorY = 0.0f;
    // The window has just lost the focus it had, or been iconified: the
    // game pauses as for P, and never goes on by itself.
    bool away = false;
};

// A gamepad's frame added to the keys': Start is P, A is Enter, Back is
// Escape, and the sticks walk.
void addPad(KeyState& keys, const PadInput& pad);

// Everything processInput does after polling, minus Escape: the movement
// block (skipped once the game has ended or while it is paused), the
// switches and pause, reported on out, and a press of Enter, left in
// playAgainAsked for the frame to act on. While paused the keys work the
// pause menu instead: W, S and the arrows move, Enter or Space chooses,
// Backspace goes back, a click chooses.
void applyKeys(const KeyState& keys, std::ostream& out);

// Polls the window's keys and the first gamepad once and acts on them;
// called once a frame. The pad's right stick looks as the mouse does.
void processInput();
