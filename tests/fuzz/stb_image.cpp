// stb_image's decoders built into the image target itself, so that the
// fuzzer's coverage guides it inside them and the sanitizers watch them
// there. The game links Debian's libstb, which holds the same code.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
