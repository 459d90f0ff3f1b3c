#include "game/path.hpp"

#include <algorithm>
#include <cmath>

#include <glm/gtc/constants.hpp>

void recordPath(Path& path, float roundTime, const PathSample& now) {
    while (path.count < maxPathSamples &&
           static_cast<float>(path.count) / pathSampleRate <= roundTime)
        path.samples[static_cast<std::size_t>(path.count++)] = now;
}

void endPath(Path& path, float roundTime, const PathSample& now) {
    if (path.count > 0 && path.count < maxPathSamples &&
        static_cast<float>(path.count - 1) / pathSampleRate < roundTime)
        path.samples[static_cast<std::size_t>(path.count++)] = now;
}

float headingOf(glm::vec2 from, glm::vec2 to, float previous) {
    const glm::vec2 d = to - from;
    if (d.x == 0.0f && d.y == 0.0f)
        return previous;
    return std::atan2(d.y, d.x);
}

namespace {
// The short way round from a to b.
float turnBetween(float a, float b, float t) {
    float d = std::fmod(b - a, glm::two_pi<float>());
    if (d > glm::pi<float>())
        d -= glm::two_pi<float>();
    else if (d < -glm::pi<float>())
        d += glm::two_pi<float>();
    return a + d * t;
}
} // namespace

PathSample poseAt(const Path& path, float roundTime) {
    if (path.count == 0)
        return PathSample{};
    const float at = std::max(roundTime, 0.0f) * pathSampleRate;
    const int last = path.count - 1;
    if (!(at < static_cast<float>(last))) // also a time that is not a number
        return path.samples[static_cast<std::size_t>(last)];
    const int i = static_cast<int>(at);
    const float t = at - static_cast<float>(i);
    const PathSample& a = path.samples[static_cast<std::size_t>(i)];
    const PathSample& b = path.samples[static_cast<std::size_t>(i + 1)];
    PathSample pose;
    pose.x = a.x + (b.x - a.x) * t;
    pose.z = a.z + (b.z - a.z) * t;
    pose.heading = turnBetween(a.heading, b.heading, t);
    pose.waddle = a.waddle + (b.waddle - a.waddle) * t;
    pose.scale = a.scale + (b.scale - a.scale) * t;
    return pose;
}
