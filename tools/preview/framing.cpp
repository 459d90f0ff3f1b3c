#include "framing.hpp"

#include <cmath>

Framing frameBounds(const Bounds& bounds, float yawDegrees, float pitchDegrees, float fovDegrees) {
    const glm::vec3 centre = (bounds.min + bounds.max) * 0.5f;
    const float radius = glm::length(bounds.max - bounds.min) * 0.5f;
    const float yaw = glm::radians(yawDegrees), pitch = glm::radians(pitchDegrees);
    const glm::vec3 look{std::cos(pitch) * std::cos(yaw), -std::sin(pitch),
                         std::cos(pitch) * std::sin(yaw)};
    const float distance = radius / std::sin(glm::radians(fovDegrees) * 0.5f) * 1.05f;
    return {centre - look * distance, centre};
}
