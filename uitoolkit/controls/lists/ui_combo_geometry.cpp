#include "uitoolkit/controls/lists/ui_combo_geometry.h"

#include <algorithm>

namespace SkinUI {

RECT PlaceDropDown(const RECT& box, SIZE size, const RECT& work) {
  const LONG width = size.cx > 0 ? size.cx : box.right - box.left;
  LONG height = std::max<LONG>(size.cy, 0);
  const LONG roomBelow = work.bottom - box.bottom;
  const LONG roomAbove = box.top - work.top;
  RECT rc = {};
  if (height <= roomBelow || (height > roomAbove && roomBelow >= roomAbove)) {
    height = std::min(height, std::max<LONG>(roomBelow, 0));
    rc.top = box.bottom;
    rc.bottom = box.bottom + height;
  } else {
    height = std::min(height, std::max<LONG>(roomAbove, 0));
    rc.bottom = box.top;
    rc.top = box.top - height;
  }
  LONG left = box.left;
  if (left + width > work.right) left = work.right - width;
  if (left < work.left) left = work.left;
  rc.left = left;
  rc.right = left + width;
  return rc;
}

RECT ComboArrowRect(const RECT& box) {
  const LONG width = std::min(box.bottom - box.top, (box.right - box.left) / 2);
  return RECT{box.right - width, box.top, box.right, box.bottom};
}

RECT ComboTextRect(const RECT& box, const RECT& padding) {
  const RECT arrow = ComboArrowRect(box);
  RECT rc = {box.left + padding.left, box.top + padding.top, arrow.left - padding.right,
             box.bottom - padding.bottom};
  if (rc.right < rc.left) rc.right = rc.left;
  if (rc.bottom < rc.top) rc.bottom = rc.top;
  return rc;
}

}  // namespace SkinUI
