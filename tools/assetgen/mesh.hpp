#pragma once
// A tiny triangle-mesh toolkit: primitives, deformers and normal builders
// that the model generators compose into the game's props.
#include <functional>
#include <vector>

#include <glm/glm.hpp>

namespace assetgen {

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec2 uv{0.0f};
};

struct Mesh {
    std::vector<Vertex> vertices;
    std::vector<glm::uvec3> triangles; // counter-clockwise seen from outside
};

// Profile point of a lathe: distance from the Y axis and height.
struct ProfilePoint {
    float radius;
    float y;
};

// Revolves a profile (bottom to top) about +Y. Normals follow the profile;
// repeat a point to get a crease. u runs around, v along the profile.
Mesh lathe(const std::vector<ProfilePoint>& profile, int segments);
Mesh sphere(float radius, int segments, int rings);
Mesh cylinder(float radius, float height, int segments, bool capped = true); // y in [0, height]
Mesh cone(float radius, float height, int segments);                         // apex at +height
Mesh box(glm::vec3 halfExtent); // flat faces, uv 0..1 per face
Mesh torus(float majorRadius, float minorRadius, int majorSegments, int minorSegments);
// A round tube through the points of a path, radius per point, open ends
// closed by a cap at the first and last point.
Mesh tube(const std::vector<glm::vec3>& path, const std::vector<float>& radii, int segments);
Mesh tetrahedron(float halfExtent); // 4 triangles, on alternate corners of a cube
// The icosphere, subdivided `levels` times (20 * 4^levels triangles).
Mesh icosphere(float radius, int levels);

void transform(Mesh& mesh, const glm::mat4& matrix);
void translate(Mesh& mesh, glm::vec3 offset);
void scale(Mesh& mesh, glm::vec3 factors);
// Moves every vertex along its normal by f(position).
void displace(Mesh& mesh, const std::function<float(glm::vec3)>& f);
void merge(Mesh& into, const Mesh& part);
// Per-vertex normals averaged over all triangles meeting at one position,
// so texture seams stay invisible.
void smoothNormals(Mesh& mesh);
// One normal per triangle: every triangle gets three vertices of its own.
void flatNormals(Mesh& mesh);
// Spherical u (azimuth about Y) and v (height) mapping about a centre;
// triangles straddling the wrap are given u beyond 1 so they do not smear.
void sphericalUv(Mesh& mesh, glm::vec3 centre, float uRepeat, float vRepeat);

} // namespace assetgen
