#include "uitoolkit/controls/tree/ui_tree_geometry.h"

#include <algorithm>

namespace SkinUI {

TTreeRowParts TreeRowPartsFor(const RECT& row, int depth, int indent, bool checkBoxes) {
  TTreeRowParts parts;
  const LONG left = std::min<LONG>(row.right, row.left + std::max(depth, 0) * std::max(indent, 0));
  const LONG toggleRight = std::min<LONG>(row.right, left + kTreeToggleWidth);
  parts.toggle = RECT{left, row.top, toggleRight, row.bottom};
  const LONG checkRight =
      checkBoxes ? std::min<LONG>(row.right, toggleRight + kTreeCheckWidth) : toggleRight;
  parts.check = RECT{toggleRight, row.top, checkRight, checkBoxes ? row.bottom : row.top};
  parts.text = RECT{checkRight, row.top, row.right, row.bottom};
  return parts;
}

RECT CenteredSquare(const RECT& rc, int size) {
  const LONG left = rc.left + (rc.right - rc.left - size) / 2;
  const LONG top = rc.top + (rc.bottom - rc.top - size) / 2;
  return RECT{left, top, left + size, top + size};
}

TreeCheckState FolderCheckState(int checked, int mixed, int total) {
  if (checked == total) return TreeCheckState::kChecked;
  if (checked == 0 && mixed == 0) return TreeCheckState::kUnchecked;
  return TreeCheckState::kMixed;
}

}  // namespace SkinUI
