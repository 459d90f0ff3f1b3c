#include "game/rules.hpp"

#include <cmath>

#include "game/loop.hpp"

bool gameEnded = false;
float endTimerAtRoundStart = 0.0f;

float proximityDistance(glm::vec3 object, glm::vec3 player) {
    const glm::vec3 d = object - player;
    const float sumOfSquares = d.x * d.x + d.y * d.y + d.z * d.z;
    return static_cast<float>(std::sqrt(static_cast<double>(sumOfSquares)));
}

// The widening of every reach: 3 units over 100 degrees, in float.
static float reachWidening(float temperature) {
    return temperature / 100.0f * 3.0f;
}

bool nearIceCube(glm::vec3 object, glm::vec3 player, float temperature) {
    return 1.0f + reachWidening(temperature) > proximityDistance(object, player);
}

bool nearObstacle(glm::vec3 object, glm::vec3 player, float temperature) {
    return 1.8 + static_cast<double>(reachWidening(temperature)) >
           static_cast<double>(proximityDistance(object, player));
}

bool nearHelicopter(glm::vec3 object, glm::vec3 player, float temperature) {
    return 3.8 + static_cast<double>(reachWidening(temperature)) >
           static_cast<double>(proximityDistance(object, player));
}

EndText endTextFor(float bodyTemperature, bool gameWon) {
    if (bodyTemperature >= temperatureLimit)
        return EndText::GameOver;
    return gameWon ? EndText::YouWon : EndText::None;
}

EndText checkEndStates(GameState& state) {
    const EndText text = endTextFor(state.bodyTemperature, state.gameWon);
    if (text == EndText::GameOver)
        state.bodyTemperature = temperatureLimit;
    if (text != EndText::None && !paused)
        endTimer += deltaTime;
    return text;
}

bool endScreenOver() {
    return endTimer - endTimerAtRoundStart > endScreenSeconds;
}

void applyHeat(GameState& state) {
    if (!state.gameWon && !paused)
        state.bodyTemperature += heatRate * deltaTime;
}

bool collectIceCube(GameState& state, int i, glm::vec3 playerPosition) {
    if (i < 0 || i >= iceCubeCount || state.iceCubeCollected[i])
        return false;
    if (!nearIceCube(glm::vec3(state.iceCubePosition[i]), playerPosition, state.bodyTemperature))
        return false;
    state.bodyTemperature -= iceCubeCooling;
    state.iceCubeCollected[i] = true;
    return true;
}

void touchObstacle(GameState& state, glm::vec3 position, glm::vec3 playerPosition) {
    if (nearObstacle(position, playerPosition, state.bodyTemperature) && !gameEnded) {
        state.bodyTemperature = temperatureLimit;
        gameEnded = true;
    }
}

bool reachHelicopter(GameState& state, glm::vec3 position, glm::vec3 playerPosition) {
    if (state.gameWon || !nearHelicopter(position, playerPosition, state.bodyTemperature))
        return false;
    state.gameWon = true;
    gameEnded = true;
    return true;
}
