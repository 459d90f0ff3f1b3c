#pragma once
// Where the preview camera stands: pure maths, no GL.
#include <glm/glm.hpp>

struct Bounds {
    glm::vec3 min{1e30f};
    glm::vec3 max{-1e30f};
    void add(glm::vec3 p) {
        min = glm::min(min, p);
        max = glm::max(max, p);
    }
};

// A camera that sees the whole box from the given yaw (degrees, 0 looks
// along +X) and pitch (degrees below the horizon), with a vertical field of
// view of `fovDegrees`.
struct Framing {
    glm::vec3 eye;
    glm::vec3 target;
};
Framing frameBounds(const Bounds& bounds, float yawDegrees, float pitchDegrees, float fovDegrees);
