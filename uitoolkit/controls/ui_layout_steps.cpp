#include "uitoolkit/controls/ui_layout_steps.h"

#include <algorithm>

namespace SkinUI {

RECT ContainerClientArea(const RECT& rcItem, const RECT& inset, LONG verticalBarWidth,
                         LONG horizontalBarHeight) {
  RECT rc = rcItem;
  rc.left += inset.left;
  rc.top += inset.top;
  rc.right -= inset.right;
  rc.bottom -= inset.bottom;
  rc.right -= verticalBarWidth;
  rc.bottom -= horizontalBarHeight;
  return rc;
}

LONG ClampExtent(LONG value, LONG minimum, LONG maximum) {
  return std::min(std::max(value, minimum), maximum);
}

LONG ChildAvailableExtent(LONG available, LONG fixedExtent, LONG maximumExtent) {
  return std::min(available, fixedExtent > 0 ? fixedExtent : maximumExtent);
}

LONG StretchShare(LONG available, LONG fixedTotal, int stretchableCount) {
  if (stretchableCount <= 0) return 0;
  return std::max<LONG>(0, (available - fixedTotal) / stretchableCount);
}

LONG LastStretchExtent(LONG remaining, LONG trailingPadding, LONG remainingFixed) {
  return std::max<LONG>(0, remaining - trailingPadding - remainingFixed);
}

LONG CrossExtent(LONG maximumExtent, LONG availableBreadth, LONG leadingPadding,
                 LONG trailingPadding, LONG childAvailable, LONG minimumExtent) {
  LONG extent = maximumExtent;
  if (extent == 0) extent = availableBreadth - leadingPadding - trailingPadding;
  extent = std::max<LONG>(extent, 0);
  extent = std::min(extent, childAvailable);
  return std::max(extent, minimumExtent);
}

TCrossAlign CrossAlignFromChildAlign(UINT childAlign) {
  if (childAlign == 1) return TCrossAlign::Center;
  if (childAlign == 2) return TCrossAlign::End;
  return TCrossAlign::Start;
}

TCrossAlign CrossAlignFromChildVAlign(UINT childVAlign) {
  if (childVAlign == 4) return TCrossAlign::Center;
  if (childVAlign == 8) return TCrossAlign::End;
  return TCrossAlign::Start;
}

TSpan CrossSpan(TCrossAlign align, LONG areaStart, LONG areaEnd, bool scrolled,
                LONG scrollRange, LONG scrollPos, LONG leadingPadding, LONG trailingPadding,
                LONG extent) {
  switch (align) {
    case TCrossAlign::Center: {
      LONG centre = (areaStart + areaEnd) / 2;
      if (scrolled) centre += scrollRange / 2 - scrollPos;
      const LONG from = centre - extent / 2;
      return TSpan{from, from + extent};
    }
    case TCrossAlign::End: {
      LONG edge = areaEnd;
      if (scrolled) edge += scrollRange - scrollPos;
      return TSpan{edge - trailingPadding - extent, edge - trailingPadding};
    }
    case TCrossAlign::Start:
    default: {
      LONG edge = areaStart;
      if (scrolled) edge -= scrollPos;
      return TSpan{edge + leadingPadding, edge + leadingPadding + extent};
    }
  }
}

LONG ScrollRangeFor(LONG needed, LONG client) { return std::max<LONG>(0, needed - client); }

}  // namespace SkinUI
