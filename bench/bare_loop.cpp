// The floor of a window system: a window like the game's that only clears
// and swaps, for the black-box benchmark to time beside the game.
// Usage: frostmoor-bare-loop [width height]   (default 1024 768)
#include "app/startup.hpp"
#include "game/loop.hpp"

#include <glad/gl.h>
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const int width = argc == 3 ? std::atoi(argv[1]) : 1024;
    const int height = argc == 3 ? std::atoi(argv[2]) : 768;
    if (!glfwInit())
        return 1;
    for (const WindowHint& hint : windowHints(false, nullptr))
        glfwWindowHint(hint.hint, hint.value);
    GLFWwindow* bare = glfwCreateWindow(width, height, "Frostmoor bare loop", nullptr, nullptr);
    if (!bare) {
        std::fprintf(stderr, "frostmoor-bare-loop: no window\n");
        glfwTerminate();
        return 1;
    }
    glfwMakeContextCurrent(bare);
    if (!gladLoadGL(glfwGetProcAddress)) {
        glfwTerminate();
        return 1;
    }
    while (!glfwWindowShouldClose(bare)) {
        glClearColor(skyClearColour.red, skyClearColour.green, skyClearColour.blue,
                     skyClearColour.alpha);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glfwSwapBuffers(bare);
        glfwPollEvents();
    }
    glfwTerminate();
    return 0;
}
