#include "render/model_files.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>
#include <string_view>
#include <vector>

#include <sys/stat.h>

#include "app/file_bytes.hpp"

size_t MemoryStream::Read(void* into, size_t size, size_t count) {
    if (size == 0)
        return 0;
    const size_t n = std::min(count, (bytes.size() - at) / size);
    if (n > 0)
        std::memcpy(into, bytes.data() + at, n * size);
    at += n * size;
    return n;
}

aiReturn MemoryStream::Seek(size_t offset, aiOrigin origin) {
    const size_t base = origin == aiOrigin_CUR ? at : origin == aiOrigin_END ? bytes.size() : 0;
    if (offset > bytes.size() - base)
        return aiReturn_FAILURE;
    at = base + offset;
    return aiReturn_SUCCESS;
}

namespace {

// Every character the reader ends a line at, NUL included.
constexpr std::string_view lineEnds("\r\n\f\0", 4);

// Where the first material begins: "newmtl", a blank and a name at the very
// start of a line.
size_t firstMaterial(std::string_view text) {
    for (size_t at = 0; (at = text.find("newmtl", at)) != std::string_view::npos; ++at) {
        const bool lineStart = at == 0 || lineEnds.find(text[at - 1]) != std::string_view::npos;
        const std::string_view name = text.substr(at + 6);
        if (lineStart && name.size() >= 2 && (name[0] == ' ' || name[0] == '\t') &&
            std::isgraph(static_cast<unsigned char>(name[1])))
            return at;
    }
    return text.size();
}

bool hasSuffix(std::string_view name, std::string_view suffix) {
    return name.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), name.end() - suffix.size(), [](char a, char b) {
               return a == std::tolower(static_cast<unsigned char>(b));
           });
}

} // namespace

bool statementBeforeFirstMaterial(const std::string& materialFile) {
    std::string_view rest = std::string_view(materialFile).substr(0, firstMaterial(materialFile));
    while (!rest.empty()) {
        const size_t end = std::min(rest.find_first_of(lineEnds), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (!line.empty() && line[0] != '#')
            return true;
    }
    return false;
}

bool RegularFiles::Exists(const char* file) const {
    struct stat info {};
    return ::stat(file, &info) == 0 && S_ISREG(info.st_mode);
}

Assimp::IOStream* RegularFiles::Open(const char* file, const char* mode) {
    std::vector<unsigned char> bytes;
    if (std::strchr(mode, 'w') || std::strchr(mode, 'a') ||
        !readFileBytes(file, maxModelFileBytes, bytes))
        return nullptr;
    return new MemoryStream(std::string(bytes.begin(), bytes.end()));
}

namespace {

constexpr std::size_t objSlack = 16;

// The model's own bytes. It counts itself while it lives: the OBJ reader
// keeps its model open while it reads the material files the model names,
// so an open of the model's name while one of these lives is a material
// file ("mtllib" naming the model itself), and is screened like any.
class ModelStream : public MemoryStream {
  public:
    ModelStream(std::string bytes, int& live) : MemoryStream(std::move(bytes)), live(live) {
        ++live;
    }
    ~ModelStream() override { --live; }

  private:
    int& live;
};

} // namespace

ScreenedFiles::ScreenedFiles(std::string modelPath, Assimp::IOSystem* inner)
    : modelPath(std::move(modelPath)), inner(inner) {}

ScreenedFiles::~ScreenedFiles() = default;

bool ScreenedFiles::Exists(const char* file) const {
    return inner->Exists(file);
}

char ScreenedFiles::getOsSeparator() const {
    return inner->getOsSeparator();
}

Assimp::IOStream* ScreenedFiles::Open(const char* file, const char* mode) {
    // The importer asks again after a refusal; the line is printed once.
    // Nothing is written through here.
    const bool model = modelPath == file && liveModels == 0;
    if (std::strchr(mode, 'w') || std::strchr(mode, 'a') ||
        (!model && std::find(refused.begin(), refused.end(), file) != refused.end()))
        return nullptr;
    // Every file is read whole and served from memory, so each stream handed
    // out is one of ours and the inner one is closed before the importer
    // sees anything.
    Assimp::IOStream* stream = inner->Open(file, mode);
    if (!stream)
        return nullptr;
    std::string bytes(stream->FileSize(), '\0');
    bytes.resize(stream->Read(bytes.data(), 1, bytes.size()));
    inner->Close(stream);

    if (model) {
        // Assimp 5.2.5 reads an OBJ a line at a time into a buffer the size
        // of the whole file, and its face reader can run past the end of a
        // line that fills it. Blank lines at the end, which an OBJ reads as
        // nothing, keep every line well short of the buffer's end.
        if (hasSuffix(modelPath, ".obj"))
            bytes.append(objSlack, '\n');
        return new ModelStream(std::move(bytes), liveModels);
    }
    const bool material = hasSuffix(modelPath, ".obj") || hasSuffix(file, ".mtl");
    if (material && statementBeforeFirstMaterial(bytes)) {
        std::cout << "ERROR::ASSIMP:: " << file << ": a statement before the first newmtl"
                  << std::endl;
        refused.emplace_back(file);
        return nullptr;
    }
    return new MemoryStream(std::move(bytes));
}

void ScreenedFiles::Close(Assimp::IOStream* stream) {
    delete stream;
}
