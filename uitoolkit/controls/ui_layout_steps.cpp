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

LONG ScrollDeltaToShow(LONG itemStart, LONG itemEnd, LONG clientStart, LONG clientEnd) {
  if (itemStart < clientStart) return itemStart - clientStart;
  if (itemEnd > clientEnd) return std::min(itemEnd - clientEnd, itemStart - clientStart);
  return 0;
}

LONG WheelScrollStep(UINT wheelLines, LONG lineSize, LONG page) {
  if (wheelLines == WHEEL_PAGESCROLL) return page;
  return static_cast<LONG>(std::min<UINT>(wheelLines, 100)) * lineSize;
}

RECT SeparatorStrip(const RECT& item, int separator, bool horizontal) {
  if (separator == 0) return RECT{0, 0, 0, 0};
  RECT strip = item;
  const LONG thickness = separator > 0 ? separator : -separator;
  LONG& start = horizontal ? strip.left : strip.top;
  LONG& end = horizontal ? strip.right : strip.bottom;
  if (separator > 0) {
    start = std::max(start, end - thickness);
  } else {
    end = std::min(end, start + thickness);
  }
  return strip;
}

LONG SeparatorDragExtent(LONG startExtent, LONG delta, bool trailing, LONG minimum,
                         LONG maximum) {
  const LONG wanted = trailing ? startExtent + delta : startExtent - delta;
  return std::max<LONG>(ClampExtent(wanted, minimum, maximum), 0);
}

RECT SeparatorDraggedItem(const RECT& item, LONG extent, int separator, bool horizontal) {
  RECT moved = item;
  if (separator > 0) {
    (horizontal ? moved.right : moved.bottom) = (horizontal ? item.left : item.top) + extent;
  } else {
    (horizontal ? moved.left : moved.top) = (horizontal ? item.right : item.bottom) - extent;
  }
  return moved;
}

}  // namespace SkinUI
