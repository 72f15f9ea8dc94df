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

// How far to scroll along one axis so that the span [itemStart, itemEnd) comes into the client
// span [clientStart, clientEnd): 0 when it is inside; otherwise the least move that brings it in,
// its start first when it is longer than the client span.
LONG ScrollDeltaToShow(LONG itemStart, LONG itemEnd, LONG clientStart, LONG clientEnd);

// The distance one wheel notch scrolls: `wheelLines` lines of `lineSize`, or one `page` when the
// user chose page scrolling (WHEEL_PAGESCROLL).
LONG WheelScrollStep(UINT wheelLines, LONG lineSize, LONG page);

// The separator strip of a box layout over `item`: |separator| pixels at the trailing edge
// (bottom, or right when `horizontal`) for a positive separator, at the leading edge (top, left)
// for a negative one; empty for 0.
RECT SeparatorStrip(const RECT& item, int separator, bool horizontal);

// The layout's extent after its separator was dragged `delta` pixels along the axis from an
// extent of `startExtent`: a trailing strip grows with the pointer, a leading one shrinks; kept
// within [minimum, maximum] (the maximum wins when they cross) and never negative.
LONG SeparatorDragExtent(LONG startExtent, LONG delta, bool trailing, LONG minimum,
                         LONG maximum);

// Where the layout over `item` would lie with `extent` along its axis: the edge opposite its
// separator stays.
RECT SeparatorDraggedItem(const RECT& item, LONG extent, int separator, bool horizontal);

}  // namespace SkinUI
