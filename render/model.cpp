#include "render/model.hpp"

#include <algorithm>
#include <cstring>
#include <iostream>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "render/texture.hpp"

#include <glad/gl.h>

Sphere boundingSphere(const std::vector<Mesh>& meshes)
{
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

Model::Model(const std::string& path)
{
    Assimp::Importer importer;
    const unsigned int flags =
        aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_GenNormals | aiProcess_FlipUVs;
    static_assert((aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_GenNormals |
                   aiProcess_FlipUVs) == 0x800029);
    const aiScene* scene = importer.ReadFile(path, flags);
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        std::cout << "ERROR::ASSIMP:: " << importer.GetErrorString() << std::endl;
        return;
    }
    // A bare file name lies in the working directory.
    std::size_t slash = path.find_last_of('/');
    directory = slash == std::string::npos ? "." : path.substr(0, slash);
    visitNode(scene->mRootNode, scene);
    bounds = boundingSphere(meshes);
    for (const Texture& texture : textureCache)
        if (textureHasAlpha(texture.id))
            opaque = false;
}

void Model::draw(const Shader& shader) const
{
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

// Depth first; node transforms are deliberately not applied.
void Model::visitNode(const aiNode* node, const aiScene* scene)
{
    for (unsigned int i = 0; i < node->mNumMeshes; ++i)
        meshes.push_back(convertMesh(scene->mMeshes[node->mMeshes[i]], scene));
    for (unsigned int i = 0; i < node->mNumChildren; ++i)
        visitNode(node->mChildren[i], scene);
}

Mesh Model::convertMesh(const aiMesh* mesh, const aiScene* scene)
{
    std::vector<Vertex> vertices;
    vertices.reserve(mesh->mNumVertices);
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        Vertex vertex{};
        vertex.position = {mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z};
        // Points and lines get no generated normals; they keep a zero one.
        if (mesh->mNormals)
            vertex.normal = {mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z};
        if (mesh->mTextureCoords[0])
            vertex.texCoord = {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y};
        vertices.push_back(vertex);
    }

    // Meshes are drawn as triangle lists: a point or line face among them
    // would be joined with its neighbours into a triangle that isn't there.
    std::vector<unsigned int> indices;
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices >= 3)
            indices.insert(indices.end(), face.mIndices, face.mIndices + face.mNumIndices);
    }

    std::vector<Texture> textures;
    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    const std::pair<aiTextureType, const char*> kinds[] = {
        {aiTextureType_DIFFUSE, "texture_diffuse"},
        {aiTextureType_SPECULAR, "texture_specular"},
        {aiTextureType_HEIGHT, "texture_normal"},
        {aiTextureType_AMBIENT, "texture_height"},
    };
    for (const auto& [type, kind] : kinds) {
        std::vector<Texture> found = collectMaterialTextures(material, type, kind);
        textures.insert(textures.end(), found.begin(), found.end());
    }

    return Mesh(vertices, indices, textures);
}

std::vector<Texture> Model::collectMaterialTextures(const aiMaterial* material, int textureType,
                                                    const std::string& kind)
{
    std::vector<Texture> result;
    const auto type = static_cast<aiTextureType>(textureType);
    const unsigned int count = aiGetMaterialTextureCount(material, type);
    for (unsigned int i = 0; i < count; ++i) {
        aiString fileName;
        aiGetMaterialTexture(material, type, i, &fileName);

        // A cached entry is reused whole, its kind included.
        bool cached = false;
        for (const Texture& known : textureCache) {
            if (std::strcmp(known.path.c_str(), fileName.C_Str()) == 0) {
                result.push_back(known);
                cached = true;
                break;
            }
        }
        if (cached)
            continue;

        Texture texture;
        texture.id = loadTextureFromDirectory(fileName.C_Str(), directory);
        texture.kind = kind;
        texture.path = fileName.C_Str();
        result.push_back(texture);
        textureCache.push_back(texture);
    }
    return result;
}
