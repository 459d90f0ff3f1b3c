#pragma once
// The lit props of one frame in drawing order: ice cubes, cacti, larvae, the
// hat and the helicopter. Planning them runs the collection, touch and reach
// rules at the points where the frame tests them; no GL here.
#include <array>

#include <glm/glm.hpp>

#include "game/path.hpp"
#include "game/rules.hpp"
#include "game/scatter.hpp"

enum class Prop { IceCube, Cactus, Larva, Hat, Helicopter };

inline constexpr glm::vec3 helicopterPosition{400.0f, 0.0f, 50.0f};

struct PropDraw {
    Prop prop = Prop::IceCube;
    glm::mat4 model{1.0f};
};

inline constexpr int maxPropDraws = iceCubeCount + scatterCount + 2;

// Fixed storage, refilled every frame without allocating.
struct PropPlan {
    std::array<PropDraw, maxPropDraws> draws;
    int count = 0;
};

// cubes holds the world matrices of the first cubesFound ice-cube bodies. A
// cube whose body is missing is absent: neither collected nor drawn. A
// collected cube is no longer drawn; the helicopter is drawn up to and
// including the frame in which it is reached.
void planProps(GameState& state, const glm::mat4 cubes[], int cubesFound, glm::vec3 player,
               float waddle, PropPlan& out);

// T(p) R(waddle, X) S(f) T(3, 1, 0.5): the hat rocks, the body does not.
glm::mat4 hatMatrix(glm::vec3 playerPos, float waddle, float bodyTemperature);

// The ghost's body and hat at a pose of the best run, drawn as the snowman
// was: he never turns, so neither does his ghost.
glm::mat4 ghostBodyMatrix(const PathSample& pose);
glm::mat4 ghostHatMatrix(const PathSample& pose);
