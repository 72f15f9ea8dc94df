// Progress bars: the filled part for a value, the repaired range, and the painted bar.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"
#include "uitoolkit/controls/ui_progress.h"

namespace SkinUI {
namespace {

using testing::Attach;
using testing::LeafManager;
using testing::MatchesGolden;
using testing::TestCanvas;

struct FillCase {
  SIZE size;
  bool horizontal;
  int minimum, maximum, value;
  RECT expected;
};

// The filled part from the left (or from the bottom), truncated; products of large values do
// not overflow.
TEST(ProgressFill, RectangleForValue) {
  const FillCase cases[] = {
      {{200, 10}, true, 0, 100, 0, {0, 0, 0, 10}},
      {{200, 10}, true, 0, 100, 50, {0, 0, 100, 10}},
      {{201, 10}, true, 0, 100, 50, {0, 0, 100, 10}},
      {{200, 10}, true, 0, 100, 100, {0, 0, 200, 10}},
      {{200, 10}, true, -50, 50, 0, {0, 0, 100, 10}},
      {{10, 90}, false, 0, 3, 1, {0, 60, 10, 90}},
      {{10, 90}, false, 0, 3, 3, {0, 0, 10, 90}},
      {{1000, 10}, true, 0, INT_MAX, INT_MAX / 2, {0, 0, 499, 10}},
  };
  for (const FillCase& row : cases) {
    const RECT fill = ProgressFillRect(row.size, row.horizontal, row.minimum, row.maximum, row.value);
    EXPECT_EQ(row.expected.left, fill.left) << row.value;
    EXPECT_EQ(row.expected.top, fill.top) << row.value;
    EXPECT_EQ(row.expected.right, fill.right) << row.value;
    EXPECT_EQ(row.expected.bottom, fill.bottom) << row.value;
  }
}

// Values are stored within the range; a range without room is repaired at paint (maximum =
// minimum + 1), also for the largest minimum; the bar is 12 high and answers its names.
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
  EXPECT_EQ(bar.GetInterface(L"Label"), &bar);
  EXPECT_EQ(CUiString(L"Progress"), CUiString(bar.GetClass()));
}

// Bars at 0, 50 and 100 (50 fills exactly half the width) and a vertical bar at 25 filling from
// the bottom; the fore image is the whole test image stretched over the filled part.
TEST(ProgressPaint, FilledPartsAtZeroHalfAndFull) {
  TestCanvas canvas(210, 60, 0xFFFFFF);
  LeafManager manager;
  const std::wstring fore = L"foreimage=\"file='" + testing::TestImagePath(L"five.png") +
                            L"' source='12,2,18,8'\" bkcolor=\"#FFE0E0E0\"";
  std::vector<std::unique_ptr<CProgressUI>> bars;
  const int values[] = {0, 50, 100};
  for (int i = 0; i < 3; ++i) {
    bars.push_back(std::make_unique<CProgressUI>());
    Attach(*bars.back(), manager, nullptr, RECT{0, i * 20, 200, i * 20 + 12});
    bars.back()->SetAttributeList(fore.c_str());
    bars.back()->SetValue(values[i]);
  }
  bars.push_back(std::make_unique<CProgressUI>());
  Attach(*bars.back(), manager, nullptr, RECT{200, 0, 210, 60});
  bars.back()->SetAttributeList((fore + L" hor=\"false\" value=\"25\"").c_str());
  for (auto& bar : bars) bar->Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 200, 12}, 0xE0E0E0));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 20, 100, 32}, 0x000080));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{100, 20, 200, 32}, 0xE0E0E0));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 40, 200, 52}, 0x000080));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{200, 45, 210, 60}, 0x000080));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{200, 0, 210, 45}, 0xE0E0E0));
  EXPECT_TRUE(MatchesGolden(canvas, "progress_values"));
}

}  // namespace
}  // namespace SkinUI
