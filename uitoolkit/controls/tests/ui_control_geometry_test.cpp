// Position arithmetic of controls as pure steps.
#include "uitoolkit/controls/ui_control_geometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

namespace SkinUI {
namespace {

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Scaling truncates toward zero and stays inside the LONG range for any fraction.
TEST(ControlGeometry, ScaleExtentTruncatesAndSaturates) {
  EXPECT_EQ(30, ScaleExtent(61, 0.5));
  EXPECT_EQ(-30, ScaleExtent(61, -0.5));
  EXPECT_EQ(LONG_MAX, ScaleExtent(1000, 1e12));
  EXPECT_EQ(LONG_MIN, ScaleExtent(1000, -1e12));
  EXPECT_EQ(0, ScaleExtent(1000, std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(LONG_MAX, SaturatedSubtract(LONG_MAX, -1));
  EXPECT_EQ(LONG_MIN, SaturatedAdd(LONG_MIN, -1));
}

struct AnchorCase {
  SIZE parent;
  TPercentInfo percent;
  RECT relative;
};

// Placing from anchors and recomputing fixed values from the placed rectangle are inverses.
TEST(ControlGeometry, FloatPlacementRoundTrips) {
  const AnchorCase cases[] = {
      {{100, 40}, {0, 0, 0, 0}, {10, 5, 30, 15}},
      {{61, 33}, {0.5, 0, 1, 0.5}, {40, 5, 91, 31}},
      {{200, 80}, {0.25, 0.25, 0.75, 0.75}, {60, 25, 160, 65}},
  };
  for (const AnchorCase& row : cases) {
    SIZE xy, size;
    FixedFromFloatRect(row.relative, row.parent, row.percent, xy, size);
    EXPECT_TRUE(SameRect(row.relative, FloatRectInParent(row.parent, xy, size, row.percent)))
        << row.parent.cx;
  }
}

// Sizes are clamped and made non-negative.
TEST(ControlGeometry, ClampAndNormalize) {
  const SIZE clamped = ClampSize(SIZE{5, 500}, SIZE{10, 0}, SIZE{100, 200});
  EXPECT_EQ(10, clamped.cx);
  EXPECT_EQ(200, clamped.cy);
  EXPECT_TRUE(SameRect(RECT{5, 5, 5, 9}, NormalizeSize(RECT{5, 5, 1, 9})));
}

// Border sides lie along the inside of their edges: the top and bottom lines run between the
// left and right widths, and odd right and bottom widths stay inside the rectangle.
TEST(ControlGeometry, BorderSideLinesStayInside) {
  TBorderLine lines[4];
  ASSERT_EQ(4, BorderSideLines(RECT{0, 0, 40, 30}, RECT{1, 2, 3, 4}, lines));
  EXPECT_TRUE(SameRect(RECT{0, 0, 0, 30}, lines[0].line));
  EXPECT_TRUE(SameRect(RECT{1, 1, 37, 1}, lines[1].line));
  EXPECT_TRUE(SameRect(RECT{38, 0, 38, 30}, lines[2].line));
  EXPECT_TRUE(SameRect(RECT{1, 28, 37, 28}, lines[3].line));
  EXPECT_EQ(3, lines[2].width);
  EXPECT_EQ(2, BorderSideLines(RECT{0, 0, 40, 30}, RECT{0, 1, 0, 1}, lines));
  EXPECT_TRUE(SameRect(RECT{0, 29, 40, 29}, lines[1].line));
}

}  // namespace
}  // namespace SkinUI
