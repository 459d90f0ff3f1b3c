#include "render/frustum.hpp"

#include <algorithm>

Frustum frustumOf(const glm::mat4& m) {
    // Rows of the matrix: clip space keeps -w <= x, y, z <= w.
    const glm::vec4 x(m[0][0], m[1][0], m[2][0], m[3][0]);
    const glm::vec4 y(m[0][1], m[1][1], m[2][1], m[3][1]);
    const glm::vec4 z(m[0][2], m[1][2], m[2][2], m[3][2]);
    const glm::vec4 w(m[0][3], m[1][3], m[2][3], m[3][3]);
    Frustum f;
    f.planes = {w + x, w - x, w + y, w - y, w + z, w - z};
    for (glm::vec4& plane : f.planes)
        plane /= glm::length(glm::vec3(plane));
    return f;
}

Sphere placedSphere(const Sphere& local, const glm::mat4& model) {
    const float scale =
        std::max({glm::length(glm::vec3(model[0])), glm::length(glm::vec3(model[1])),
                  glm::length(glm::vec3(model[2]))});
    return {glm::vec3(model * glm::vec4(local.centre, 1.0f)), local.radius * scale};
}

bool mayBeVisible(const Frustum& frustum, const Sphere& sphere) {
    for (const glm::vec4& plane : frustum.planes)
        if (glm::dot(glm::vec3(plane), sphere.centre) + plane.w < -sphere.radius)
            return false;
    return true;
}
