#include "game/sound_cues.hpp"

#include <algorithm>

#include "game/player.hpp"

namespace {
// A landing this hard gives a thud at full strength.
constexpr float loudestImpact = 20.0f;
} // namespace

FrameMoment momentOf(const GameState& state) {
    return FrameMoment{state, playerPosition, waddleRising, gameEnded};
}

void tellSounds(const FrameMoment& before, const FrameMoment& after, const CubeImpact impacts[],
                int impactCount, SoundFrame& out) {
    const GameState& now = after.state;
    const bool walked = after.player != before.player;
    const bool playing =
        !after.gameEnded && endTextFor(now.bodyTemperature, now.gameWon) == EndText::None;
    // A foot lands at every other turn of the waddle: one at each turn made
    // the walk sound like a drum roll.
    out.footstep = walked && playing && after.waddleRising && !before.waddleRising;

    out.chimeCount = 0;
    for (int i = 0; i < iceCubeCount && out.chimeCount < maxSoundEvents; ++i)
        if (now.iceCubeCollected[i] && !before.state.iceCubeCollected[i])
            out.chimes[out.chimeCount++] = PlacedSound{glm::vec3(now.iceCubePosition[i]), 1.0f};

    out.thudCount = std::min(impactCount, maxSoundEvents);
    for (int i = 0; i < out.thudCount; ++i)
        out.thuds[i] = PlacedSound{impacts[i].at, std::min(impacts[i].speed / loudestImpact, 1.0f)};

    out.melt =
        before.state.bodyTemperature < temperatureLimit && now.bodyTemperature >= temperatureLimit;
    out.fanfare = now.gameWon && !before.state.gameWon;
    out.rotor = !now.gameWon;
    // Once won, a warm snowman is safe: no sizzle under the fanfare.
    out.heatWarning = playing && inWarningBand(now.bodyTemperature);
}
