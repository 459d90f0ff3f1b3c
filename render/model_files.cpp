#include "render/model_files.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>
#include <string_view>

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
    if (std::find(refused.begin(), refused.end(), file) != refused.end())
        return nullptr;
    Assimp::IOStream* stream = inner->Open(file, mode);
    if (!stream || modelPath == file || !(hasSuffix(modelPath, ".obj") || hasSuffix(file, ".mtl")))
        return stream;
    std::string bytes(stream->FileSize(), '\0');
    const size_t read = stream->Read(bytes.data(), 1, bytes.size());
    inner->Close(stream);
    bytes.resize(read);
    if (statementBeforeFirstMaterial(bytes)) {
        std::cout << "ERROR::ASSIMP:: " << file << ": a statement before the first newmtl"
                  << std::endl;
        refused.emplace_back(file);
        return nullptr;
    }
    screened.push_back(new MemoryStream(std::move(bytes)));
    return screened.back();
}

void ScreenedFiles::Close(Assimp::IOStream* stream) {
    const auto ours = std::find(screened.begin(), screened.end(), stream);
    if (ours == screened.end())
        return inner->Close(stream);
    screened.erase(ours);
    delete stream;
}
