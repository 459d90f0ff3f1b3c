#include "render/model_files.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iostream>
#include <string_view>

size_t MemoryStream::Read(void* into, size_t size, size_t count)
{
    if (size == 0)
        return 0;
    const size_t n = std::min(count, (bytes.size() - at) / size);
    if (n > 0)
        std::memcpy(into, bytes.data() + at, n * size);
    at += n * size;
    return n;
}

aiReturn MemoryStream::Seek(size_t offset, aiOrigin origin)
{
    const size_t base = origin == aiOrigin_CUR ? at : origin == aiOrigin_END ? bytes.size() : 0;
    if (offset > bytes.size() - base)
        return aiReturn_FAILURE;
    at = base + offset;
    return aiReturn_SUCCESS;
}

bool mapBeforeFirstMaterial(const std::string& materialFile)
{
    std::string_view rest = materialFile;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        if (line.substr(0, 6) == "newmtl")
            return false;
        // The reader's texture statements, in any case.
        for (const std::string_view texture : {"map_", "bump", "refl", "disp", "norm"})
            if (line.size() >= texture.size() &&
                std::equal(texture.begin(), texture.end(), line.begin(),
                           [](char a, char b) { return a == std::tolower(b); }))
                return true;
    }
    return false;
}

ScreenedFiles::ScreenedFiles(std::string modelPath, Assimp::IOSystem* inner)
    : modelPath(std::move(modelPath)), inner(inner)
{
}

ScreenedFiles::~ScreenedFiles() = default;

bool ScreenedFiles::Exists(const char* file) const { return inner->Exists(file); }

char ScreenedFiles::getOsSeparator() const { return inner->getOsSeparator(); }

Assimp::IOStream* ScreenedFiles::Open(const char* file, const char* mode)
{
    // The importer asks again after a refusal; the line is printed once.
    if (std::find(refused.begin(), refused.end(), file) != refused.end())
        return nullptr;
    Assimp::IOStream* stream = inner->Open(file, mode);
    if (!stream || modelPath == file)
        return stream;
    std::string bytes(stream->FileSize(), '\0');
    const size_t read = stream->Read(bytes.data(), 1, bytes.size());
    inner->Close(stream);
    bytes.resize(read);
    if (mapBeforeFirstMaterial(bytes)) {
        std::cout << "ERROR::ASSIMP:: " << file << ": a texture map before the first newmtl"
                  << std::endl;
        refused.emplace_back(file);
        return nullptr;
    }
    screened.push_back(new MemoryStream(std::move(bytes)));
    return screened.back();
}

void ScreenedFiles::Close(Assimp::IOStream* stream)
{
    const auto ours = std::find(screened.begin(), screened.end(), stream);
    if (ours == screened.end())
        return inner->Close(stream);
    screened.erase(ours);
    delete stream;
}
