// Progress bars: the filled part for a value, the repaired range, and the painted bar.
#include "uitoolkit/controls/ui_progress.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"

namespace SkinUI {
namespace testing {
namespace {

// Values are stored within the range; a range without room is repaired at paint (maximum =
// minimum + 1), also for the largest minimum; the bar is 12 high; the filled part of large
// values is computed without overflow.
TEST(ProgressFill, ValueLimitsAndRepairedRange) {
  LeafManager manager;
  CProgressUI bar;
  Attach(bar, manager, nullptr, RECT{0, 0, 100, 12});
  bar.SetAttributeList(L"min=\"10\" max=\"20\" value=\"50\"");
  EXPECT_EQ(20, bar.GetValue());
  bar.SetValue(-3);
  EXPECT_EQ(10, bar.GetValue());
  bar.SetMaxValue(10);
  TestCanvas canvas(100, 12);
  bar.Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(11, bar.GetMaxValue());
  bar.SetMinValue(INT_MAX);
  bar.Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(INT_MAX, bar.GetMaxValue());
  EXPECT_LT(bar.GetMinValue(), bar.GetMaxValue());
  EXPECT_EQ(12, bar.GetFixedHeight());
  EXPECT_EQ(499, ProgressFillRect(SIZE{1000, 10}, true, 0, INT_MAX, INT_MAX / 2).right);
  EXPECT_EQ(40, ProgressFillRect(SIZE{10, 60}, false, -50, 100, 0).top);
  EXPECT_EQ(50, ProgressFillRect(SIZE{100, 10}, true, 50, 150, 100).right);
}

// Bars at 0, 50 and 100 (50 fills exactly half the width) and a vertical bar at 25 filling from
// the bottom; the fore image is the whole test image stretched over the filled part.
TEST(ProgressPaint, FilledPartsAtZeroHalfAndFull) {
  TestCanvas canvas(210, 60, 0xFFFFFF);
  LeafBoard board;
  const std::wstring fore = L"foreimage=\"file='" + TestImagePath(L"five.png") +
                            L"' source='12,2,18,8'\" bkcolor=\"#FFE0E0E0\"";
  for (int i = 0; i < 3; ++i) {
    board.Add<CProgressUI>(fore + L" value=\"" + std::to_wstring(i * 50) + L"\"",
                           RECT{0, i * 20, 200, i * 20 + 12});
  }
  board.Add<CProgressUI>(fore + L" hor=\"false\" value=\"25\"", RECT{200, 0, 210, 60});
  board.PaintAll(canvas.dc(), canvas.rect());
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 200, 12}, 0xE0E0E0));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 20, 100, 32}, 0x000080));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{100, 20, 200, 32}, 0xE0E0E0));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 40, 200, 52}, 0x000080));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{200, 45, 210, 60}, 0x000080));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{200, 0, 210, 45}, 0xE0E0E0));
  EXPECT_TRUE(MatchesGolden(canvas, "progress_values"));
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
