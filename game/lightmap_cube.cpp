#include "game/lightmap_cube.hpp"

namespace {
// Block bounds in the boulder's model space. The boulder is a ball of radius
// 0.3 about the origin resting on y = -0.3, so the block stands clear of it.
constexpr float x0 = 0.42f, x1 = 0.72f;
constexpr float y0 = -0.3f, y1 = 0.0f;
constexpr float z0 = -0.15f, z1 = 0.15f;
} // namespace

// Two counter-clockwise triangles per face, seen from outside.
const float lightmapCubeVertices[lightmapCubeVertexCount * 8] = {
    // -Z face
    x1, y0, z0, 0, 0, -1, 0, 0,  x0, y0, z0, 0, 0, -1, 1, 0,  x0, y1, z0, 0, 0, -1, 1, 1,
    x0, y1, z0, 0, 0, -1, 1, 1,  x1, y1, z0, 0, 0, -1, 0, 1,  x1, y0, z0, 0, 0, -1, 0, 0,
    // +Z face
    x0, y0, z1, 0, 0, 1, 0, 0,   x1, y0, z1, 0, 0, 1, 1, 0,   x1, y1, z1, 0, 0, 1, 1, 1,
    x1, y1, z1, 0, 0, 1, 1, 1,   x0, y1, z1, 0, 0, 1, 0, 1,   x0, y0, z1, 0, 0, 1, 0, 0,
    // -X face
    x0, y0, z0, -1, 0, 0, 0, 0,  x0, y0, z1, -1, 0, 0, 1, 0,  x0, y1, z1, -1, 0, 0, 1, 1,
    x0, y1, z1, -1, 0, 0, 1, 1,  x0, y1, z0, -1, 0, 0, 0, 1,  x0, y0, z0, -1, 0, 0, 0, 0,
    // +X face
    x1, y0, z1, 1, 0, 0, 0, 0,   x1, y0, z0, 1, 0, 0, 1, 0,   x1, y1, z0, 1, 0, 0, 1, 1,
    x1, y1, z0, 1, 0, 0, 1, 1,   x1, y1, z1, 1, 0, 0, 0, 1,   x1, y0, z1, 1, 0, 0, 0, 0,
    // -Y face
    x0, y0, z0, 0, -1, 0, 0, 0,  x1, y0, z0, 0, -1, 0, 1, 0,  x1, y0, z1, 0, -1, 0, 1, 1,
    x1, y0, z1, 0, -1, 0, 1, 1,  x0, y0, z1, 0, -1, 0, 0, 1,  x0, y0, z0, 0, -1, 0, 0, 0,
    // +Y face
    x0, y1, z1, 0, 1, 0, 0, 0,   x1, y1, z1, 0, 1, 0, 1, 0,   x1, y1, z0, 0, 1, 0, 1, 1,
    x1, y1, z0, 0, 1, 0, 1, 1,   x0, y1, z0, 0, 1, 0, 0, 1,   x0, y1, z1, 0, 1, 0, 0, 0,
};
