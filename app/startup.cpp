#include "app/startup.hpp"

#include "app/camera.hpp"
#include "app/keyboard.hpp"
#include "app/settings.hpp"
#include "app/software_renderer.hpp"
#include "game/physics.hpp"
#include "render/text.hpp"

#include <glad/gl.h>
#include <GLFW/glfw3.h>
#include <btBulletDynamicsCommon.h>

#include <iostream>
#include <new>
#include <vector>

GLFWwindow* window = nullptr;

btDefaultCollisionConfiguration* gCollisionConfiguration = nullptr;
btCollisionDispatcher* gDispatcher = nullptr;
btBroadphaseInterface* gBroadphase = nullptr;
btSequentialImpulseConstraintSolver* gSolver = nullptr;
btDiscreteDynamicsWorld* gScene = nullptr;

namespace {
// The monitor's gamma ramp from before full screen changed it, put back when
// start-up fails: on X11 a changed ramp outlives the process.
struct SavedGamma {
    GLFWmonitor* monitor = nullptr;
    std::vector<unsigned short> red, green, blue;
};
SavedGamma savedGamma;

void setGamma(GLFWmonitor* monitor) {
    if (const GLFWgammaramp* ramp = glfwGetGammaRamp(monitor)) {
        savedGamma.monitor = monitor;
        savedGamma.red.assign(ramp->red, ramp->red + ramp->size);
        savedGamma.green.assign(ramp->green, ramp->green + ramp->size);
        savedGamma.blue.assign(ramp->blue, ramp->blue + ramp->size);
    }
    glfwSetGamma(monitor, brightness);
}

void restoreGamma() {
    if (savedGamma.monitor == nullptr)
        return;
    GLFWgammaramp ramp{savedGamma.red.data(), savedGamma.green.data(), savedGamma.blue.data(),
                       static_cast<unsigned int>(savedGamma.red.size())};
    glfwSetGammaRamp(savedGamma.monitor, &ramp);
    // X buffers the request, and nothing else is sent before the process
    // ends; reading the ramp back is a round trip that delivers it.
    glfwGetGammaRamp(savedGamma.monitor);
}

// The file's window size, kept for a return from full screen.
int windowedWidth = 1024, windowedHeight = 768;

// The failure paths after the window exists: the line has been printed.
int failed() {
    restoreGamma();
    return -1;
}

int fail(const char* line) {
    std::cout << line << std::endl;
    return failed();
}

GLFWwindow* createWindow(GLFWmonitor* monitor, const GLFWvidmode* mode) {
    if (!fullscreen) {
        // GLFW asserts on a negative size instead of failing; refuse it here
        // so that a bad settings file ends in the ordinary window failure.
        if (screenWidth <= 0 || screenHeight <= 0)
            return nullptr;
        return glfwCreateWindow(screenWidth, screenHeight, windowTitle.c_str(), nullptr, nullptr);
    }

    // Full screen takes the monitor's current mode, so no mode switch is asked
    // for and the picture keeps the monitor's real aspect ratio.
    if (!monitor)
        return nullptr;
    setGamma(monitor);
    if (!mode)
        return nullptr;
    return glfwCreateWindow(mode->width, mode->height, windowTitle.c_str(), monitor, nullptr);
}
} // namespace

WindowHints windowHints(bool fullscreenWindow, const GLFWvidmode* mode) {
    WindowHints hints{{{GLFW_CONTEXT_VERSION_MAJOR, 4},
                       {GLFW_CONTEXT_VERSION_MINOR, 3},
                       {GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE},
                       {GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE},
                       {GLFW_RESIZABLE, GLFW_FALSE},
                       // Nothing uses a stencil buffer; without one a software
                       // renderer writes plain depth values, not masked ones.
                       {GLFW_STENCIL_BITS, 0},
                       {GLFW_REFRESH_RATE, 60}}};
    if (fullscreenWindow && mode) {
        // The monitor's own rate and colour depth: GLFW would otherwise
        // switch a 120 or 144 Hz monitor down to 60 Hz.
        hints.back().value = mode->refreshRate;
        hints.push_back({GLFW_RED_BITS, mode->redBits});
        hints.push_back({GLFW_GREEN_BITS, mode->greenBits});
        hints.push_back({GLFW_BLUE_BITS, mode->blueBits});
    }
    return hints;
}

bool createPhysicsWorld() {
    try {
        gCollisionConfiguration = new btDefaultCollisionConfiguration();
        gDispatcher = new btCollisionDispatcher(gCollisionConfiguration);
        gBroadphase = new btDbvtBroadphase();
        gSolver = new btSequentialImpulseConstraintSolver();
        gScene =
            new btDiscreteDynamicsWorld(gDispatcher, gBroadphase, gSolver, gCollisionConfiguration);
        gScene->setGravity(btVector3(0.0f, -9.8f, 0.0f));
    } catch (const std::bad_alloc&) {
        std::cout << "Failed to init physics world" << std::endl;
        return false;
    }
    return true;
}

void destroyPhysicsWorld() {
    destroyActors();
    delete gScene;
    gScene = nullptr;
    delete gSolver;
    gSolver = nullptr;
    delete gBroadphase;
    gBroadphase = nullptr;
    delete gDispatcher;
    gDispatcher = nullptr;
    delete gCollisionConfiguration;
    gCollisionConfiguration = nullptr;
}

int init() {
    if (loadSettings("settings.ini") < 0)
        return -1;
    camera.mouseSensitivity = lookSensitivity;
    soundOn = soundAtStart;
    showFps = showFpsAtStart;
    // A size no window can have (full screen ignores it) gives the default
    // for a return to a window.
    windowedWidth = screenWidth > 0 && screenHeight > 0 ? screenWidth : 1024;
    windowedHeight = screenWidth > 0 && screenHeight > 0 ? screenHeight : 768;

    tuneSoftwareRenderer();
    glfwInit();
    GLFWmonitor* monitor = fullscreen ? glfwGetPrimaryMonitor() : nullptr;
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    for (const WindowHint& hint : windowHints(fullscreen, mode))
        glfwWindowHint(hint.hint, hint.value);

    window = createWindow(monitor, mode);
    if (!window) {
        std::cout << "Failed to create GLFW window" << std::endl;
        restoreGamma();
        glfwTerminate();
        return -1;
    }
    glfwMakeContextCurrent(window);
    glfwSetInputMode(window, GLFW_CURSOR, GLFW_CURSOR_DISABLED);

    if (gladLoadGL(glfwGetProcAddress) == 0 || !glGetString || !glGetString(GL_VERSION))
        return fail("Failed to initialize GLAD");

    if (fullscreen) {
        // The projection and the text placement follow the real picture size.
        glfwGetFramebufferSize(window, &screenWidth, &screenHeight);
    }

    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

    if (buildGlyphTable() != 0)
        return failed();

    if (!createPhysicsWorld())
        return failed();
    return 0;
}

void applyWindowMode() {
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWvidmode* mode = monitor ? glfwGetVideoMode(monitor) : nullptr;
    if (fullscreen && mode) {
        if (glfwGetWindowMonitor(window) == nullptr)
            glfwSetWindowMonitor(window, monitor, 0, 0, mode->width, mode->height,
                                 mode->refreshRate);
        if (savedGamma.monitor == nullptr)
            setGamma(monitor);
        else
            glfwSetGamma(monitor, brightness);
    } else {
        if (glfwGetWindowMonitor(window) != nullptr)
            glfwSetWindowMonitor(window, nullptr, 0, 0, windowedWidth, windowedHeight, 0);
        restoreGamma();
        savedGamma.monitor = nullptr;
    }
    followPictureSize();
}

bool followPictureSize() {
    // The projection, the texts and the viewport follow the picture's size.
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    if (width <= 0 || height <= 0 || (width == screenWidth && height == screenHeight))
        return false;
    screenWidth = width;
    screenHeight = height;
    glViewport(0, 0, width, height);
    return true;
}

void shutDown() {
    destroyPhysicsWorld();
    glfwTerminate();
}
