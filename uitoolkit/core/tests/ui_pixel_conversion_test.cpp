#include "uitoolkit/core/ui_pixel_conversion.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace SkinUI {
namespace {

struct PixelCase {
  std::uint8_t rgba[4];
  DWORD mask;
  std::uint8_t bgra[4];
  bool alpha;
};

// Opaque pixels are reordered, translucent ones premultiplied, pixels equal to the mask cleared;
// the latter two mark the image as having alpha.
TEST(ConvertRgbaToPremultipliedBgra, ConvertsEachPixel) {
  const PixelCase cases[] = {
      {{10, 20, 30, 255}, 0, {30, 20, 10, 255}, false},
      {{255, 0, 0, 128}, 0, {0, 0, 128, 128}, true},
      {{200, 100, 50, 0}, 0, {0, 0, 0, 0}, true},
      {{255, 0, 255, 255}, 0xFFFF00FFu, {0, 0, 0, 0}, true},
      {{255, 0, 254, 255}, 0xFFFF00FFu, {254, 0, 255, 255}, false},
      {{0, 0, 0, 0}, 0, {0, 0, 0, 0}, true},
      {{1, 2, 3, 255}, 0x00010203u, {3, 2, 1, 255}, false},  // mask compares alpha too
  };
  for (const PixelCase& row : cases) {
    std::uint8_t out[4] = {9, 9, 9, 9};
    std::uint8_t straight[4] = {9, 9, 9, 9};
    EXPECT_EQ(row.alpha, ConvertRgbaToPremultipliedBgra(row.rgba, 1, row.mask, out, straight));
    for (int c = 0; c < 4; ++c) EXPECT_EQ(row.bgra[c], out[c]) << c;
  }
}

// The straight copy keeps the colours before premultiplication; a null copy is allowed.
TEST(ConvertRgbaToPremultipliedBgra, KeepsAStraightCopy) {
  const std::uint8_t rgba[8] = {255, 0, 0, 128, 1, 2, 3, 255};
  std::uint8_t out[8];
  std::uint8_t straight[8];
  EXPECT_TRUE(ConvertRgbaToPremultipliedBgra(rgba, 2, 0, out, straight));
  const std::uint8_t expected[8] = {0, 0, 255, 128, 3, 2, 1, 255};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(expected[i], straight[i]) << i;
  EXPECT_FALSE(ConvertRgbaToPremultipliedBgra(rgba + 4, 1, 0, out, nullptr));
}

}  // namespace
}  // namespace SkinUI
