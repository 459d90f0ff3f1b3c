#pragma once
// Body temperature, ice cubes, obstacles and the helicopter: the rules the
// frame applies at its fixed points. No GL here, so the tests reach it all.
#include <glm/glm.hpp>

// Set by a cactus or larva touch and by the win; freezes movement.
extern bool gameEnded;

// endTimer as this round began: endTimer itself counts the end texts of the
// whole run, and each round's end screen lasts its own four seconds.
extern float endTimerAtRoundStart;

inline constexpr int iceCubeCount = 5;
inline constexpr float heatRate = 3.0f;        // degrees per second
inline constexpr float iceCubeCooling = 15.0f; // degrees per cube
inline constexpr float temperatureLimit = 100.0f;
inline constexpr float endScreenSeconds = 4.0f;
inline constexpr float warningTemperature = 80.0f;

// The state the scene set-up creates and the frame loop owns.
struct GameState {
    float bodyTemperature = 0.0f;
    bool iceCubeCollected[iceCubeCount] = {};
    bool gameWon = false;
    glm::vec4 iceCubePosition[iceCubeCount] = {}; // refreshed from physics each frame
};

enum class EndText { None, GameOver, YouWon };

// Euclidean distance: differences and squares in float, the root in double.
float proximityDistance(glm::vec3 object, glm::vec3 player);

// Reach tests; every reach widens by 3 units over the 100 degrees, and each
// comparison is strict. The ice cube's reach is summed in float and the
// others' in double, as the game has always done: right at the edge of a
// reach the two round differently, and the tests pin each edge where it was.
bool nearIceCube(glm::vec3 object, glm::vec3 player, float temperature);
bool nearObstacle(glm::vec3 object, glm::vec3 player, float temperature);
bool nearHelicopter(glm::vec3 object, glm::vec3 player, float temperature);

// The melting warning's band: above 80 and below the limit.
inline bool inWarningBand(float bodyTemperature) {
    return bodyTemperature > warningTemperature && bodyTemperature < temperatureLimit;
}

// Which end text a state shows; "Game Over" has priority over a win.
EndText endTextFor(float bodyTemperature, bool gameWon);

// Loss and win check: clamps a loss to the limit and, while an end text is
// shown and the game is not paused, adds deltaTime to endTimer. Returns the
// text to draw.
EndText checkEndStates(GameState& state);

// True once this round's end text has been shown for longer than the end
// screen lasts.
bool endScreenOver();

// Heat of one frame; stops once the game is won, and while it is paused.
void applyHeat(GameState& state);

// Ice cube i at its iceCubePosition: taken once, cooling the snowman. Returns
// true when it was taken by this call.
bool collectIceCube(GameState& state, int i, glm::vec3 playerPosition);

// A cactus or larva at position: a touch sets the limit and ends the game.
void touchObstacle(GameState& state, glm::vec3 position, glm::vec3 playerPosition);

// The helicopter at position: reaching it wins. Does nothing once won (the
// frame stops drawing the helicopter then). Returns true when it wins now.
bool reachHelicopter(GameState& state, glm::vec3 position, glm::vec3 playerPosition);
