#pragma once
// The snowman's walk through a round, sampled at a fixed rate of round
// time, so that a later round can replay the best one as a ghost. Fixed
// storage: recording allocates nothing.
#include <array>

#include <glm/glm.hpp>

inline constexpr float pathSampleRate = 20.0f; // samples a second
inline constexpr int maxPathSamples = 2400;    // two minutes, ample for a round

struct PathSample {
    float x = 0.0f, z = 0.0f; // the snowman stands on y = 0
    float heading = 0.0f;     // radians from +X towards +Z, the way he last walked;
                              // kept in the file, though he is drawn unturned
    float waddle = 0.0f;      // the hat's rock, radians
    float scale = 1.0f;       // his size, which the heat shrinks
};

struct Path {
    std::array<PathSample, maxPathSamples> samples;
    int count = 0;
};

// Takes a sample for every sample time up to roundTime not yet taken, all
// with the pose of now; a full path keeps its first two minutes.
void recordPath(Path& path, float roundTime, const PathSample& now);

// The round's last sample, at the moment it ended: the fixed rate may have
// taken the one before up to a twentieth of a second earlier, and the ghost
// should stop where the run did.
void endPath(Path& path, float roundTime, const PathSample& now);

// The way from one place to the next, or the old heading when he stood.
float headingOf(glm::vec2 from, glm::vec2 to, float previous);

// The pose roundTime seconds into the path: in a straight line between
// samples, the last one after the end (the ghost waits at the helicopter).
// An empty path gives the default pose.
PathSample poseAt(const Path& path, float roundTime);
