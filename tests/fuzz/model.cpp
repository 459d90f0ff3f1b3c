// A model: an OBJ and its MTL, served to the importer from memory, then our
// mesh processing and the vertex sharing that the upload does. Every mesh
// that comes out must be safe to send to the GPU.
//
// The input is the OBJ, then optionally a line "#mtl" and the MTL: every
// file the OBJ names is served that MTL.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "check.hpp"
#include "quiet.hpp"
#include "render/model_files.hpp"
#include "render/model_import.hpp"
#include "render/vertex_sharing.hpp"

namespace {

class MemoryFiles : public Assimp::IOSystem {
  public:
    MemoryFiles(std::string_view obj, std::string_view mtl, bool hasMtl)
        : obj(obj), mtl(mtl), hasMtl(hasMtl) {}

    bool Exists(const char* file) const override { return isObj(file) || hasMtl; }
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* file, const char* mode) override {
        if (std::strchr(mode, 'w') || !Exists(file))
            return nullptr;
        return new MemoryStream(std::string(isObj(file) ? obj : mtl));
    }
    void Close(Assimp::IOStream* stream) override { delete stream; }

  private:
    static bool isObj(const char* file) { return std::strcmp(file, "fuzz/model.obj") == 0; }
    std::string_view obj, mtl;
    bool hasMtl;
};

void checkMesh(const MeshData& mesh, std::size_t textureCount) {
    FUZZ_CHECK(mesh.indices.size() % 3 == 0);
    for (const unsigned int index : mesh.indices)
        FUZZ_CHECK(index < mesh.vertices.size());
    for (const Vertex& vertex : mesh.vertices)
        FUZZ_CHECK(std::isfinite(vertex.position.x) && std::isfinite(vertex.position.y) &&
                   std::isfinite(vertex.position.z));
    for (const std::size_t use : mesh.textures)
        FUZZ_CHECK(use < textureCount);

    const SharedVertices shared = shareIdenticalVertices(mesh.vertices, mesh.indices);
    FUZZ_CHECK(shared.indices.size() == mesh.indices.size());
    FUZZ_CHECK(shared.vertices.size() <= mesh.vertices.size());
    for (std::size_t i = 0; i < shared.indices.size(); ++i) {
        FUZZ_CHECK(shared.indices[i] < shared.vertices.size());
        FUZZ_CHECK(std::memcmp(&shared.vertices[shared.indices[i]], &mesh.vertices[mesh.indices[i]],
                               sizeof(Vertex)) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    silenceConsole();
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find("\n#mtl\n");
    const bool hasMtl = split != std::string_view::npos;
    const std::string_view obj = hasMtl ? input.substr(0, split + 1) : input;
    const std::string_view mtl = hasMtl ? input.substr(split + 6) : std::string_view();

    ModelData model;
    if (!importModel("fuzz/model.obj", model, new MemoryFiles(obj, mtl, hasMtl)))
        return 0;
    FUZZ_CHECK(model.directory == "fuzz");
    for (const MeshData& mesh : model.meshes)
        checkMesh(mesh, model.textures.size());
    return 0;
}
