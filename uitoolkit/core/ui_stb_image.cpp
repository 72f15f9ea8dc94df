// The stb_image decoder, compiled once for the image loader (memory input only; nothing reads
// its failure reasons, so they are left out).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_FAILURE_STRINGS
#include <stb_image.h>
