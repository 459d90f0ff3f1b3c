// Prints the primary monitor's gamma ramp as one line, so that a test can
// tell whether the game left it as it found it.
#include <cstdio>
#include <initializer_list>

#include <GLFW/glfw3.h>

int main() {
    if (glfwInit() != GLFW_TRUE)
        return 1;
    GLFWmonitor* monitor = glfwGetPrimaryMonitor();
    const GLFWgammaramp* ramp = monitor ? glfwGetGammaRamp(monitor) : nullptr;
    if (!ramp)
        return 1;
    for (const unsigned short* channel : {ramp->red, ramp->green, ramp->blue})
        for (unsigned int i = 0; i < ramp->size; ++i)
            std::printf("%u ", channel[i]);
    std::printf("\n");
    // Exits without glfwTerminate, which would write the ramp back.
    return 0;
}
