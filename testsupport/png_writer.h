// The tests' one PNG encoder (golden images, saved screenshots).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vesk {
namespace testing {

// The PNG file of a top-down image of `width` x `height` pixels, 4 bytes each (R, G, B, A).
std::string EncodeRgbaAsPng(const unsigned char* rgba, int width, int height);
// The PNG file of a top-down 32-bit device-independent bitmap's pixels (B, G, R, unused), opaque.
std::string EncodeDibPixelsAsPng(const void* bgra, int width, int height);
// Lets `draw` paint into a fresh top-down 32-bit bitmap of `width` x `height` pixels, selected
// into a memory DC compatible with `reference`, and answers the bitmap as a PNG file. Empty when
// the size is empty, the bitmap cannot be made or `draw` answers false.
std::string DrawIntoPng(HDC reference, int width, int height,
                        const std::function<bool(HDC)>& draw);

}  // namespace testing
}  // namespace vesk
