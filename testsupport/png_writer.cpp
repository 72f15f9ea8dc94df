// The PNG encoder of the tests, from stb_image_write.
#include "testsupport/png_writer.h"

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

}  // namespace testing
}  // namespace vesk
