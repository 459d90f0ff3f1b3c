#include "render/model_import.hpp"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <utility>

#include <assimp/Importer.hpp>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include "render/model_files.hpp"

namespace {

std::size_t useTexture(ModelData& model, const char* path, const char* kind) {
    for (std::size_t i = 0; i < model.textures.size(); ++i)
        if (model.textures[i].path == path)
            return i;
    model.textures.push_back({kind, path});
    return model.textures.size() - 1;
}

MeshData convertMesh(const aiMesh* mesh, const aiScene* scene, ModelData& model) {
    MeshData out;
    out.vertices.reserve(mesh->mNumVertices);
    // A number past a float's range reads as infinite; a triangle through
    // such a corner has no place to be drawn, and would spoil the bounds.
    std::vector<bool> placed(mesh->mNumVertices, true);
    for (unsigned int i = 0; i < mesh->mNumVertices; ++i) {
        Vertex vertex{};
        vertex.position = {mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z};
        if (!std::isfinite(vertex.position.x) || !std::isfinite(vertex.position.y) ||
            !std::isfinite(vertex.position.z)) {
            placed[i] = false;
            vertex.position = glm::vec3(0.0f);
        }
        // Points and lines get no generated normals; they keep a zero one.
        if (mesh->mNormals)
            vertex.normal = {mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z};
        if (mesh->mTextureCoords[0])
            vertex.texCoord = {mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y};
        out.vertices.push_back(vertex);
    }

    // Meshes are drawn as triangle lists: a point or line face among them
    // would be joined with its neighbours into a triangle that isn't there.
    // The import has split every larger polygon into triangles.
    for (unsigned int f = 0; f < mesh->mNumFaces; ++f) {
        const aiFace& face = mesh->mFaces[f];
        if (face.mNumIndices != 3)
            continue;
        const unsigned int* corner = face.mIndices;
        const bool drawable = std::all_of(corner, corner + 3, [&](unsigned int index) {
            return index < mesh->mNumVertices && placed[index];
        });
        if (drawable)
            out.indices.insert(out.indices.end(), corner, corner + 3);
    }

    if (mesh->mMaterialIndex >= scene->mNumMaterials)
        return out;
    const aiMaterial* material = scene->mMaterials[mesh->mMaterialIndex];
    const std::pair<aiTextureType, const char*> kinds[] = {
        {aiTextureType_DIFFUSE, "texture_diffuse"},
        {aiTextureType_SPECULAR, "texture_specular"},
        {aiTextureType_HEIGHT, "texture_normal"},
        {aiTextureType_AMBIENT, "texture_height"},
    };
    for (const auto& [type, kind] : kinds) {
        const unsigned int count = aiGetMaterialTextureCount(material, type);
        for (unsigned int i = 0; i < count; ++i) {
            aiString fileName;
            aiGetMaterialTexture(material, type, i, &fileName);
            out.textures.push_back(useTexture(model, fileName.C_Str(), kind));
        }
    }
    return out;
}

// Depth first; node transforms are deliberately not applied.
void visitNode(const aiNode* node, const aiScene* scene, ModelData& model) {
    for (unsigned int i = 0; i < node->mNumMeshes; ++i)
        model.meshes.push_back(convertMesh(scene->mMeshes[node->mMeshes[i]], scene, model));
    for (unsigned int i = 0; i < node->mNumChildren; ++i)
        visitNode(node->mChildren[i], scene, model);
}

} // namespace

bool importModel(const std::string& path, ModelData& out, Assimp::IOSystem* io) {
    out = ModelData{};
    Assimp::Importer importer;
    importer.SetIOHandler(new ScreenedFiles(path, io ? io : new RegularFiles));
    // Tangents for the lit shaders, triangles only, normals where a file has
    // none, and UVs flipped for OpenGL, whose textures start at the bottom
    // row. These four make 0x800029, the set every model of the game has
    // been tuned under; the assert keeps it from changing unnoticed.
    const unsigned int flags = aiProcess_CalcTangentSpace | aiProcess_Triangulate |
                               aiProcess_GenNormals | aiProcess_FlipUVs;
    static_assert((aiProcess_CalcTangentSpace | aiProcess_Triangulate | aiProcess_GenNormals |
                   aiProcess_FlipUVs) == 0x800029);
    const aiScene* scene = importer.ReadFile(path, flags);
    if (!scene || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE) || !scene->mRootNode) {
        std::cout << "ERROR::ASSIMP:: " << importer.GetErrorString() << std::endl;
        return false;
    }
    // A bare file name lies in the working directory.
    const std::size_t slash = path.find_last_of('/');
    out.directory = slash == std::string::npos ? "." : path.substr(0, slash);
    visitNode(scene->mRootNode, scene, out);
    return true;
}
