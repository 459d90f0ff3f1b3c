#include "render/model.hpp"

#include <algorithm>
#include <utility>

#include "render/model_import.hpp"
#include "render/texture.hpp"

#include <glad/gl.h>

Sphere boundingSphere(const std::vector<Mesh>& meshes) {
    glm::vec3 low(0.0f), high(0.0f);
    bool any = false;
    for (const Mesh& mesh : meshes)
        for (const Vertex& vertex : mesh.vertices) {
            low = any ? glm::min(low, vertex.position) : vertex.position;
            high = any ? glm::max(high, vertex.position) : vertex.position;
            any = true;
        }
    Sphere sphere{(low + high) * 0.5f, 0.0f};
    for (const Mesh& mesh : meshes)
        for (const Vertex& vertex : mesh.vertices)
            sphere.radius = std::max(sphere.radius, glm::distance(sphere.centre, vertex.position));
    return sphere;
}

Model::Model(const std::string& path) {
    ModelData data;
    if (!importModel(path, data))
        return;
    directory = std::move(data.directory);
    for (const TextureUse& use : data.textures)
        textureCache.push_back(
            {loadTextureFromDirectory(use.path.c_str(), directory), use.kind, use.path});
    for (MeshData& mesh : data.meshes) {
        std::vector<Texture> textures;
        for (std::size_t use : mesh.textures)
            textures.push_back(textureCache[use]);
        meshes.emplace_back(std::move(mesh.vertices), std::move(mesh.indices), std::move(textures));
    }
    bounds = boundingSphere(meshes);
    for (const Texture& texture : textureCache)
        if (textureHasAlpha(texture.id))
            opaque = false;
}

void Model::draw(const Shader& shader) const {
    // The scene draws with blending off, which spares a software renderer
    // reading back every pixel; a see-through model turns it on for itself.
    const bool blend = !opaque && !glIsEnabled(GL_BLEND);
    if (blend)
        glEnable(GL_BLEND);
    for (const Mesh& mesh : meshes)
        mesh.draw(shader);
    if (blend)
        glDisable(GL_BLEND);
}
