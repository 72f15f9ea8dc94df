#include "uitoolkit/controls/ui_control_geometry.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

namespace SkinUI {
namespace {

LONG Clamp64(std::int64_t value) {
  return static_cast<LONG>(std::min<std::int64_t>(std::max<std::int64_t>(value, LONG_MIN),
                                                  LONG_MAX));
}

}  // namespace

LONG ScaleExtent(LONG extent, double fraction) {
  const double scaled = std::trunc(static_cast<double>(extent) * fraction);
  if (std::isnan(scaled)) return 0;
  if (scaled <= static_cast<double>(LONG_MIN)) return LONG_MIN;
  if (scaled >= static_cast<double>(LONG_MAX)) return LONG_MAX;
  return static_cast<LONG>(scaled);
}

LONG SaturatedAdd(LONG a, LONG b) {
  return Clamp64(static_cast<std::int64_t>(a) + static_cast<std::int64_t>(b));
}

LONG SaturatedSubtract(LONG a, LONG b) {
  return Clamp64(static_cast<std::int64_t>(a) - static_cast<std::int64_t>(b));
}

RECT NormalizeSize(RECT rc) {
  rc.right = std::max(rc.right, rc.left);
  rc.bottom = std::max(rc.bottom, rc.top);
  return rc;
}

RECT FloatRectInParent(SIZE parentSize, SIZE fixedXY, SIZE fixedSize,
                       const TPercentInfo& percent) {
  const LONG left = SaturatedAdd(ScaleExtent(parentSize.cx, percent.left), fixedXY.cx);
  const LONG top = SaturatedAdd(ScaleExtent(parentSize.cy, percent.top), fixedXY.cy);
  const LONG right = SaturatedAdd(
      SaturatedAdd(ScaleExtent(parentSize.cx, percent.right), fixedXY.cx), fixedSize.cx);
  const LONG bottom = SaturatedAdd(
      SaturatedAdd(ScaleExtent(parentSize.cy, percent.bottom), fixedXY.cy), fixedSize.cy);
  return RECT{left, top, right, bottom};
}

void FixedFromFloatRect(const RECT& rcRelative, SIZE parentSize, const TPercentInfo& percent,
                        SIZE& fixedXY, SIZE& fixedSize) {
  fixedXY.cx = SaturatedSubtract(rcRelative.left, ScaleExtent(parentSize.cx, percent.left));
  fixedXY.cy = SaturatedSubtract(rcRelative.top, ScaleExtent(parentSize.cy, percent.top));
  fixedSize.cx = SaturatedSubtract(
      SaturatedSubtract(rcRelative.right, ScaleExtent(parentSize.cx, percent.right)), fixedXY.cx);
  fixedSize.cy = SaturatedSubtract(
      SaturatedSubtract(rcRelative.bottom, ScaleExtent(parentSize.cy, percent.bottom)),
      fixedXY.cy);
}

SIZE ClampSize(SIZE size, SIZE minimum, SIZE maximum) {
  size.cx = std::min(std::max(size.cx, minimum.cx), maximum.cx);
  size.cy = std::min(std::max(size.cy, minimum.cy), maximum.cy);
  return size;
}

void FixedFromPos(const RECT& pos, SIZE& fixedXY, SIZE& fixedSize) {
  fixedXY = SIZE{pos.left, pos.top};
  fixedSize = SIZE{SaturatedSubtract(pos.right, pos.left), SaturatedSubtract(pos.bottom, pos.top)};
}

int BorderSideLines(const RECT& rcItem, const RECT& sizes, TBorderLine lines[4]) {
  // A pen of width w centred on x covers x - w/2 .. x + (w-1)/2, so a side covering the w pixels
  // inside the edge lies at left + w/2 and at right - w + w/2 (right and bottom are exclusive).
  int count = 0;
  if (sizes.left > 0) {
    const LONG x = rcItem.left + sizes.left / 2;
    lines[count++] = TBorderLine{RECT{x, rcItem.top, x, rcItem.bottom}, static_cast<int>(sizes.left)};
  }
  const LONG innerLeft = rcItem.left + std::max<LONG>(sizes.left, 0);
  const LONG innerRight = rcItem.right - std::max<LONG>(sizes.right, 0);
  if (sizes.top > 0) {
    const LONG y = rcItem.top + sizes.top / 2;
    lines[count++] = TBorderLine{RECT{innerLeft, y, innerRight, y}, static_cast<int>(sizes.top)};
  }
  if (sizes.right > 0) {
    const LONG x = rcItem.right - sizes.right + sizes.right / 2;
    lines[count++] = TBorderLine{RECT{x, rcItem.top, x, rcItem.bottom}, static_cast<int>(sizes.right)};
  }
  if (sizes.bottom > 0) {
    const LONG y = rcItem.bottom - sizes.bottom + sizes.bottom / 2;
    lines[count++] =
        TBorderLine{RECT{innerLeft, y, innerRight, y}, static_cast<int>(sizes.bottom)};
  }
  return count;
}

}  // namespace SkinUI
