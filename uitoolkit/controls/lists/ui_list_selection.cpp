#include "uitoolkit/controls/lists/ui_list_selection.h"

#include <algorithm>

#include "uitoolkit/controls/ui_event.h"

namespace SkinUI {

ListSelectMode SelectModeFor(WORD keyState, bool multiSelect) {
  if (!multiSelect) return ListSelectMode::kSingle;
  if ((keyState & UIKEYSTATE_SHIFT) != 0) return ListSelectMode::kRange;
  if ((keyState & UIKEYSTATE_CONTROL) != 0) return ListSelectMode::kToggle;
  return ListSelectMode::kSingle;
}

int PageRowsFor(int clientHeight, int rowHeight) {
  if (rowHeight <= 0) return 1;
  return std::max(1, clientHeight / rowHeight);
}

int NextRowForKey(UINT key, int current, int count, int pageRows) {
  if (count <= 0) return -1;
  const int pageStep = std::max(1, pageRows - 1);
  int next;
  switch (key) {
    case VK_UP:
      next = current < 0 ? 0 : current - 1;
      break;
    case VK_DOWN:
      next = current < 0 ? 0 : current + 1;
      break;
    case VK_PRIOR:
      next = current < 0 ? 0 : current - pageStep;
      break;
    case VK_NEXT:
      next = current < 0 ? 0 : current + pageStep;
      break;
    case VK_HOME:
      next = 0;
      break;
    case VK_END:
      next = count - 1;
      break;
    default:
      return -1;
  }
  return std::min(std::max(next, 0), count - 1);
}

TRowRange RangeFromAnchor(int anchor, int target) {
  if (anchor < 0) return TRowRange{target, target};
  return TRowRange{std::min(anchor, target), std::max(anchor, target)};
}

int ElementHeightFor(int fixedHeight, int listItemHeight, int fontHeight) {
  if (fixedHeight > 0) return fixedHeight;
  if (listItemHeight > 0) return listItemHeight;
  return std::max(16, fontHeight + 8);
}

}  // namespace SkinUI
