#pragma once
// One drawable part of a model: its vertices, indices and textures, and the
// GPU buffers they were uploaded to.
#include <cstddef>
#include <string>
#include <vector>

#include <glm/glm.hpp>

class Shader;

// Uploaded byte for byte; the attribute layout at locations 0, 1, 2 depends
// on this exact packing.
struct Vertex {
    glm::vec3 position;
    glm::vec3 normal;
    glm::vec2 texCoord;
};
static_assert(sizeof(Vertex) == 32, "Vertex must stay 32 bytes without padding");
static_assert(offsetof(Vertex, normal) == 12 && offsetof(Vertex, texCoord) == 24);

struct Texture {
    unsigned int id = 0;
    std::string kind; // "texture_diffuse", "texture_specular", ... : the sampler's stem
    std::string path; // the file name as the material gives it
};

// Sampler uniform names for a texture list in order: each kind numbered from
// 1 on its own counter ("texture_diffuse1", "texture_diffuse2", ...).
std::vector<std::string> samplerNames(const std::vector<Texture>& textures);

// Texture units this context can bind at once; queried on first use.
int maxTextureUnits();

class Mesh {
  public:
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices;
    std::vector<Texture> textures;
    unsigned int vertexArray = 0;
    // The GPU copies hold each distinct vertex once, with the indices
    // renumbered to match (render/vertex_sharing.hpp).
    unsigned int vertexBuffer = 0;
    unsigned int elementBuffer = 0;

    Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices,
         std::vector<Texture> textures);

    // Binds the textures to units 0, 1, ... with their samplers pointed at
    // them, then draws the triangles. The caller binds the shader first.
    void draw(const Shader& shader) const;

  private:
    // The names never change with the texture list, so they are built once.
    std::vector<std::string> samplers;

    void uploadToGpu();
};
