// The one translation unit of the Windows build that holds tinygltf's code
// (on Linux it comes from Debian's shared library instead).
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>
