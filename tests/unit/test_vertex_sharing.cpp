// Equal vertices sent once: the triangles must name the same records as before.
#include <gtest/gtest.h>

#include <cstring>

#include "render/vertex_sharing.hpp"

TEST(VertexSharing, EachIndexStillNamesAnEqualRecord) {
    const Vertex a{{0, 0, 0}, {0, 1, 0}, {0, 0}};
    const Vertex b{{1, 0, 0}, {0, 1, 0}, {1, 0}};
    const Vertex c{{0, 0, 1}, {0, 1, 0}, {0, 1}};
    Vertex minusZero = a;
    minusZero.position.x = -0.0f; // equal as a number, not as bytes: kept apart
    // At a's place but not a: a texture seam and a hard edge.
    Vertex seam = a, crease = a;
    seam.texCoord = {1, 1};
    crease.normal = {1, 0, 0};
    const std::vector<Vertex> corners{a, b, c, c, b, a, minusZero, a, b, seam, crease, seam};
    const std::vector<unsigned int> indices{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 40};

    const SharedVertices shared = shareIdenticalVertices(corners, indices);

    ASSERT_EQ(shared.vertices.size(), 6u);
    EXPECT_EQ(shared.vertices[0].texCoord, a.texCoord) << "first use keeps its place";
    EXPECT_EQ(shared.vertices[3].position.x, -0.0f);
    ASSERT_EQ(shared.indices.size(), indices.size());
    for (std::size_t i = 0; i + 1 < indices.size(); ++i)
        EXPECT_EQ(
            std::memcmp(&shared.vertices[shared.indices[i]], &corners[indices[i]], sizeof(Vertex)),
            0)
            << "index " << i;
    EXPECT_GE(shared.indices.back(), shared.vertices.size()) << "a bad index stays bad";
}
