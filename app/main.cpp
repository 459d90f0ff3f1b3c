#include "app/camera.hpp"
#include "app/startup.hpp"
#include "game/loop.hpp"

#include <GLFW/glfw3.h>

#include <chrono>
#include <thread>

int main() {
    if (init() != 0) {
        // Leave the message on screen a moment before the console closes.
        std::this_thread::sleep_until(std::chrono::steady_clock::now() + std::chrono::seconds(2));
        return -1;
    }
    glfwSetCursorPosCallback(window, mouseCallback);
    gameLoop();
    shutDown();
    return 0;
}
