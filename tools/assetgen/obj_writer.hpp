#pragma once
// A model as named material groups, written as Wavefront OBJ + MTL text with
// fixed precision so that repeated runs give the same bytes.
#include <optional>
#include <string>
#include <vector>

#include "mesh.hpp"

namespace assetgen {

struct Material {
    std::string name;
    std::string diffuseMap;  // map_Kd, beside the .obj
    std::string specularMap; // map_Ks; empty only where no shader reads one (the ring rocks)
    glm::vec3 specular{0.0f};
    float shininess = 8.0f;
};

struct Model {
    std::vector<Material> materials;
    std::vector<std::pair<std::string, Mesh>> parts; // material name, geometry

    void add(const std::string& material, const Mesh& mesh);
    size_t triangleCount() const;
};

// Writes <dir>/<name>.obj and <dir>/<name>.mtl; false on an I/O failure.
bool writeObj(const std::string& dir, const std::string& name, const Model& model);

} // namespace assetgen
