#pragma once
// Start-up and shutdown: the window, its GL context and the physics world.

#include <vector>

struct GLFWwindow;
struct GLFWvidmode;
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

struct WindowHint {
    int hint;
    int value;
};
using WindowHints = std::vector<WindowHint>;

// The window hints, in the order they are given: a 4.3 core debug context
// that cannot be resized, with no stencil buffer, at 60 Hz. A full-screen
// window takes the refresh rate and colour bits of the monitor's current mode
// instead, so that no mode switch is asked for.
WindowHints windowHints(bool fullscreen, const GLFWvidmode* mode);

// Settings, window, GL entry points and state, glyph table, physics world.
// Returns 0, or -1 after printing the one line that says what failed; a
// monitor gamma set for full screen is then put back as it was.
int init();

// Creates the physics world with gravity (0, -9.8, 0). Returns false, having
// printed the failure line, when it cannot be allocated.
bool createPhysicsWorld();

// Frees the bodies, the world and its parts, newest first.
void destroyPhysicsWorld();

// Full screen on the primary monitor or back to the file's window size, as
// the setting now says, with the monitor's gamma set from the brightness or
// put back; the picture's size goes to screenWidth and screenHeight and the
// viewport.
void applyWindowMode();

// The picture's size into screenWidth, screenHeight and the viewport, when
// it has changed: a window manager may carry out a switch frames later.
// True when it changed.
bool followPictureSize();

// The end of every run that init() began, in the game and in the tools that
// drive it: the physics world, then the window and the window library.
void shutDown();
