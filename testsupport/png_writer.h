// The tests' one PNG encoder (golden images, saved screenshots).
#pragma once

#include <string>

namespace vesk {
namespace testing {

// The PNG file of a top-down image of `width` x `height` pixels, 4 bytes each (R, G, B, A).
std::string EncodeRgbaAsPng(const unsigned char* rgba, int width, int height);

}  // namespace testing
}  // namespace vesk
