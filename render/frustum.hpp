#pragma once
// The view volume as six planes, for leaving out draws that could not put a
// pixel on screen. A software renderer shades every vertex it is sent, seen
// or not; the picture is the same without them.
#include <array>

#include <glm/glm.hpp>

struct Frustum {
    // Left, right, bottom, top, near, far; inside where dot(plane, (p, 1)) >= 0.
    std::array<glm::vec4, 6> planes{};
};

// The planes of projection * view, in world space.
Frustum frustumOf(const glm::mat4& projectionView);

// A bounding sphere, carried through a placement: the centre moves with it
// and the radius grows by its largest axis scale.
struct Sphere {
    glm::vec3 centre{0.0f};
    float radius = 0.0f;
};
Sphere placedSphere(const Sphere& local, const glm::mat4& model);

// False only when the sphere lies wholly outside one plane.
bool mayBeVisible(const Frustum& frustum, const Sphere& sphere);
