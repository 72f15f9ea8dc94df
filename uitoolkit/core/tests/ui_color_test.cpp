#include "uitoolkit/core/ui_color.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace SkinUI {
namespace {

// The platform colour form exchanges red and blue and drops alpha.
TEST(ToPlatformColor, SwapsRedAndBlue) {
  EXPECT_EQ(0x000000FFu, ToPlatformColor(0xFFFF0000u));
  EXPECT_EQ(0x00FF0000u, ToPlatformColor(0x800000FFu));
  EXPECT_EQ(0x00563412u, ToPlatformColor(0x12123456u));
}

struct PremultiplyCase {
  DWORD argb;
  DWORD expected;
};

// Premultiplication scales each colour channel by alpha / 255, truncating.
TEST(PremultiplyArgb, ScalesChannels) {
  const PremultiplyCase cases[] = {
      {0xFFFF8001u, 0xFFFF8001u},
      {0x80FF0000u, 0x80800000u},
      {0x00FFFFFFu, 0x00000000u},
      {0x40FFFFFFu, 0x40404040u},
  };
  for (const PremultiplyCase& row : cases) EXPECT_EQ(row.expected, PremultiplyArgb(row.argb));
}

int ChannelDistance(DWORD a, DWORD b) {
  return std::abs(ColorRed(a) - ColorRed(b)) + std::abs(ColorGreen(a) - ColorGreen(b)) +
         std::abs(ColorBlue(a) - ColorBlue(b));
}

// The neutral adjustment (180, 100, 100) returns the colour bit for bit.
TEST(AdjustColor, NeutralIsIdentity) {
  for (DWORD colour : {0x00000000u, 0xFF123456u, 0x80FEDCBAu, 0xFFFFFFFFu}) {
    EXPECT_EQ(colour, AdjustColor(colour, 180, 100, 100));
  }
}

struct AdjustCase {
  DWORD argb;
  short hue, saturation, lightness;
  DWORD expected;
};

// Hue turns by (hue - 180) degrees, wrapping; saturation and lightness scale by percent; alpha
// is kept.
TEST(AdjustColor, ShiftsHueAndScales) {
  const AdjustCase cases[] = {
      {0xFFFF0000u, 300, 100, 100, 0xFF00FF00u},  // red + 120 degrees = green
      {0xFFFF0000u, 60, 100, 100, 0xFF0000FFu},   // red - 120 degrees wraps to blue
      {0x80FF0000u, 0, 100, 100, 0x8000FFFFu},    // red - 180 degrees = cyan, alpha kept
      {0xFFFF0000u, 180, 0, 100, 0xFF808080u},    // no saturation: grey of the same lightness
      {0xFFFF0000u, 180, 100, 0, 0xFF000000u},    // no lightness: black
      {0xFFFF0000u, 180, 100, 200, 0xFFFFFFFFu},  // lightness doubled from 50 %: white
      {0xFF808080u, 270, 100, 100, 0xFF808080u},  // grey has no hue to turn
  };
  for (const AdjustCase& row : cases) {
    const DWORD adjusted = AdjustColor(row.argb, row.hue, row.saturation, row.lightness);
    EXPECT_EQ(ColorAlpha(row.expected), ColorAlpha(adjusted)) << std::hex << row.argb;
    EXPECT_LE(ChannelDistance(row.expected, adjusted), 3) << std::hex << row.argb << " -> "
                                                          << adjusted;
  }
}

}  // namespace
}  // namespace SkinUI
