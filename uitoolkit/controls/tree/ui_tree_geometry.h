// The arithmetic of a tree row and of its check boxes as pure functions: where the toggle, the
// check box and the text of a node's row lie, and the check state a folder takes from its
// children.
#pragma once

#include <windows.h>

namespace SkinUI {

// The columns of a row, left to right after the indentation: the expand/collapse toggle (kept
// for every node, so that texts of one depth line up), the check box when the tree shows them,
// then the text and the row's own controls.
constexpr int kTreeToggleWidth = 16;
constexpr int kTreeCheckWidth = 20;
constexpr int kDefaultTreeIndent = 16;

struct TTreeRowParts {
  RECT toggle;  // the toggle's column, the whole row high
  RECT check;   // the check box's column; empty without check boxes
  RECT text;    // from after the check box to the row's right edge
};

// The parts of a row `row` of a node at `depth` (0: a top-level node) indented by `indent`
// pixels a level, with or without a check box.
TTreeRowParts TreeRowPartsFor(const RECT& row, int depth, int indent, bool checkBoxes);

// A square of `size` pixels centred in `rc` (where a toggle's or check box's glyph or image is
// drawn).
RECT CenteredSquare(const RECT& rc, int size);

enum class TreeCheckState { kUnchecked, kChecked, kMixed };

// The state of a folder whose children hold `checked` checked and `mixed` mixed ones out of
// `total` (> 0): checked when all are checked, unchecked when none is checked or mixed, else
// mixed.
TreeCheckState FolderCheckState(int checked, int mixed, int total);

}  // namespace SkinUI
