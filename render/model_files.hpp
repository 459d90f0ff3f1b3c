#pragma once
// The files an import reads, as Assimp asks for them: held in memory, and
// screened for what crashes the importer before it sees them.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include <assimp/IOStream.hpp>
#include <assimp/IOSystem.hpp>

// A read-only file whose bytes are all in memory.
class MemoryStream : public Assimp::IOStream {
  public:
    explicit MemoryStream(std::string bytes) : bytes(std::move(bytes)) {}

    size_t Read(void* into, size_t size, size_t count) override;
    size_t Write(const void*, size_t, size_t) override { return 0; }
    aiReturn Seek(size_t offset, aiOrigin origin) override;
    size_t Tell() const override { return at; }
    size_t FileSize() const override { return bytes.size(); }
    void Flush() override {}

  private:
    std::string bytes;
    size_t at = 0;
};

// Assimp 5.2.5's material reader writes through a null pointer when a
// statement ("map_Kd", "aniso", ...) comes before the first "newmtl" (and
// the "mtllib" line is not the model's first). A material file with
// anything but comments and blank lines before its first material is
// refused with a line, and the model imports without it.
bool statementBeforeFirstMaterial(const std::string& materialFile);

// The game's model files, and the material files they name, from disk:
// regular files within the cap only, read whole. A material named from a
// model file can be anything on disk; a FIFO would block the import and a
// huge file would be read whole.
inline constexpr std::size_t maxModelFileBytes = 16u << 20;

class RegularFiles : public Assimp::IOSystem {
  public:
    bool Exists(const char* file) const override;
    char getOsSeparator() const override { return '/'; }
    Assimp::IOStream* Open(const char* file, const char* mode) override;
    void Close(Assimp::IOStream* stream) override { delete stream; }
};

// Serves the files of one model import from the inner file system, read
// whole into memory, and screens the material libraries as above: every
// file an OBJ model names (its own name included) and any ".mtl". An OBJ
// model comes with blank lines added at its end, against an overread in
// Assimp's face reader. Every stream it hands out is its own, freed by
// Close.
class ScreenedFiles : public Assimp::IOSystem {
  public:
    ScreenedFiles(std::string modelPath, Assimp::IOSystem* inner);
    ~ScreenedFiles() override;

    bool Exists(const char* file) const override;
    char getOsSeparator() const override;
    Assimp::IOStream* Open(const char* file, const char* mode) override;
    void Close(Assimp::IOStream* stream) override;

  private:
    std::string modelPath;
    std::unique_ptr<Assimp::IOSystem> inner;
    int liveModels = 0;               // streams of the model itself, open now
    std::vector<std::string> refused; // material files refused so far
};
