// The PNG encoder of the tests, from stb_image_write.
#include "testsupport/png_writer.h"

#include <vector>

#include "common/unique_handle.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

namespace vesk {
namespace testing {
namespace {

void AppendBytes(void* context, void* data, int size) {
  static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                             static_cast<size_t>(size));
}

}  // namespace

std::string EncodeRgbaAsPng(const unsigned char* rgba, int width, int height) {
  std::string png;
  stbi_write_png_to_func(&AppendBytes, &png, width, height, 4, rgba, width * 4);
  return png;
}

std::string EncodeDibPixelsAsPng(const void* bgra, int width, int height) {
  const unsigned char* pixels = static_cast<const unsigned char*>(bgra);
  std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
  for (size_t i = 0; i < rgba.size(); i += 4) {
    rgba[i] = pixels[i + 2];
    rgba[i + 1] = pixels[i + 1];
    rgba[i + 2] = pixels[i];
    rgba[i + 3] = 255;
  }
  return EncodeRgbaAsPng(rgba.data(), width, height);
}

std::string DrawIntoPng(HDC reference, int width, int height,
                        const std::function<bool(HDC)>& draw) {
  if (width <= 0 || height <= 0) return std::string();
  vesk::UniqueMemoryDC memory(::CreateCompatibleDC(reference));
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  vesk::UniqueBitmap bitmap(
      ::CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!memory || !bitmap || bits == nullptr) return std::string();
  {
    vesk::ScopedSelectObject select(memory.get(), bitmap.get());
    if (!draw(memory.get())) return std::string();
  }
  ::GdiFlush();
  return EncodeDibPixelsAsPng(bits, width, height);
}

}  // namespace testing
}  // namespace vesk
