#pragma once
// The snowman's position and the waddle of his hat, moved by W, A, S, D.
#include <glm/glm.hpp>

extern glm::vec3 playerPosition;
extern const glm::vec3 playerForward; // W; S is its negative
extern const glm::vec3 playerRight;   // D; A is its negative
extern bool playerMoved;
extern float waddleAngle; // radians
extern bool waddleRising;

inline constexpr float playerSpeed = 10.0f;

// The snowman back at the origin with his hat upright, for a new round.
void resetPlayer();

// The movement block: moves the camera and the snowman by this frame's
// deltaTime and swings the waddle. The caller skips it once the game ended.
void moveSnowman(bool w, bool s, bool a, bool d);

// The same block for a stick: forward and right are each -1 to 1 of the
// keys' pace, and any move swings the waddle.
void walkSnowman(float forward, float right);
