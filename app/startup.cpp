#include "app/startup.hpp"

#include "app/settings.hpp"
#include "game/physics.hpp"
#include "render/text.hpp"

#include <glad/gl.h>
#include <GLFW/glfw3.h>
#include <btBulletDynamicsCommon.h>

#include <iostream>
#include <new>

GLFWwindow* window = nullptr;

btDefaultCollisionConfiguration* gCollisionConfiguration = nullptr;
btCollisionDispatcher* gDispatcher = nullptr;
btBroadphaseInterface* gBroadphase = nullptr;
btSequentialImpulseConstraintSolver* gSolver = nullptr;
btDiscreteDynamicsWorld* gScene = nullptr;

namespace {
int fail(const char* line) {
    std::cout << line << std::endl;
    return -1;
}

GLFWwindow* createWindow() {
    if (!fullscreen) {
        // GLFW asserts on a negative size instead of failing; refuse it here
        // so that a bad settings file ends in the ordinary window failure.
        if (screenWidth <= 0 || screenHeight <= 0)
            return nullptr;
        return glfwCreateWindow(screenWidth, screenHeight, windowTitle.c_str(), nullptr, nullptr);
    }

    // Full screen takes the monitor's current mode, so no mode switch is asked
    // for and the picture keeps the monitor's real aspect ratio.
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    if (!monitor)
        return nullptr;
    glfwSetGamma(monitor, brightness);
    const GLFWvidmode* mode = glfwGetVideoMode(monitor);
    if (!mode)
        return nullptr;
    return glfwCreateWindow(mode->width, mode->height, windowTitle.c_str(), monitor, nullptr);
}
} // namespace

bool createPhysicsWorld() {
    try {
        gCollisionConfiguration = new btDefaultCollisionConfiguration();
        gDispatcher = new btCollisionDispatcher(gCollisionConfiguration);
        gBroadphase = new btDbvtBroadphase();
        gSolver = new btSequentialImpulseConstraintSolver();
        gScene = new btDiscreteDynamicsWorld(gDispatcher, gBroadphase, gSolver,
                                             gCollisionConfiguration);
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

    glfwInit();
    glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, 4);
    glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, 3);
    glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
    glfwWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    glfwWindowHint(GLFW_REFRESH_RATE, 60);

    window = createWindow();
    if (!window) {
        std::cout << "Failed to create GLFW window" << std::endl;
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
        return -1;

    if (!createPhysicsWorld())
        return -1;
    return 0;
}
