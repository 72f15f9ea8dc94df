// The arithmetic of a list's selection and rows as pure functions: where a key moves the caret,
// how many rows a page holds, which rows a range selection covers, which rows meet a band of
// the window, and how tall an element is.
#pragma once

#include <windows.h>

namespace SkinUI {

// What a click or a moving key does to the selection, from the modifier keys held.
enum class ListSelectMode {
  kSingle,  // the target alone
  kToggle,  // Ctrl: the target flips, the others stay (multiple selection only)
  kRange,   // Shift: the rows from the anchor to the target, alone
};

// The mode for the modifier bits (UIKEYSTATE_SHIFT, UIKEYSTATE_CONTROL) of an event; a list
// without multiple selection always selects alone.
ListSelectMode SelectModeFor(WORD keyState, bool multiSelect);

// The rows a page of `clientHeight` pixels shows whole with rows of `rowHeight`; at least 1.
int PageRowsFor(int clientHeight, int rowHeight);

// The row the caret moves to for a navigation key (VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_HOME,
// VK_END) from `current` (-1: none yet) among `count` rows, with `pageRows` rows a page (a page
// key moves one row less than a page, so that one row stays in view); -1 for other keys or
// an empty list. The result stays within the rows.
int NextRowForKey(UINT key, int current, int count, int pageRows);

// First and last row of a range selection from `anchor` to `target` (in either order); an
// anchor of -1 selects the target alone.
struct TRowRange {
  int first;
  int last;
};
TRowRange RangeFromAnchor(int anchor, int target);

// The first of `count` rows, whose tops `rowTop(i)` never decrease, whose bottom `rowBottom(i)`
// is below `y`; `count` when there is none. Binary search: painting and hit tests look only
// at the rows in view.
template <class RowBottom>
int FirstRowEndingBelow(int count, int y, RowBottom rowBottom) {
  int low = 0;
  int high = count;
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (rowBottom(middle) > y) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return low;
}

// An element's height: its own fixed height, else the list's item height, else one from the
// font's height (the font height and a margin of 4 pixels above and below, at least 16).
int ElementHeightFor(int fixedHeight, int listItemHeight, int fontHeight);

}  // namespace SkinUI
