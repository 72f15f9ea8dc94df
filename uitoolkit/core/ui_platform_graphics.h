// The two drawing functions of "msimg32.dll" the renderer uses, looked up at run time, and the
// renderer's own per-pixel blend for when the platform has no AlphaBlend.
#pragma once

#include <windows.h>

#include "common/seam.h"

namespace SkinUI {

typedef BOOL(WINAPI* AlphaBlendFunction)(HDC, int, int, int, int, HDC, int, int, int, int,
                                          BLENDFUNCTION);
typedef BOOL(WINAPI* GradientFillFunction)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

struct TPlatformGraphics {
  AlphaBlendFunction alphaBlend;      // never null: the platform's, else OwnAlphaBlend
  GradientFillFunction gradientFill;  // null when the platform has none
};

// The functions in use: the platform's, looked up once per process.
const TPlatformGraphics& GetPlatformGraphics();

// Where GetPlatformGraphics takes the table from; tests replace it to see the paths taken when
// the platform lacks a function.
extern vesk::Seam<const TPlatformGraphics& (*)()> g_platformGraphics;

// Source-over blending with the same arguments and results as AlphaBlend: the source part is
// scaled to the destination (each destination pixel takes the source pixel under its centre),
// each source pixel weighted by the constant alpha
// and, with AC_SRC_ALPHA, by its own (premultiplied) alpha. Source pixels come from the bitmap
// selected into `sourceDC`; destination pixels whose source lies outside that bitmap are left
// unchanged. Clipping of the destination applies.
BOOL WINAPI OwnAlphaBlend(HDC destinationDC, int xDestination, int yDestination,
                          int widthDestination, int heightDestination, HDC sourceDC, int xSource,
                          int ySource, int widthSource, int heightSource, BLENDFUNCTION blend);

}  // namespace SkinUI
