#pragma once
// Image files to 2-D OpenGL textures, decoded with stb_image.
#include <string>

// Internal and pixel format for an 8-bit image of the given channel count:
// GL_RED, GL_RG (grey and alpha), GL_RGB or GL_RGBA.
unsigned int textureFormatForChannels(int channels);

// A material's texture, found at directory + "/" + fileName. Returns the new
// texture name, also when the file could not be read (after a console line).
unsigned int loadTextureFromDirectory(const char* fileName, const std::string& directory);

// A texture file by its path as given; same rules as above.
unsigned int loadTextureFile(const char* path);

// Whether a loaded texture carries alpha (grey and alpha, or RGBA): a
// surface drawn with it may be see-through and must be blended.
bool textureHasAlpha(unsigned int textureId);
