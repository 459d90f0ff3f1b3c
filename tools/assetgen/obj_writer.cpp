#include "obj_writer.hpp"

#include <cmath>
#include <cstdio>
#include <fstream>

namespace assetgen {

namespace {

// Fixed precision; "-0.00000" is folded into "0.00000" for tidy files.
std::string num(float value, int decimals) {
    if (std::abs(value) < 0.5f * std::pow(10.0f, static_cast<float>(-decimals)))
        value = 0.0f;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, static_cast<double>(value));
    return buffer;
}

} // namespace

void Model::add(const std::string& material, const Mesh& mesh) {
    for (auto& [name, existing] : parts) {
        if (name == material) {
            merge(existing, mesh);
            return;
        }
    }
    parts.emplace_back(material, mesh);
}

size_t Model::triangleCount() const {
    size_t n = 0;
    for (const auto& part : parts)
        n += part.second.triangles.size();
    return n;
}

bool writeObj(const std::string& dir, const std::string& name, const Model& model) {
    std::ofstream mtl(dir + "/" + name + ".mtl", std::ios::binary);
    mtl << "# Frostmoor asset generator\n";
    for (const Material& m : model.materials) {
        mtl << "\nnewmtl " << m.name << "\n";
        mtl << "Ka 1.000 1.000 1.000\nKd 1.000 1.000 1.000\n";
        mtl << "Ks " << num(m.specular.r, 3) << ' ' << num(m.specular.g, 3) << ' '
            << num(m.specular.b, 3) << "\n";
        mtl << "Ns " << num(m.shininess, 1) << "\nillum 2\n";
        mtl << "map_Kd " << m.diffuseMap << "\n";
        if (!m.specularMap.empty())
            mtl << "map_Ks " << m.specularMap << "\n";
    }
    std::ofstream obj(dir + "/" + name + ".obj", std::ios::binary);
    obj << "# Frostmoor asset generator\nmtllib " << name << ".mtl\n";
    size_t base = 1;
    for (const auto& [material, mesh] : model.parts) {
        obj << "\no " << material << "\n";
        for (const Vertex& v : mesh.vertices)
            obj << "v " << num(v.position.x, 5) << ' ' << num(v.position.y, 5) << ' '
                << num(v.position.z, 5) << "\n";
        for (const Vertex& v : mesh.vertices)
            obj << "vt " << num(v.uv.x, 5) << ' ' << num(v.uv.y, 5) << "\n";
        for (const Vertex& v : mesh.vertices)
            obj << "vn " << num(v.normal.x, 4) << ' ' << num(v.normal.y, 4) << ' '
                << num(v.normal.z, 4) << "\n";
        obj << "usemtl " << material << "\n";
        for (const glm::uvec3& t : mesh.triangles) {
            obj << 'f';
            for (unsigned i : {t.x, t.y, t.z}) {
                const size_t k = base + i;
                obj << ' ' << k << '/' << k << '/' << k;
            }
            obj << "\n";
        }
        base += mesh.vertices.size();
    }
    return static_cast<bool>(obj) && static_cast<bool>(mtl);
}

} // namespace assetgen
