#include "mesh.hpp"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace assetgen {

namespace {

constexpr float twoPi = glm::two_pi<float>();

// Quad between ring i and ring i + 1 of a grid with `columns` + 1 vertices a row.
void gridTriangles(Mesh& mesh, unsigned first, int rows, int columns) {
    const unsigned stride = static_cast<unsigned>(columns) + 1;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const unsigned a = first + static_cast<unsigned>(r) * stride + static_cast<unsigned>(c);
            const unsigned b = a + stride;
            mesh.triangles.push_back({a, a + 1, b});
            mesh.triangles.push_back({a + 1, b + 1, b});
        }
    }
}

void dropDegenerate(Mesh& mesh) {
    std::erase_if(mesh.triangles, [&](const glm::uvec3& t) {
        const glm::vec3 n = glm::cross(mesh.vertices[t.y].position - mesh.vertices[t.x].position,
                                       mesh.vertices[t.z].position - mesh.vertices[t.x].position);
        return glm::dot(n, n) < 1e-14f;
    });
}

} // namespace

Mesh lathe(const std::vector<ProfilePoint>& profile, int segments) {
    Mesh mesh;
    const int count = static_cast<int>(profile.size());
    // Arc length along the profile for v.
    std::vector<float> arc(profile.size(), 0.0f);
    for (int i = 1; i < count; ++i) {
        arc[i] = arc[i - 1] + std::hypot(profile[i].radius - profile[i - 1].radius,
                                         profile[i].y - profile[i - 1].y);
    }
    const float total = std::max(arc.back(), 1e-6f);
    for (int i = 0; i < count; ++i) {
        // The profile normal: perpendicular to the neighbouring segments that
        // are not zero-length (a repeated point is a crease).
        glm::vec2 tangent{0.0f};
        auto segment = [&](int a, int b) {
            const glm::vec2 d{profile[b].radius - profile[a].radius, profile[b].y - profile[a].y};
            const float len = glm::length(d);
            return len > 1e-6f ? d / len : glm::vec2{0.0f};
        };
        const bool creaseBefore = i > 0 && segment(i - 1, i) == glm::vec2{0.0f};
        const bool creaseAfter = i + 1 < count && segment(i, i + 1) == glm::vec2{0.0f};
        if (i > 0 && !creaseBefore)
            tangent += segment(i - 1, i);
        if (i + 1 < count && !creaseAfter)
            tangent += segment(i, i + 1);
        if (glm::length(tangent) < 1e-6f)
            tangent = {0.0f, 1.0f};
        tangent = glm::normalize(tangent);
        const glm::vec2 n2{tangent.y, -tangent.x}; // outward for a bottom-to-top profile
        for (int s = 0; s <= segments; ++s) {
            const float u = static_cast<float>(s) / static_cast<float>(segments);
            const float a = u * twoPi;
            const float c = std::cos(a), sn = std::sin(a);
            Vertex v;
            v.position = {profile[i].radius * c, profile[i].y, -profile[i].radius * sn};
            v.normal = glm::normalize(glm::vec3{n2.x * c, n2.y, -n2.x * sn});
            v.uv = {u, arc[i] / total};
            mesh.vertices.push_back(v);
        }
    }
    gridTriangles(mesh, 0, count - 1, segments);
    dropDegenerate(mesh);
    return mesh;
}

Mesh sphere(float radius, int segments, int rings) {
    std::vector<ProfilePoint> profile;
    for (int r = 0; r <= rings; ++r) {
        const float a =
            glm::pi<float>() * (static_cast<float>(r) / static_cast<float>(rings) - 0.5f);
        profile.push_back({radius * std::cos(a), radius * std::sin(a)});
    }
    profile.front().radius = 0.0f;
    profile.back().radius = 0.0f;
    Mesh mesh = lathe(profile, segments);
    for (Vertex& v : mesh.vertices)
        v.normal = glm::normalize(v.position);
    return mesh;
}

Mesh cylinder(float radius, float height, int segments, bool capped) {
    std::vector<ProfilePoint> profile;
    if (capped)
        profile.insert(profile.end(), {{0.0f, 0.0f}, {radius, 0.0f}});
    profile.insert(profile.end(), {{radius, 0.0f}, {radius, height}});
    if (capped)
        profile.insert(profile.end(), {{radius, height}, {0.0f, height}});
    return lathe(profile, segments);
}

Mesh cone(float radius, float height, int segments) {
    return lathe({{0.0f, 0.0f}, {radius, 0.0f}, {radius, 0.0f}, {0.0f, height}}, segments);
}

Mesh box(glm::vec3 h) {
    Mesh mesh;
    // Each face: normal, and the two in-plane axes (u, v) with u x v = normal.
    const glm::vec3 axes[6][3] = {
        {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
    };
    for (const auto& face : axes) {
        const unsigned first = static_cast<unsigned>(mesh.vertices.size());
        for (int k = 0; k < 4; ++k) {
            const float su = (k == 1 || k == 2) ? 1.0f : -1.0f;
            const float sv = (k >= 2) ? 1.0f : -1.0f;
            Vertex v;
            v.position = (face[0] + face[1] * su + face[2] * sv) * h;
            v.normal = face[0];
            v.uv = {(su + 1.0f) * 0.5f, (sv + 1.0f) * 0.5f};
            mesh.vertices.push_back(v);
        }
        mesh.triangles.push_back({first, first + 1, first + 2});
        mesh.triangles.push_back({first, first + 2, first + 3});
    }
    return mesh;
}

Mesh torus(float majorRadius, float minorRadius, int majorSegments, int minorSegments) {
    Mesh mesh;
    for (int i = 0; i <= majorSegments; ++i) {
        const float u = static_cast<float>(i) / static_cast<float>(majorSegments);
        const float a = u * twoPi;
        const glm::vec3 out{std::cos(a), 0.0f, -std::sin(a)};
        for (int j = 0; j <= minorSegments; ++j) {
            const float w = static_cast<float>(j) / static_cast<float>(minorSegments);
            const float b = w * twoPi;
            const glm::vec3 n = out * std::cos(b) + glm::vec3{0.0f, -std::sin(b), 0.0f};
            Vertex v;
            v.position = out * majorRadius + n * minorRadius;
            v.normal = n;
            v.uv = {u, w};
            mesh.vertices.push_back(v);
        }
    }
    gridTriangles(mesh, 0, majorSegments, minorSegments);
    return mesh;
}

Mesh tube(const std::vector<glm::vec3>& path, const std::vector<float>& radii, int segments) {
    Mesh mesh;
    const int count = static_cast<int>(path.size());
    // Parallel-transported frame so the tube does not twist.
    const glm::vec3 firstTangent = glm::normalize(path[1] - path[0]);
    glm::vec3 side = std::abs(firstTangent.y) < 0.9f
                         ? glm::normalize(glm::cross(firstTangent, {0, 1, 0}))
                         : glm::normalize(glm::cross(firstTangent, {1, 0, 0}));
    float length = 0.0f;
    for (int i = 0; i < count; ++i) {
        glm::vec3 tangent = i + 1 < count ? path[i + 1] - path[i] : path[i] - path[i - 1];
        if (i > 0 && i + 1 < count)
            tangent = path[i + 1] - path[i - 1];
        tangent = glm::normalize(tangent);
        side = glm::normalize(side - tangent * glm::dot(side, tangent));
        const glm::vec3 up = glm::cross(tangent, side);
        if (i > 0)
            length += glm::distance(path[i], path[i - 1]);
        for (int s = 0; s <= segments; ++s) {
            const float u = static_cast<float>(s) / static_cast<float>(segments);
            const float a = u * twoPi;
            const glm::vec3 n = side * std::cos(a) + up * std::sin(a);
            Vertex v;
            v.position = path[i] + n * radii[i];
            v.normal = n;
            v.uv = {u, length};
            mesh.vertices.push_back(v);
        }
    }
    for (Vertex& v : mesh.vertices)
        v.uv.y /= std::max(length, 1e-6f);
    gridTriangles(mesh, 0, count - 1, segments);
    // End caps as fans around the path's end points.
    auto cap = [&](int ring, bool start) {
        const glm::vec3 centre = path[ring];
        const glm::vec3 n =
            glm::normalize(start ? path[0] - path[1] : path[count - 1] - path[count - 2]);
        const unsigned hub = static_cast<unsigned>(mesh.vertices.size());
        mesh.vertices.push_back({centre, n, {0.5f, start ? 0.0f : 1.0f}});
        const unsigned base = static_cast<unsigned>(mesh.vertices.size());
        for (int s = 0; s <= segments; ++s) {
            Vertex v = mesh.vertices[static_cast<size_t>(ring) * (segments + 1) + s];
            v.normal = n;
            mesh.vertices.push_back(v);
        }
        for (int s = 0; s < segments; ++s) {
            const unsigned a = base + s, b = base + s + 1;
            if (start)
                mesh.triangles.push_back({hub, b, a});
            else
                mesh.triangles.push_back({hub, a, b});
        }
    };
    cap(0, true);
    cap(count - 1, false);
    return mesh;
}

Mesh tetrahedron(float halfExtent) {
    Mesh mesh;
    for (glm::vec3 q :
         {glm::vec3{1, 1, 1}, glm::vec3{1, -1, -1}, glm::vec3{-1, 1, -1}, glm::vec3{-1, -1, 1}})
        mesh.vertices.push_back({q * halfExtent, glm::normalize(q), {0.0f, 0.0f}});
    mesh.triangles = {{0, 2, 3}, {0, 3, 1}, {0, 1, 2}, {1, 3, 2}};
    return mesh;
}

Mesh icosphere(float radius, int levels) {
    const float t = (1.0f + std::sqrt(5.0f)) / 2.0f;
    std::vector<glm::vec3> p = {{-1, t, 0}, {1, t, 0}, {-1, -t, 0}, {1, -t, 0},
                                {0, -1, t}, {0, 1, t}, {0, -1, -t}, {0, 1, -t},
                                {t, 0, -1}, {t, 0, 1}, {-t, 0, -1}, {-t, 0, 1}};
    std::vector<glm::uvec3> f = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11},
                                 {1, 5, 9},  {5, 11, 4}, {11, 10, 2}, {10, 7, 6}, {7, 1, 8},
                                 {3, 9, 4},  {3, 4, 2},  {3, 2, 6},   {3, 6, 8},  {3, 8, 9},
                                 {4, 9, 5},  {2, 4, 11}, {6, 2, 10},  {8, 6, 7},  {9, 8, 1}};
    for (glm::vec3& q : p)
        q = glm::normalize(q);
    for (int l = 0; l < levels; ++l) {
        std::map<std::pair<unsigned, unsigned>, unsigned> middle;
        auto mid = [&](unsigned a, unsigned b) {
            const auto key = std::minmax(a, b);
            auto it = middle.find(key);
            if (it != middle.end())
                return it->second;
            p.push_back(glm::normalize(p[a] + p[b]));
            const unsigned idx = static_cast<unsigned>(p.size() - 1);
            middle[key] = idx;
            return idx;
        };
        std::vector<glm::uvec3> next;
        for (const glm::uvec3& tr : f) {
            const unsigned a = mid(tr.x, tr.y), b = mid(tr.y, tr.z), c = mid(tr.z, tr.x);
            next.insert(next.end(), {{tr.x, a, c}, {tr.y, b, a}, {tr.z, c, b}, {a, b, c}});
        }
        f = std::move(next);
    }
    Mesh mesh;
    for (const glm::vec3& q : p)
        mesh.vertices.push_back({q * radius, q, {0.0f, 0.0f}});
    mesh.triangles = f;
    return mesh;
}

void transform(Mesh& mesh, const glm::mat4& m) {
    const glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(m)));
    const bool mirrored = glm::determinant(glm::mat3(m)) < 0.0f;
    for (Vertex& v : mesh.vertices) {
        v.position = glm::vec3(m * glm::vec4(v.position, 1.0f));
        v.normal = glm::normalize(normalMatrix * v.normal);
    }
    if (mirrored) {
        for (glm::uvec3& t : mesh.triangles)
            std::swap(t.y, t.z);
    }
}

void translate(Mesh& mesh, glm::vec3 offset) {
    transform(mesh, glm::translate(glm::mat4(1.0f), offset));
}

void scale(Mesh& mesh, glm::vec3 factors) {
    transform(mesh, glm::scale(glm::mat4(1.0f), factors));
}

void displace(Mesh& mesh, const std::function<float(glm::vec3)>& f) {
    for (Vertex& v : mesh.vertices)
        v.position += v.normal * f(v.position);
}

void merge(Mesh& into, const Mesh& part) {
    const unsigned base = static_cast<unsigned>(into.vertices.size());
    into.vertices.insert(into.vertices.end(), part.vertices.begin(), part.vertices.end());
    for (const glm::uvec3& t : part.triangles)
        into.triangles.push_back(t + glm::uvec3(base));
}

void smoothNormals(Mesh& mesh) {
    auto key = [](glm::vec3 p) {
        return std::tuple<long, long, long>{std::lround(p.x * 1e4f), std::lround(p.y * 1e4f),
                                            std::lround(p.z * 1e4f)};
    };
    std::map<std::tuple<long, long, long>, glm::vec3> sum;
    for (const glm::uvec3& t : mesh.triangles) {
        const glm::vec3 a = mesh.vertices[t.x].position, b = mesh.vertices[t.y].position,
                        c = mesh.vertices[t.z].position;
        const glm::vec3 n = glm::cross(b - a, c - a); // area weighted
        for (unsigned i : {t.x, t.y, t.z})
            sum[key(mesh.vertices[i].position)] += n;
    }
    for (Vertex& v : mesh.vertices) {
        const auto it = sum.find(key(v.position));
        if (it != sum.end() && glm::length(it->second) > 0.0f)
            v.normal = glm::normalize(it->second);
    }
}

void flatNormals(Mesh& mesh) {
    Mesh flat;
    for (const glm::uvec3& t : mesh.triangles) {
        Vertex a = mesh.vertices[t.x], b = mesh.vertices[t.y], c = mesh.vertices[t.z];
        const glm::vec3 n =
            glm::normalize(glm::cross(b.position - a.position, c.position - a.position));
        a.normal = b.normal = c.normal = n;
        const unsigned base = static_cast<unsigned>(flat.vertices.size());
        flat.vertices.insert(flat.vertices.end(), {a, b, c});
        flat.triangles.push_back({base, base + 1, base + 2});
    }
    mesh = std::move(flat);
}

void sphericalUv(Mesh& mesh, glm::vec3 centre, float uRepeat, float vRepeat) {
    Mesh out;
    for (const glm::uvec3& t : mesh.triangles) {
        Vertex tri[3] = {mesh.vertices[t.x], mesh.vertices[t.y], mesh.vertices[t.z]};
        float us[3];
        for (int k = 0; k < 3; ++k) {
            const glm::vec3 d = glm::normalize(tri[k].position - centre);
            us[k] = (std::atan2(-d.z, d.x) / twoPi) + 0.5f;
            tri[k].uv.y =
                (std::asin(glm::clamp(d.y, -1.0f, 1.0f)) / glm::pi<float>() + 0.5f) * vRepeat;
        }
        const float maxU = std::max({us[0], us[1], us[2]});
        for (int k = 0; k < 3; ++k) {
            if (maxU - us[k] > 0.5f)
                us[k] += 1.0f;
            tri[k].uv.x = us[k] * uRepeat;
        }
        const unsigned base = static_cast<unsigned>(out.vertices.size());
        out.vertices.insert(out.vertices.end(), {tri[0], tri[1], tri[2]});
        out.triangles.push_back({base, base + 1, base + 2});
    }
    mesh = std::move(out);
}

} // namespace assetgen
