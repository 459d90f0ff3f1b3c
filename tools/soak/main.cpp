// The game as it runs, for a soak of many minutes: the same start-up, set-up
// and frames as the game, with two differences. The snowman never warms up
// (his temperature is held at 0 before every frame, so no heat loss ends the
// run), and every OpenGL error the driver reports is printed as one line
// "GL error: <message>", so that the soak can fail on it. Escape ends it with
// status 0, like the game.
#include "app/camera.hpp"
#include "app/startup.hpp"
#include "game/loop.hpp"
#include "game/setup.hpp"

#include <glad/gl.h>
#include <GLFW/glfw3.h>

#include <iostream>

namespace {
void GLAPIENTRY printGlError(GLenum, GLenum type, GLuint, GLenum, GLsizei, const GLchar* message,
                             const void*) {
    if (type == GL_DEBUG_TYPE_ERROR)
        std::cout << "GL error: " << message << std::endl;
}
} // namespace

int main() {
    if (init() != 0)
        return -1;
    // The game's context is a debug context, so the driver reports at once.
    glEnable(GL_DEBUG_OUTPUT);
    glEnable(GL_DEBUG_OUTPUT_SYNCHRONOUS);
    glDebugMessageCallback(printGlError, nullptr);
    glfwSetCursorPosCallback(window, mouseCallback);

    LoopHooks hooks;
    hooks.beforeFrame = [](Scene& scene) { scene.state.bodyTemperature = 0.0f; };
    gameLoop(hooks);
    shutDown();
    return 0;
}
