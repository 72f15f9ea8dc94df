// Position arithmetic of controls, as small pure steps: sizes made non-negative, float controls
// placed from their percent anchors and back, clamping to minimum and maximum sizes, and the
// lines of a border whose sides differ.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_event.h"

namespace SkinUI {

// trunc(extent * fraction), limited to the LONG range; 0 for a fraction that is not a number.
LONG ScaleExtent(LONG extent, double fraction);

// `a + b` and `a - b` limited to the LONG range.
LONG SaturatedAdd(LONG a, LONG b);
LONG SaturatedSubtract(LONG a, LONG b);

// The rectangle with right >= left and bottom >= top.
RECT NormalizeSize(RECT rc);

// Where a float control with fixed XY `fixedXY`, fixed size `fixedSize` and anchors `percent`
// lies inside a parent of `parentSize`, relative to the parent's top-left corner.
RECT FloatRectInParent(SIZE parentSize, SIZE fixedXY, SIZE fixedSize, const TPercentInfo& percent);

// The fixed XY and fixed size that reproduce `rcRelative` (relative to the parent's top-left)
// in a parent of `parentSize` with anchors `percent`: the inverse of FloatRectInParent.
void FixedFromFloatRect(const RECT& rcRelative, SIZE parentSize, const TPercentInfo& percent,
                        SIZE& fixedXY, SIZE& fixedSize);

// `size` limited to [minimum, maximum] in each dimension.
SIZE ClampSize(SIZE size, SIZE minimum, SIZE maximum);

// The `pos` attribute "l,t,r,b" as fixed XY (l, t) and fixed size (r - l, b - t).
void FixedFromPos(const RECT& pos, SIZE& fixedXY, SIZE& fixedSize);

// One border side drawn as a line of `width` pixels from (line.left, line.top) to
// (line.right, line.bottom).
struct TBorderLine {
  RECT line;
  int width;
};

// The lines of a border with per-side widths `sizes` around `rcItem`, each along the inside of
// its edge: left, top, right, bottom, for the sides with a positive width. Returns the number
// of lines written into `lines`.
int BorderSideLines(const RECT& rcItem, const RECT& sizes, TBorderLine lines[4]);

}  // namespace SkinUI
