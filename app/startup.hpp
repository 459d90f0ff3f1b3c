#pragma once
// Start-up and shutdown: the window, its GL context and the physics world.

struct GLFWwindow;
class btDefaultCollisionConfiguration;
class btCollisionDispatcher;
class btBroadphaseInterface;
class btSequentialImpulseConstraintSolver;
class btDiscreteDynamicsWorld;

extern GLFWwindow* window;

extern btDefaultCollisionConfiguration* gCollisionConfiguration;
extern btCollisionDispatcher* gDispatcher;
extern btBroadphaseInterface* gBroadphase;
extern btSequentialImpulseConstraintSolver* gSolver;
extern btDiscreteDynamicsWorld* gScene;

// Settings, window, GL entry points and state, glyph table, physics world.
// Returns 0, or -1 after printing the one line that says what failed.
int init();

// Creates the physics world with gravity (0, -9.8, 0). Returns false, having
// printed the failure line, when it cannot be allocated.
bool createPhysicsWorld();

// Frees the bodies, the world and its parts, newest first.
void destroyPhysicsWorld();
