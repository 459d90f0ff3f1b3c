#include "render/mesh.hpp"

#include <algorithm>
#include <array>
#include <utility>

#include <glad/gl.h>

#include "render/shader.hpp"
#include "render/vertex_sharing.hpp"

std::vector<std::string> samplerNames(const std::vector<Texture>& textures) {
    static const std::array<std::string, 4> kinds = {"texture_diffuse", "texture_specular",
                                                     "texture_normal", "texture_height"};
    std::array<unsigned int, 4> counters = {1, 1, 1, 1};
    std::vector<std::string> names;
    names.reserve(textures.size());
    for (const Texture& texture : textures) {
        std::string number;
        for (std::size_t k = 0; k < kinds.size(); ++k)
            if (texture.kind == kinds[k])
                number = std::to_string(counters[k]++);
        names.push_back(texture.kind + number);
    }
    return names;
}

int maxTextureUnits() {
    static int units = [] {
        int value = 0;
        glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &value);
        return value;
    }();
    return units;
}

Mesh::Mesh(std::vector<Vertex> vertices, std::vector<unsigned int> indices,
           std::vector<Texture> textures)
    : vertices(std::move(vertices)), indices(std::move(indices)), textures(std::move(textures)),
      samplers(samplerNames(this->textures)) {
    uploadToGpu();
}

void Mesh::uploadToGpu() {
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &vertexBuffer);
    glGenBuffers(1, &elementBuffer);

    glBindVertexArray(vertexArray);
    // The lists stay as imported; the GPU gets each distinct vertex once.
    const SharedVertices shared = shareIdenticalVertices(vertices, indices);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(shared.vertices.size() * sizeof(Vertex)),
                 shared.vertices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, elementBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(shared.indices.size() * sizeof(unsigned int)),
                 shared.indices.data(), GL_STATIC_DRAW);

    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex),
                          reinterpret_cast<void*>(offsetof(Vertex, texCoord)));

    glBindVertexArray(0);
}

void Mesh::draw(const Shader& shader) const {
    // Units past the context's last one do not exist; extra textures are
    // left unbound rather than bound out of range.
    std::size_t bound = std::min(textures.size(), static_cast<std::size_t>(maxTextureUnits()));
    // The texture list is a public field; names built for another list are
    // not used.
    std::vector<std::string> rebuilt;
    const std::vector<std::string>& names =
        samplers.size() == textures.size() ? samplers : (rebuilt = samplerNames(textures));
    for (std::size_t i = 0; i < bound; ++i) {
        glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(i));
        shader.setUniformInt(names[i].c_str(), static_cast<int>(i));
        glBindTexture(GL_TEXTURE_2D, textures[i].id);
    }

    glBindVertexArray(vertexArray);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glActiveTexture(GL_TEXTURE0);
}
