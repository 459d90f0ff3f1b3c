// The window hints: full screen must not switch the monitor's video mode.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include "app/startup.hpp"

namespace {
int valueOf(const WindowHints& hints, int hint) {
    for (const WindowHint& h : hints)
        if (h.hint == hint)
            return h.value;
    return GLFW_DONT_CARE;
}
} // namespace

TEST(WindowHints, FullScreenKeepsTheMonitorsRateAndColourDepth) {
    const GLFWvidmode monitor{2560, 1440, 10, 10, 10, 144};

    for (const WindowHints& plain : {windowHints(false, &monitor), windowHints(true, nullptr)}) {
        EXPECT_EQ(valueOf(plain, GLFW_REFRESH_RATE), 60);
        EXPECT_EQ(valueOf(plain, GLFW_RED_BITS), GLFW_DONT_CARE);
        EXPECT_EQ(valueOf(plain, GLFW_OPENGL_DEBUG_CONTEXT), GLFW_TRUE);
        EXPECT_EQ(valueOf(plain, GLFW_RESIZABLE), GLFW_FALSE);
    }

    const WindowHints full = windowHints(true, &monitor);
    EXPECT_EQ(valueOf(full, GLFW_REFRESH_RATE), 144);
    EXPECT_EQ(valueOf(full, GLFW_RED_BITS), 10);
    EXPECT_EQ(valueOf(full, GLFW_GREEN_BITS), 10);
    EXPECT_EQ(valueOf(full, GLFW_BLUE_BITS), 10);
    EXPECT_EQ(valueOf(full, GLFW_CONTEXT_VERSION_MAJOR), 4);
    EXPECT_EQ(valueOf(full, GLFW_CONTEXT_VERSION_MINOR), 3);
    EXPECT_EQ(valueOf(full, GLFW_OPENGL_PROFILE), GLFW_OPENGL_CORE_PROFILE);
}
