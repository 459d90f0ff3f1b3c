#pragma once
// The importer gives every face corner its own vertex, so a smooth mesh
// holds each vertex four or five times over. Sent as is, the driver shades
// every copy; a software renderer spends a sixth of its main thread on it.
#include <vector>

#include "render/mesh.hpp"

struct SharedVertices {
    std::vector<Vertex> vertices;      // each distinct record once, in order of first use
    std::vector<unsigned int> indices; // the same triangles, pointing into `vertices`
};

// Merges vertices whose 32 bytes are equal. Every index then names a record
// byte-for-byte equal to the one it named before, so the triangles and the
// picture stay the same. Indices past the end are kept past the end.
SharedVertices shareIdenticalVertices(const std::vector<Vertex>& vertices,
                                      const std::vector<unsigned int>& indices);
