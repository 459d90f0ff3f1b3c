#pragma once
// The stone block drawn beside the boulder by the light-map pass.

inline constexpr int lightmapCubeVertexCount = 36;

// 36 vertices of 8 floats (position, normal, texture coordinate), in the
// boulder's model space: a block on the ground (y = -0.3) beside the boulder.
extern const float lightmapCubeVertices[lightmapCubeVertexCount * 8];
