// Colour values: 32-bit ARGB (alpha in the top byte), their platform form, and the global
// hue/saturation/lightness adjustment.
#pragma once

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

inline BYTE ColorAlpha(DWORD argb) { return static_cast<BYTE>(argb >> 24); }
inline BYTE ColorRed(DWORD argb) { return static_cast<BYTE>(argb >> 16); }
inline BYTE ColorGreen(DWORD argb) { return static_cast<BYTE>(argb >> 8); }
inline BYTE ColorBlue(DWORD argb) { return static_cast<BYTE>(argb); }
inline DWORD MakeArgb(BYTE alpha, BYTE red, BYTE green, BYTE blue) {
  return (static_cast<DWORD>(alpha) << 24) | (static_cast<DWORD>(red) << 16) |
         (static_cast<DWORD>(green) << 8) | blue;
}

// The platform's text and pen colour form 0x00BBGGRR: red and blue exchanged, alpha dropped.
inline DWORD ToPlatformColor(DWORD argb) {
  return (static_cast<DWORD>(ColorBlue(argb)) << 16) | (static_cast<DWORD>(ColorGreen(argb)) << 8) |
         ColorRed(argb);
}

// The colour as a premultiplied BGRA pixel (as a little-endian 32-bit value): each colour
// channel scaled by alpha / 255, truncating.
DWORD PremultiplyArgb(DWORD argb);

// Unchanged for (180, 100, 100). Otherwise the colour's hue is shifted by (hue - 180) degrees
// (wrapped into 0..360), its saturation and lightness scaled by the given percentages (and
// limited to 100 %), and the result converted back. Alpha is kept.
DWORD AdjustColor(DWORD argb, short hue, short saturation, short lightness);

}  // namespace SkinUI
