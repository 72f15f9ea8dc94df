// The layout arithmetic as pure steps.
#include "uitoolkit/controls/ui_layout_steps.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

struct SpanCase {
  TCrossAlign align;
  bool scrolled;
  LONG range, pos, lead, trail, extent;
  TSpan expected;
};

// Children sit at the start, centre or end of an area 10..110; a scroll bar across shifts them
// by its position (and the end and centre also by its range).
TEST(LayoutSteps, CrossSpansFollowAlignmentAndScrolling) {
  const SpanCase cases[] = {
      {TCrossAlign::Start, false, 0, 0, 3, 4, 20, {13, 33}},
      {TCrossAlign::Start, true, 50, 7, 3, 4, 20, {6, 26}},
      {TCrossAlign::Center, false, 0, 0, 3, 4, 21, {50, 71}},
      {TCrossAlign::Center, true, 50, 7, 3, 4, 20, {68, 88}},
      {TCrossAlign::End, false, 0, 0, 3, 4, 20, {86, 106}},
      {TCrossAlign::End, true, 50, 7, 3, 4, 20, {129, 149}},
  };
  for (const SpanCase& row : cases) {
    const TSpan span = CrossSpan(row.align, 10, 110, row.scrolled, row.range, row.pos, row.lead,
                                 row.trail, row.extent);
    EXPECT_EQ(row.expected.from, span.from) << static_cast<int>(row.align) << row.scrolled;
    EXPECT_EQ(row.expected.to, span.to) << static_cast<int>(row.align) << row.scrolled;
  }
}

// Shares never go negative, the last stretchable child takes the remainder, breadths respect
// what the child may take and its minimum.
TEST(LayoutSteps, SharesRemaindersAndBreadths) {
  EXPECT_EQ(268, StretchShare(640, 104, 2));
  EXPECT_EQ(0, StretchShare(100, 120, 1));
  EXPECT_EQ(0, StretchShare(100, 0, 0));
  EXPECT_EQ(270, LastStretchExtent(371, 0, 101));
  EXPECT_EQ(0, LastStretchExtent(10, 5, 20));
  EXPECT_EQ(88, CrossExtent(9999, 100, 5, 7, 88, 0));
  EXPECT_EQ(30, CrossExtent(0, 40, 5, 5, 100, 0));
  EXPECT_EQ(50, CrossExtent(10, 100, 0, 0, 100, 50));
  EXPECT_EQ(40, ChildAvailableExtent(100, 40, 9999));
  EXPECT_EQ(30, ChildAvailableExtent(100, 0, 30));
  EXPECT_EQ(40, ClampExtent(50, 60, 40));
  EXPECT_EQ(TCrossAlign::Start, CrossAlignFromChildAlign(3));
  EXPECT_EQ(TCrossAlign::End, CrossAlignFromChildVAlign(8));
  EXPECT_EQ(0, ScrollRangeFor(90, 100));
  EXPECT_EQ(25, ScrollRangeFor(125, 100));
}

// The client area loses the inset and the visible bars' thickness.
TEST(LayoutSteps, ClientAreaLosesInsetAndBars) {
  const RECT rc = ContainerClientArea(RECT{0, 0, 100, 80}, RECT{1, 2, 3, 4}, 16, 10);
  EXPECT_EQ(1, rc.left);
  EXPECT_EQ(2, rc.top);
  EXPECT_EQ(81, rc.right);
  EXPECT_EQ(66, rc.bottom);
}

}  // namespace
}  // namespace SkinUI
