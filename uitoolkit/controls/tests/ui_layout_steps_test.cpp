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

}  // namespace
}  // namespace SkinUI
