#pragma once
// A model file read through Assimp into plain meshes, before any of it
// reaches OpenGL.
#include <cstddef>
#include <string>
#include <vector>

#include "render/mesh.hpp"

namespace Assimp {
class IOSystem;
}

// A texture file a material names, with the kind of its first use: a file
// used again is reused whole, its first kind included.
struct TextureUse {
    std::string kind; // "texture_diffuse", "texture_specular", ...
    std::string path; // the file name as the material gives it
};

struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<unsigned int> indices; // triangles only
    std::vector<std::size_t> textures; // into ModelData::textures, in sampler order
};

struct ModelData {
    std::string directory;            // the path up to its last "/", or "."
    std::vector<TextureUse> textures; // each file once, in order of first use
    std::vector<MeshData> meshes;     // in the order of the node walk
};

// Imports the file, from disk or through io when one is given (the importer
// then owns it). On failure prints "ERROR::ASSIMP:: " and the importer's
// message and returns false.
bool importModel(const std::string& path, ModelData& out, Assimp::IOSystem* io = nullptr);
