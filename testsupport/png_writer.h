// The tests' one PNG encoder (golden images, saved screenshots).
#pragma once

#include <string>

namespace vesk {
namespace testing {

// The PNG file of a top-down image of `width` x `height` pixels, 4 bytes each (R, G, B, A).
std::string EncodeRgbaAsPng(const unsigned char* rgba, int width, int height);
// The PNG file of a top-down 32-bit device-independent bitmap's pixels (B, G, R, unused), opaque.
std::string EncodeDibPixelsAsPng(const void* bgra, int width, int height);

}  // namespace testing
}  // namespace vesk
