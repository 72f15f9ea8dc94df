// The combo box's pure arithmetic: where the drop-down goes.
#include <gtest/gtest.h>

#include "uitoolkit/controls/lists/ui_combo_geometry.h"

namespace SkinUI {
namespace {

bool Same(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Below when it fits, above when only that fits, else on the larger side cut to it; kept inside
// the work area sideways; width 0 takes the box's width.
TEST(ComboGeometry, PlaceDropDownTable) {
  const RECT work = {0, 0, 800, 600};
  struct Row {
    RECT box;
    SIZE size;
    RECT expected;
  } rows[] = {
      {{100, 100, 250, 124}, {0, 150}, {100, 124, 250, 274}},    // below, box width
      {{100, 100, 250, 124}, {300, 150}, {100, 124, 400, 274}},  // below, own width
      {{100, 500, 250, 524}, {0, 150}, {100, 350, 250, 500}},    // no room below: above
      {{100, 200, 250, 224}, {0, 500}, {100, 224, 250, 600}},    // neither: below is larger, cut
      {{100, 400, 250, 424}, {0, 500}, {100, 0, 250, 400}},      // neither: above is larger, cut
      {{700, 100, 790, 124}, {200, 100}, {600, 124, 800, 224}},  // pushed left at the right edge
      {{-50, 100, 50, 124}, {0, 100}, {0, 124, 100, 224}},       // pushed right at the left edge
      {{100, 426, 250, 450}, {0, 150}, {100, 450, 250, 600}},    // exactly fits below
  };
  for (const Row& row : rows) {
    const RECT got = PlaceDropDown(row.box, row.size, work);
    EXPECT_TRUE(Same(got, row.expected))
        << "box top " << row.box.top << ": got " << got.left << "," << got.top << ","
        << got.right << "," << got.bottom;
  }
}

}  // namespace
}  // namespace SkinUI
