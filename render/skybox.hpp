#pragma once
// The desert sky: a cube map drawn around the viewer at the far plane.
#include <array>

#include <glm/glm.hpp>

#include "render/shader.hpp"

// One sky for the whole program.
extern unsigned int skyVertexArray;
extern unsigned int skyVertexBuffer;
extern unsigned int skyCubeMap;

// The six face files, in cube-map face order +X, -X, +Y, -Y, +Z, -Z.
extern const std::array<const char*, 6> skyboxFaces;

// 36 corners of 12 triangles, each wound counter-clockwise seen from inside.
extern const std::array<float, 108> skyboxVertices;

// The view matrix with its translation removed, so the sky never comes nearer.
glm::mat4 skyboxView(const glm::mat4& view);

class Skybox {
  public:
    Shader shader;

    // Builds the shader, the cube and the cube map from the six faces.
    Skybox();

    // Draws with depth test less-or-equal and restores GL_LESS afterwards.
    void draw(glm::mat4 view, glm::mat4 projection) const;
};
