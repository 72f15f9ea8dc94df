// The PNG encoder of the tests, from stb_image_write.
#include "testsupport/png_writer.h"

#include <vector>

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

}  // namespace testing
}  // namespace vesk
