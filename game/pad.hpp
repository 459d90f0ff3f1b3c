#pragma once
// A gamepad as the game reads it: the left stick and the D-pad walk, the
// right stick looks, Start pauses, A chooses (and plays again), B goes back
// and Back quits. Plain data in and out, so that the mapping is tested
// without a pad; the window library's state is copied into PadState.
#include <array>

// The window library's standard gamepad layout.
enum PadAxis { LeftX, LeftY, RightX, RightY, LeftTrigger, RightTrigger, PadAxes };
enum PadButton {
    ButtonA,
    ButtonB,
    ButtonX,
    ButtonY,
    LeftBumper,
    RightBumper,
    ButtonBack,
    ButtonStart,
    ButtonGuide,
    LeftThumb,
    RightThumb,
    DpadUp,
    DpadRight,
    DpadDown,
    DpadLeft,
    PadButtons
};

struct PadState {
    std::array<float, PadAxes> axes{};      // sticks -1 to 1, down and right positive
    std::array<bool, PadButtons> buttons{}; // held
};

// A stick's travel that counts for nothing: worn sticks rest off centre.
inline constexpr float padDeadZone = 0.2f;
// Cursor pixels a second of look at full tilt: with the default
// sensitivity of 0.1 degree a pixel, 90 degrees a second.
inline constexpr float padLookSpeed = 900.0f;

struct PadInput {
    float forward = 0.0f, right = 0.0f; // walking, each -1 to 1 of the keyboard's pace
    float lookX = 0.0f, lookY = 0.0f;   // this frame's look, in cursor pixels, up positive
    bool pause = false, choose = false, back = false, quit = false;     // held
    bool up = false, down = false, dpadLeft = false, dpadRight = false; // held, for the menu
};

// One frame of the pad, deltaTime seconds long; invertY turns the look's
// vertical round.
PadInput readPad(const PadState& pad, float deltaTime, bool invertY);
