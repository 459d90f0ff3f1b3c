#include "render/texture.hpp"

#include <iostream>

#include <glad/gl.h>

#include "render/image.hpp"

unsigned int textureFormatForChannels(int channels) {
    switch (channels) {
    case 1:
        return GL_RED;
    case 2:
        return GL_RG;
    case 3:
        return GL_RGB;
    default:
        return GL_RGBA;
    }
}

namespace {

// Generates the name first so a failed decode still hands one back; only
// the message names the file as the caller knows it.
unsigned int loadTexture2D(const char* fullPath, const char* reportedName) {
    unsigned int textureId = 0;
    glGenTextures(1, &textureId);

    Image image;
    if (readImageFile(fullPath, 0, image)) {
        const int width = image.width, height = image.height, channels = image.channels;
        GLenum format = textureFormatForChannels(channels);
        glBindTexture(GL_TEXTURE_2D, textureId);
        glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                     GL_UNSIGNED_BYTE, image.pixels.data());
        // One channel is grey and two are grey and alpha; without a swizzle
        // they would sample as red, and as red and green.
        if (channels == 1 || channels == 2) {
            const GLint grey[4] = {GL_RED, GL_RED, GL_RED, channels == 2 ? GL_GREEN : GL_ONE};
            glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, grey);
        }
        glGenerateMipmap(GL_TEXTURE_2D);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        // A single texel samples as itself under any filter; nearest spares
        // a software renderer the level and weight arithmetic per pixel.
        const bool oneTexel = width == 1 && height == 1;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        oneTexel ? GL_NEAREST : GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, oneTexel ? GL_NEAREST : GL_LINEAR);
    } else {
        std::cout << "Texture failed to load at path: " << reportedName << std::endl;
    }
    return textureId;
}

} // namespace

unsigned int loadTextureFromDirectory(const char* fileName, const std::string& directory) {
    std::string fullPath = directory + "/" + fileName;
    return loadTexture2D(fullPath.c_str(), fileName);
}

unsigned int loadTextureFile(const char* path) {
    return loadTexture2D(path, path);
}

bool textureHasAlpha(unsigned int textureId) {
    GLint format = 0;
    glBindTexture(GL_TEXTURE_2D, textureId);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    return format == GL_RG || format == GL_RGBA;
}
