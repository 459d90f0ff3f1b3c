// The generated models import the way the game imports them, fit their
// triangle budgets, and have the size and origin the game's placements need.
#include <cmath>
#include <string>

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <glm/glm.hpp>
#include <gtest/gtest.h>
#include <stb/stb_image.h>

namespace {

const std::string objects = std::string(FROSTMOOR_ASSET_DIR) + "/objects/";

struct Imported {
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
    glm::vec3 min{1e30f}, max{-1e30f};
    size_t triangles = 0;
    std::string directory;

    explicit Imported(const std::string& relative) {
        const std::string path = objects + relative;
        directory = path.substr(0, path.rfind('/'));
        scene = importer.ReadFile(path, aiProcess_CalcTangentSpace | aiProcess_Triangulate |
                                            aiProcess_GenNormals | aiProcess_FlipUVs);
        if (!scene)
            return;
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh* mesh = scene->mMeshes[m];
            triangles += mesh->mNumFaces;
            for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
                const glm::vec3 p{mesh->mVertices[v].x, mesh->mVertices[v].y, mesh->mVertices[v].z};
                min = glm::min(min, p);
                max = glm::max(max, p);
            }
        }
    }
    glm::vec3 size() const { return max - min; }
    glm::vec3 centre() const { return (min + max) * 0.5f; }
    // Bounds of the meshes of one material.
    std::pair<glm::vec3, glm::vec3> materialBounds(const std::string& name) const {
        glm::vec3 lo{1e30f}, hi{-1e30f};
        for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
            const aiMesh* mesh = scene->mMeshes[m];
            if (name != scene->mMaterials[mesh->mMaterialIndex]->GetName().C_Str())
                continue;
            for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
                const glm::vec3 p{mesh->mVertices[v].x, mesh->mVertices[v].y, mesh->mVertices[v].z};
                lo = glm::min(lo, p);
                hi = glm::max(hi, p);
            }
        }
        return {lo, hi};
    }
};

struct Budget {
    const char* path;
    size_t triangles;
};

const Budget budgets[] = {
    {"map/boden1.obj", 2000},
    {"snowman/snowi.obj", 5000},
    {"snowman/hat.obj", 2000},
    {"icecube/icecube.obj", 12},
    {"cactus-low-poly/source/cactus._testobj.obj", 2000},
    {"74307_Alien_Larvae/Larve1.obj", 2000},
    {"helicopter/HelicopterTest.obj", 5000},
    {"rock/rock.obj", 80},
    {"rock/rock_blendswap.obj", 5000},
};

bool powerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace

TEST(GeneratedModels, ImportCompleteWithNormalsUvsTexturesAndWithinBudget) {
    for (const Budget& b : budgets) {
        SCOPED_TRACE(b.path);
        Imported model(b.path);
        ASSERT_NE(model.scene, nullptr) << model.importer.GetErrorString();
        EXPECT_FALSE(model.scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE);
        ASSERT_GT(model.scene->mNumMeshes, 0u);
        EXPECT_GT(model.triangles, 0u);
        EXPECT_LE(model.triangles, b.triangles);
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
            const aiMesh* mesh = model.scene->mMeshes[m];
            EXPECT_TRUE(mesh->HasNormals());
            EXPECT_TRUE(mesh->HasTextureCoords(0));
            for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
                const aiVector3D& n = mesh->mNormals[v];
                ASSERT_NEAR(n.Length(), 1.0f, 0.01f) << "vertex " << v << " of mesh " << m;
                ASSERT_TRUE(std::isfinite(mesh->mVertices[v].x + mesh->mVertices[v].y +
                                          mesh->mVertices[v].z));
            }
            const aiMaterial* material = model.scene->mMaterials[mesh->mMaterialIndex];
            EXPECT_GE(material->GetTextureCount(aiTextureType_DIFFUSE), 1u);
            for (aiTextureType type : {aiTextureType_DIFFUSE, aiTextureType_SPECULAR}) {
                for (unsigned t = 0; t < material->GetTextureCount(type); ++t) {
                    aiString name;
                    material->GetTexture(type, t, &name);
                    const std::string file = model.directory + "/" + name.C_Str();
                    int w = 0, h = 0, channels = 0;
                    ASSERT_EQ(stbi_info(file.c_str(), &w, &h, &channels), 1) << file;
                    EXPECT_TRUE(powerOfTwo(w) && powerOfTwo(h) && w <= 1024 && h <= 1024) << file;
                }
            }
        }
    }
}

// A material without a specular map would leave "texture_specular1" on
// whatever the previous mesh bound, and shine with someone else's highlight.
TEST(GeneratedModels, EveryLitMaterialNamesItsOwnSpecularMap) {
    for (const Budget& b : budgets) {
        if (std::string(b.path) == "rock/rock.obj")
            continue; // the ring's shader reads no specular map
        SCOPED_TRACE(b.path);
        Imported model(b.path);
        ASSERT_NE(model.scene, nullptr);
        for (unsigned m = 0; m < model.scene->mNumMeshes; ++m) {
            const aiMaterial* material =
                model.scene->mMaterials[model.scene->mMeshes[m]->mMaterialIndex];
            EXPECT_EQ(material->GetTextureCount(aiTextureType_SPECULAR), 1u)
                << material->GetName().C_Str();
        }
    }
}

TEST(GeneratedModels, GroundIsFlatOverTheLevelAndReachesBeyondIt) {
    Imported ground("map/boden1.obj");
    ASSERT_NE(ground.scene, nullptr);
    EXPECT_LE(ground.min.x, -45.0f);
    EXPECT_GE(ground.max.x, 45.0f);
    EXPECT_LE(ground.min.z, -45.0f);
    EXPECT_GE(ground.max.z, 45.0f);
    EXPECT_GE(ground.min.y, -1e-4f); // nothing dips below the floor
    // Tiled: the sand texture repeats many times across the level.
    float uMin = 1e30f, uMax = -1e30f;
    const aiMesh* first = ground.scene->mMeshes[0];
    for (unsigned v = 0; v < first->mNumVertices; ++v) {
        uMin = std::min(uMin, first->mTextureCoords[0][v].x);
        uMax = std::max(uMax, first->mTextureCoords[0][v].x);
    }
    EXPECT_GT(uMax - uMin, 20.0f);
    for (unsigned m = 0; m < ground.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = ground.scene->mMeshes[m];
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            const aiVector3D& p = mesh->mVertices[v];
            if (std::abs(p.x) <= 45.0f && std::abs(p.z) <= 45.0f) {
                ASSERT_NEAR(p.y, 0.0f, 1e-4f) << "at " << p.x << ", " << p.z;
                ASSERT_GT(mesh->mNormals[v].y, 0.999f);
            }
        }
    }
}

TEST(GeneratedModels, SnowmanStandsOnHisFeetFacingPlusXWithTheHatOnHisHead) {
    Imported snowman("snowman/snowi.obj");
    ASSERT_NE(snowman.scene, nullptr);
    EXPECT_NEAR(snowman.min.y, 0.0f, 0.01f);
    EXPECT_NEAR(snowman.max.y, 2.4f, 0.1f);
    EXPECT_NEAR(snowman.centre().z, 0.0f, 0.1f);
    EXPECT_NEAR(snowman.centre().x, 0.0f, 0.25f);
    const auto [carrotMin, carrotMax] = snowman.materialBounds("carrot");
    EXPECT_GT(carrotMax.x, 0.5f); // the nose sticks out in front
    EXPECT_GT(carrotMin.y, 1.8f); // on his face
    const auto [scarfMin, scarfMax] = snowman.materialBounds("scarf");
    EXPECT_LT(scarfMin.x, -0.4f); // the tail hangs behind him
    EXPECT_LT(scarfMin.y, 1.5f);

    // The game draws the hat at T(p) R S(f) T(3, 1, 0.5): undo that offset and
    // the brim must rest on top of the head at his centre line.
    Imported hat("snowman/hat.obj");
    ASSERT_NE(hat.scene, nullptr);
    const glm::vec3 worn = hat.min + glm::vec3{3.0f, 1.0f, 0.5f};
    EXPECT_NEAR(worn.y, snowman.max.y, 0.15f);
    EXPECT_LT(worn.y, snowman.max.y); // seated on, not floating above, the head
    EXPECT_NEAR(hat.centre().x + 3.0f, 0.0f, 0.05f);
    EXPECT_NEAR(hat.centre().z + 0.5f, 0.0f, 0.05f);
    EXPECT_GT(hat.size().y, 0.3f);
}

TEST(GeneratedModels, PropsHaveTheSizeAndOriginTheirPlacementsNeed) {
    Imported ice("icecube/icecube.obj");
    ASSERT_NE(ice.scene, nullptr);
    for (int a = 0; a < 3; ++a) {
        EXPECT_NEAR(ice.min[a], -0.2f, 1e-3f);
        EXPECT_NEAR(ice.max[a], 0.2f, 1e-3f);
    }

    Imported cactus("cactus-low-poly/source/cactus._testobj.obj");
    ASSERT_NE(cactus.scene, nullptr);
    EXPECT_NEAR(cactus.min.y, -0.2f, 0.01f);
    EXPECT_NEAR(cactus.size().y, 3.0f, 0.3f);

    Imported larva("74307_Alien_Larvae/Larve1.obj");
    ASSERT_NE(larva.scene, nullptr);
    EXPECT_NEAR(larva.min.y, -0.2f, 0.01f);
    EXPECT_NEAR(std::max(larva.size().x, larva.size().z), 1.5f, 0.2f);

    Imported heli("helicopter/HelicopterTest.obj");
    ASSERT_NE(heli.scene, nullptr);
    EXPECT_NEAR(heli.min.y, 0.0f, 0.01f);
    EXPECT_NEAR(std::max(heli.size().x, heli.size().z), 1.6f, 0.2f);
}

TEST(GeneratedModels, RocksFitTheRingAndTheLightMappedBoulder) {
    Imported rock("rock/rock.obj");
    ASSERT_NE(rock.scene, nullptr);
    // Radius about 6: the farthest corner from the rock's origin.
    float radius = 0.0f;
    for (unsigned m = 0; m < rock.scene->mNumMeshes; ++m) {
        const aiMesh* mesh = rock.scene->mMeshes[m];
        for (unsigned v = 0; v < mesh->mNumVertices; ++v)
            radius = std::max(radius, mesh->mVertices[v].Length());
    }
    EXPECT_GT(radius, 4.5f);
    EXPECT_LT(radius, 7.5f);
    aiString name;
    ASSERT_EQ(rock.scene->mMaterials[rock.scene->mMeshes[0]->mMaterialIndex]->GetTexture(
                  aiTextureType_DIFFUSE, 0, &name),
              AI_SUCCESS);
    EXPECT_STREQ(name.C_Str(), "rock.jpg");

    Imported boulder("rock/rock_blendswap.obj");
    ASSERT_NE(boulder.scene, nullptr);
    EXPECT_NEAR(boulder.min.y, -0.3f, 0.005f);
    EXPECT_NEAR(boulder.size().x * 0.5f, 0.3f, 0.08f);
    EXPECT_NEAR(boulder.size().z * 0.5f, 0.3f, 0.08f);
    const aiMaterial* material =
        boulder.scene->mMaterials[boulder.scene->mMeshes[0]->mMaterialIndex];
    ASSERT_EQ(material->GetTexture(aiTextureType_DIFFUSE, 0, &name), AI_SUCCESS);
    EXPECT_STREQ(name.C_Str(), "rock.jpg");
    ASSERT_EQ(material->GetTexture(aiTextureType_SPECULAR, 0, &name), AI_SUCCESS);
    EXPECT_STREQ(name.C_Str(), "rock_specular.jpg");
}
