// The layout arithmetic as pure steps.
#include "uitoolkit/controls/ui_layout_steps.h"

#include <gtest/gtest.h>

#include <utility>

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

// Scrolling a span into the client span 100..200 (nothing when inside, the least move
// otherwise, the start first when longer); a wheel notch (lines × line size, or a page); the
// separator strip at the trailing edge for a positive thickness, at the leading for a negative;
// a drag grows (trailing) or shrinks (leading) within the limits, keeping the opposite edge.
TEST(LayoutSteps, ScrollIntoViewWheelAndSeparators) {
  const LONG shows[][3] = {{120, 180, 0}, {90, 110, -10}, {190, 230, 30}, {150, 400, 50}};
  for (const auto& row : shows) EXPECT_EQ(row[2], ScrollDeltaToShow(row[0], row[1], 100, 200));
  EXPECT_EQ(24, WheelScrollStep(3, 8, 300));
  EXPECT_EQ(300, WheelScrollStep(WHEEL_PAGESCROLL, 8, 300));
  const RECT item{10, 20, 110, 220};
  const std::pair<int, bool> strips[] = {{4, false}, {-4, false}, {6, true}, {-6, true}, {0, false}};
  const RECT expected[] = {{10, 216, 110, 220}, {10, 20, 110, 24}, {104, 20, 110, 220},
                           {10, 20, 16, 220},   {0, 0, 0, 0}};
  for (int i = 0; i < 5; ++i) {
    const RECT strip = SeparatorStrip(item, strips[i].first, strips[i].second);
    EXPECT_TRUE(::EqualRect(&strip, &expected[i]) != FALSE) << i;
  }
  const LONG drags[][6] = {  // start, delta, trailing, min, max, expected
      {200, 30, 1, 0, 9999, 230}, {200, 30, 0, 0, 9999, 170}, {200, -150, 1, 80, 9999, 80},
      {200, 300, 1, 0, 250, 250}, {200, 300, 0, 0, 9999, 0}};
  for (const auto& row : drags) {
    EXPECT_EQ(row[5], SeparatorDragExtent(row[0], row[1], row[2] != 0, row[3], row[4]));
  }
  EXPECT_EQ(270, SeparatorDraggedItem(item, 250, 4, false).bottom);
  EXPECT_EQ(50, SeparatorDraggedItem(item, 60, -4, true).left);
}

}  // namespace
}  // namespace SkinUI
