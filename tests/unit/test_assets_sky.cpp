// The six sky-box faces: what the cube-map upload expects, and no seams
// where two faces meet when sampled the way OpenGL samples a cube map.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include <glm/glm.hpp>
#include <gtest/gtest.h>
#include <stb/stb_image.h>

namespace {

// In the game's load order: +X, -X, +Y, -Y, +Z, -Z.
const std::array<const char*, 6> faceFiles = {"sahara_lf", "sahara_rt", "sahara_up",
                                              "sahara_dn", "sahara_ft", "sahara_bk"};

struct Face {
    int size = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels{nullptr, stbi_image_free};
    glm::ivec3 at(int column, int row) const {
        const unsigned char* p = pixels.get() + (static_cast<size_t>(row) * size + column) * 3;
        return {p[0], p[1], p[2]};
    }
};

// OpenGL's cube-map table: for face f, the (sc, tc, ma) of a direction.
glm::vec3 faceCoordinates(int face, glm::vec3 r) {
    switch (face) {
    case 0:
        return {-r.z, -r.y, r.x};
    case 1:
        return {r.z, -r.y, r.x};
    case 2:
        return {r.x, r.z, r.y};
    case 3:
        return {r.x, -r.z, r.y};
    case 4:
        return {r.x, -r.y, r.z};
    default:
        return {-r.x, -r.y, r.z};
    }
}

// The inverse: the direction of a point (sc, tc) of a face.
glm::vec3 faceDirection(int face, float sc, float tc) {
    const float sign = face % 2 == 0 ? 1.0f : -1.0f;
    switch (face) {
    case 0:
        return {sign, -tc, -sc};
    case 1:
        return {sign, -tc, sc};
    case 2:
        return {sc, sign, tc};
    case 3:
        return {sc, sign, -tc};
    case 4:
        return {sc, -tc, sign};
    default:
        return {-sc, -tc, sign};
    }
}

int faceAxis(int face) {
    return face / 2;
}

} // namespace

TEST(SkyBox, SixEqualSquareRgbFacesThatJoinWithoutSeams) {
    std::array<Face, 6> faces;
    for (int f = 0; f < 6; ++f) {
        SCOPED_TRACE(faceFiles[f]);
        const std::string path =
            std::string(FROSTMOOR_ASSET_DIR) + "/objects/skybox/" + faceFiles[f] + ".tga";
        int w = 0, h = 0;
        faces[f].pixels.reset(stbi_load(path.c_str(), &w, &h, &faces[f].channels, 0));
        ASSERT_NE(faces[f].pixels, nullptr) << path;
        EXPECT_EQ(faces[f].channels, 3);
        ASSERT_EQ(w, h);
        ASSERT_GE(w, 512);
        faces[f].size = w;
        ASSERT_EQ(faces[f].size, faces[0].size);
    }
    const int n = faces[0].size;

    // The inverse agrees with the table on every face.
    for (int f = 0; f < 6; ++f) {
        const glm::vec3 back = faceCoordinates(f, faceDirection(f, 0.3f, -0.7f));
        EXPECT_NEAR(back.x / std::abs(back.z), 0.3f, 1e-6f);
        EXPECT_NEAR(back.y / std::abs(back.z), -0.7f, 1e-6f);
        EXPECT_GT(back.z * (f % 2 == 0 ? 1.0f : -1.0f), 0.0f);
    }

    // Walk the border of every face; at each border texel take the point on
    // the cube edge and look it up in the face across that edge.
    int compared = 0;
    double totalDifference = 0.0;
    int worst = 0;
    for (int f = 0; f < 6; ++f) {
        for (int side = 0; side < 4; ++side) {
            for (int k = 0; k < n; ++k) {
                const float along =
                    2.0f * (static_cast<float>(k) + 0.5f) / static_cast<float>(n) - 1.0f;
                const float edge = side % 2 == 0 ? -1.0f : 1.0f;
                const float sc = side < 2 ? edge : along;
                const float tc = side < 2 ? along : edge;
                const int column = side < 2 ? (edge < 0.0f ? 0 : n - 1) : k;
                const int row = side < 2 ? k : (edge < 0.0f ? 0 : n - 1);
                const glm::vec3 d = faceDirection(f, sc, tc);
                // The neighbour is the other face whose axis component is +-1.
                int neighbour = -1;
                for (int g = 0; g < 6; ++g) {
                    if (faceAxis(g) == faceAxis(f))
                        continue;
                    const float component = d[faceAxis(g)];
                    if (std::abs(std::abs(component) - 1.0f) < 1e-6f &&
                        (component > 0.0f) == (g % 2 == 0))
                        neighbour = g;
                }
                ASSERT_GE(neighbour, 0);
                const glm::vec3 c = faceCoordinates(neighbour, d);
                const float s = (c.x / std::abs(c.z) + 1.0f) * 0.5f,
                            t = (c.y / std::abs(c.z) + 1.0f) * 0.5f;
                const int nc = std::clamp(static_cast<int>(s * static_cast<float>(n)), 0, n - 1);
                const int nr = std::clamp(static_cast<int>(t * static_cast<float>(n)), 0, n - 1);
                ASSERT_TRUE(nc == 0 || nc == n - 1 || nr == 0 ||
                            nr == n - 1); // it lands on the neighbour's border
                const glm::ivec3 diff =
                    glm::abs(faces[f].at(column, row) - faces[neighbour].at(nc, nr));
                const int largest = std::max({diff.x, diff.y, diff.z});
                worst = std::max(worst, largest);
                totalDifference += largest;
                ++compared;
            }
        }
    }
    EXPECT_EQ(compared, 6 * 4 * n);
    EXPECT_LT(totalDifference / compared, 3.0) << "the faces do not line up along their edges";
    EXPECT_LE(worst, 48);
}

TEST(SkyBox, SunIsInViewAtTheStartAndTheGroundIsBelowTheHorizon) {
    // The start view looks along +X: its face must hold the brightest texels
    // above the middle row, and sand (red over blue) at the bottom.
    const std::string path = std::string(FROSTMOOR_ASSET_DIR) + "/objects/skybox/sahara_lf.tga";
    int w = 0, h = 0, channels = 0;
    std::unique_ptr<unsigned char, void (*)(void*)> pixels(
        stbi_load(path.c_str(), &w, &h, &channels, 3), stbi_image_free);
    ASSERT_NE(pixels, nullptr);
    int brightest = 0, brightestRow = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = pixels.get() + (static_cast<size_t>(y) * w + x) * 3;
            const int sum = p[0] + p[1] + p[2];
            if (sum > brightest)
                brightest = sum, brightestRow = y;
        }
    EXPECT_GT(brightest, 3 * 240);
    EXPECT_LT(brightestRow, h / 2); // row 0 is the top of the view
    const unsigned char* bottom = pixels.get() + (static_cast<size_t>(h - 1) * w + w / 2) * 3;
    EXPECT_GT(bottom[0], bottom[2]);
    const unsigned char* top = pixels.get() + static_cast<size_t>(w / 2) * 3;
    EXPECT_GT(top[2], top[0]);
}
