#include "game/pad.hpp"

#include <algorithm>
#include <cmath>

namespace {

struct Stick {
    float x = 0.0f, y = 0.0f;
};

// The dead zone is round, so that a diagonal starts as early as a straight
// push; past it the travel is stretched back to the whole range, capped at
// full tilt in any direction.
Stick settle(float x, float y) {
    const float length = std::hypot(x, y);
    if (!(length > padDeadZone))
        return {};
    const float scale = std::min(1.0f, (length - padDeadZone) / (1.0f - padDeadZone)) / length;
    return {x * scale, y * scale};
}

} // namespace

PadInput readPad(const PadState& pad, float deltaTime, bool invertY) {
    const auto held = [&](PadButton button) { return pad.buttons[button]; };
    PadInput in;
    const Stick walk = settle(pad.axes[LeftX], pad.axes[LeftY]);
    // A D-pad press walks at the keyboard's pace; with the stick it never
    // walks faster.
    in.forward = std::clamp(-walk.y + held(DpadUp) - held(DpadDown), -1.0f, 1.0f);
    in.right = std::clamp(walk.x + held(DpadRight) - held(DpadLeft), -1.0f, 1.0f);

    const Stick look = settle(pad.axes[RightX], pad.axes[RightY]);
    in.lookX = look.x * padLookSpeed * deltaTime;
    in.lookY = (invertY ? look.y : -look.y) * padLookSpeed * deltaTime;

    in.pause = held(ButtonStart);
    in.choose = held(ButtonA);
    in.back = held(ButtonB);
    in.quit = held(ButtonBack);
    in.up = held(DpadUp);
    in.down = held(DpadDown);
    in.dpadLeft = held(DpadLeft);
    in.dpadRight = held(DpadRight);
    return in;
}
