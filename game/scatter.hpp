#pragma once
// Where the cacti and larvae stand: a generator rebuilt with the same seed
// every frame, so they stand at the same places in every frame and run.
#include <array>

#include <glm/glm.hpp>

inline constexpr int cactusCount = 50;
inline constexpr int larvaCount = 20;
inline constexpr int scatterCount = cactusCount + larvaCount;
inline constexpr unsigned scatterSeed = 300;

using ScatterPositions = std::array<glm::vec3, scatterCount>;

// The cacti first, then the larvae, each at (b, 0.2, a) from the draws a then
// b of a uniform float over [-200, 300).
ScatterPositions scatterPositions();
