// The arithmetic of containers and box layouts as small pure steps: the client area, the share
// of stretchable children, the remainder the last stretchable child absorbs, the breadth of a
// child across the layout's axis and its place by the child alignment.
#pragma once

#include <windows.h>

namespace SkinUI {

// The item rectangle shrunk by `inset`, minus `verticalBarWidth` on the right and
// `horizontalBarHeight` at the bottom (0 for a bar that is hidden or missing).
RECT ContainerClientArea(const RECT& rcItem, const RECT& inset, LONG verticalBarWidth,
                         LONG horizontalBarHeight);

// `value` limited to [minimum, maximum]; the maximum wins when they cross.
LONG ClampExtent(LONG value, LONG minimum, LONG maximum);

// What a child may take along one axis: the available extent, limited by the fixed extent when
// one is set, else by the maximum.
LONG ChildAvailableExtent(LONG available, LONG fixedExtent, LONG maximumExtent);

// The extent each stretchable child gets: what the fixed children leave, shared evenly
// (integer division), never negative; 0 without stretchable children.
LONG StretchShare(LONG available, LONG fixedTotal, int stretchableCount);

// The extent of the last stretchable child: everything still remaining after its trailing
// padding and the fixed children after it, never negative.
LONG LastStretchExtent(LONG remaining, LONG trailingPadding, LONG remainingFixed);

// The breadth of a child across the layout's axis: its maximum (or, when that is 0, the whole
// available breadth minus both paddings), limited to what the child may take, then raised to
// its minimum.
LONG CrossExtent(LONG maximumExtent, LONG availableBreadth, LONG leadingPadding,
                 LONG trailingPadding, LONG childAvailable, LONG minimumExtent);

// Placement of a child across the layout's axis.
enum class TCrossAlign { Start, Center, End };

// The child alignment values of `childalign` (0 left, 1 center, 2 right) and `childvalign`
// (0 top, 4 vcenter, 8 bottom) as placements; other values place at the start.
TCrossAlign CrossAlignFromChildAlign(UINT childAlign);
TCrossAlign CrossAlignFromChildVAlign(UINT childVAlign);

// One span along an axis.
struct TSpan {
  LONG from;
  LONG to;
};

// Where a child of breadth `extent` lies between `areaStart` and `areaEnd` across the layout's
// axis. A visible scroll bar along that axis (`scrolled`) shifts the place by its position and
// range. The centred child ignores its padding; the others keep it from the edge they sit at.
TSpan CrossSpan(TCrossAlign align, LONG areaStart, LONG areaEnd, bool scrolled,
                LONG scrollRange, LONG scrollPos, LONG leadingPadding, LONG trailingPadding,
                LONG extent);

// The scroll range a bar needs for content of `needed` in a client extent of `client`: the
// excess, or 0 when the content fits.
LONG ScrollRangeFor(LONG needed, LONG client);

}  // namespace SkinUI
