#include "uitoolkit/controls/layouts/ui_tab_selection.h"

namespace SkinUI {

int SelectionAfterInsert(int selected, int index) {
  if (selected < 0) return index;
  return index <= selected ? selected + 1 : selected;
}

int SelectionAfterRemove(int selected, int index, int count) {
  if (count <= 0) return -1;
  if (index < selected) return selected - 1;
  if (index > selected) return selected;
  return index < count ? index : count - 1;
}

}  // namespace SkinUI
