#pragma once
// A model file imported through Assimp (render/model_import.hpp) and sent
// to OpenGL as a list of meshes that share one texture cache.
#include <string>
#include <vector>

#include "render/frustum.hpp"
#include "render/mesh.hpp"

class Shader;

// The sphere about the box of all the meshes' vertices; radius 0 when empty.
Sphere boundingSphere(const std::vector<Mesh>& meshes);

class Model {
  public:
    std::vector<Texture> textureCache; // every texture loaded, in load order
    std::vector<Mesh> meshes;          // in the order of the node walk
    std::string directory;             // the path up to its last "/", or "."
    Sphere bounds;                     // holds every vertex of every mesh
    bool opaque = true;                // no texture with alpha

    // Loads at once; an import failure leaves a model without meshes.
    explicit Model(const std::string& path);

    // Blended if not opaque, whatever the blending state around it.
    void draw(const Shader& shader) const;
};
