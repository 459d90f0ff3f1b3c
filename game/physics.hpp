#pragma once
// The ice cubes' rigid bodies in the Bullet world of app/startup: a floor
// plane and five bodies sharing one box shape, stepped at a fixed 1/60 s.
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include "game/rules.hpp" // iceCubeCount: one body per ice cube
inline constexpr float iceCubeHalfExtent = 0.3f;
inline constexpr float iceCubeFriction = 0.5f;
inline constexpr float iceCubeRestitution = 0.5f;

// Start positions; the index is the ice cube's index everywhere in the game.
inline constexpr glm::vec3 iceCubeStartPositions[iceCubeCount] = {{19.8f, 10.0f, -5.0f},
                                                                  {20.0f, 15.0f, -5.0f},
                                                                  {119.8f, 10.0f, -50.0f},
                                                                  {220.0f, 12.0f, 15.0f},
                                                                  {320.0f, 15.0f, -5.0f}};

// A rigid transform: rotation, then translation.
struct Pose {
    glm::quat q{1.0f, 0.0f, 0.0f, 0.0f}; // glm order: w, x, y, z
    glm::vec3 p{0.0f};
};

// A shape's world pose: rotation actor * shape, position actor applied to the
// shape's offset plus the actor's position.
Pose shapeWorldPose(const Pose& actorPose, const Pose& shapeLocalPose);

// Column-major rotation-and-translation matrix of a pose (unit quaternion).
glm::mat4 poseToMatrix(const Pose& pose);

// Floor and the five bodies, added to gScene in index order; also installs
// the averaging friction and restitution combination. Needs gScene.
void createActors();

// The five bodies back at their start positions, at rest, with no contact
// remembered: a new round drops them again as the first did. Frees and
// allocates nothing.
void resetActors();

// Exactly one 1/60 s step, without interpolation, taken off physicsAccumulator.
void stepPhysics();

// A cube striking the sand or another cube, where it is and how hard: the
// speed the contact took out of it, in units per second.
struct CubeImpact {
    glm::vec3 at{0.0f};
    float speed = 0.0f;
};
inline constexpr int maxCubeImpacts = 2 * iceCubeCount;

// The impacts of the last step; a cube resting or sliding makes none.
int lastStepImpacts(CubeImpact out[maxCubeImpacts]);

// World matrices of the five ice cubes, read from the world's dynamic bodies
// in insertion order. Returns how many were found; the entries past them are
// left as they were, since a missing body has no place in the world.
int readIceCubeMatrices(glm::mat4 out[iceCubeCount]);

// Removes the bodies from gScene when it still exists and frees the bodies
// and shapes. destroyPhysicsWorld calls it before deleting the world.
void destroyActors();
