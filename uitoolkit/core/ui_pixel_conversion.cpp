#include "uitoolkit/core/ui_pixel_conversion.h"

namespace SkinUI {

bool ConvertRgbaToPremultipliedBgra(const std::uint8_t* rgba, std::size_t pixelCount, DWORD mask,
                                    std::uint8_t* premultiplied, std::uint8_t* straight) {
  bool hasAlpha = false;
  for (std::size_t i = 0; i < pixelCount; ++i) {
    const std::uint8_t* in = rgba + i * 4;
    std::uint8_t* out = premultiplied + i * 4;
    const std::uint8_t red = in[0], green = in[1], blue = in[2], alpha = in[3];
    const DWORD argb = (static_cast<DWORD>(alpha) << 24) | (static_cast<DWORD>(red) << 16) |
                       (static_cast<DWORD>(green) << 8) | blue;
    if (argb == mask) {
      out[0] = out[1] = out[2] = out[3] = 0;
      if (straight != nullptr) {
        std::uint8_t* copy = straight + i * 4;
        copy[0] = copy[1] = copy[2] = copy[3] = 0;
      }
      hasAlpha = true;
      continue;
    }
    if (alpha < 255) {
      out[0] = static_cast<std::uint8_t>(blue * alpha / 255);
      out[1] = static_cast<std::uint8_t>(green * alpha / 255);
      out[2] = static_cast<std::uint8_t>(red * alpha / 255);
      hasAlpha = true;
    } else {
      out[0] = blue;
      out[1] = green;
      out[2] = red;
    }
    out[3] = alpha;
    if (straight != nullptr) {
      std::uint8_t* copy = straight + i * 4;
      copy[0] = blue;
      copy[1] = green;
      copy[2] = red;
      copy[3] = alpha;
    }
  }
  return hasAlpha;
}

}  // namespace SkinUI
