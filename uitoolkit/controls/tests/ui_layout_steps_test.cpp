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

// Scrolling a span into a client span 100..200: nothing when inside, the least move otherwise,
// the start first for a span longer than the client; a wheel notch is lines × line size, or a
// page when the user chose page scrolling.
TEST(LayoutSteps, ScrollDeltasToShowAndWheelSteps) {
  const LONG rows[][3] = {{120, 180, 0},   {90, 110, -10},  {190, 230, 30},
                          {150, 400, 50},  {-50, 500, -150}, {100, 200, 0}};
  for (const auto& row : rows) {
    EXPECT_EQ(row[2], ScrollDeltaToShow(row[0], row[1], 100, 200)) << row[0] << ".." << row[1];
  }
  EXPECT_EQ(24, WheelScrollStep(3, 8, 300));
  EXPECT_EQ(300, WheelScrollStep(WHEEL_PAGESCROLL, 8, 300));
  EXPECT_EQ(0, WheelScrollStep(0, 8, 300));
}

// The separator strip lies at the trailing edge for a positive thickness and at the leading one
// for a negative; a drag grows or shrinks the extent within the limits; the dragged layout keeps
// the edge opposite its strip.
TEST(LayoutSteps, SeparatorStripsAndDrags) {
  const RECT item{10, 20, 110, 220};
  struct StripRow {
    int separator;
    bool horizontal;
    RECT expected;
  };
  const StripRow strips[] = {{4, false, {10, 216, 110, 220}}, {-4, false, {10, 20, 110, 24}},
                             {6, true, {104, 20, 110, 220}},  {-6, true, {10, 20, 16, 220}},
                             {0, false, {0, 0, 0, 0}},        {500, false, {10, 20, 110, 220}}};
  for (const StripRow& row : strips) {
    const RECT strip = SeparatorStrip(item, row.separator, row.horizontal);
    EXPECT_TRUE(::EqualRect(&strip, &row.expected) != FALSE) << row.separator << row.horizontal;
  }
  const LONG drags[][6] = {
      // start, delta, trailing, min, max, expected
      {200, 30, 1, 0, 9999, 230}, {200, 30, 0, 0, 9999, 170}, {200, -150, 1, 80, 9999, 80},
      {200, 300, 1, 0, 250, 250}, {200, 300, 0, 0, 9999, 0},  {200, 5, 1, 300, 250, 250},
  };
  for (const auto& row : drags) {
    EXPECT_EQ(row[5], SeparatorDragExtent(row[0], row[1], row[2] != 0, row[3], row[4]))
        << row[0] << " " << row[1] << " " << row[2];
  }
  const RECT grown = SeparatorDraggedItem(item, 250, 4, false);
  const RECT fromTop = SeparatorDraggedItem(item, 150, -4, false);
  const RECT fromLeft = SeparatorDraggedItem(item, 60, -4, true);
  EXPECT_EQ(270, grown.bottom);
  EXPECT_EQ(70, fromTop.top);
  EXPECT_EQ(50, fromLeft.left);
}

}  // namespace
}  // namespace SkinUI
