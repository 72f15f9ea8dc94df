// The combo box's arithmetic as pure functions: where its drop-down goes on the screen and the
// parts of its box. (Where a key moves the selection is the list's NextRowForKey.)
#pragma once

#include <windows.h>

namespace SkinUI {

// The drop-down's screen rectangle for a box at `box` (screen coordinates) within the monitor's
// work area `work`: `size.cx` wide (0: as wide as the box) and `size.cy` high, below the box
// when it fits there, else above it when it fits there, else on the side with more room, cut
// to that room. Moved left or right as little as keeps it inside the work area.
RECT PlaceDropDown(const RECT& box, SIZE size, const RECT& work);

// The box's arrow part: a square as high as the box at its right edge, at most half its width.
RECT ComboArrowRect(const RECT& box);
// The text part: the box without the arrow part and without `padding`.
RECT ComboTextRect(const RECT& box, const RECT& padding);

}  // namespace SkinUI
