// The tab layout keeps one valid page shown while pages are added, removed and selected, and
// sends "tabselect" with the new and previous index.
#include "uitoolkit/controls/layouts/ui_tab_layout.h"

#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/controls/tests/control_test_support.h"

namespace SkinUI {
namespace {

// Each row starts from `pages` pages and runs its steps: "s2" selects page 2, "i0" inserts a
// page at 0, "r1" removes page 1, "R" removes all, "n"/"p" select the next/previous page. The
// result: the selection, the pages ("x" shown, "-" hidden) and the "tabselect"s (new/previous).
TEST(TabLayout, SelectionStaysValid) {
  const struct { int pages; const char* steps; const char* expected; } rows[] = {
      {0, "", "-1 |"},           {3, "", "0 x-- |"},           {3, "s2", "2 --x | 2/0"},
      {3, "s0", "0 x-- |"},      {3, "s3", "0 x-- |"},         {3, "s2i0", "3 ---x | 2/0"},
      {2, "i2", "0 x-- |"},      {3, "s2r0", "1 -x | 2/0"},    {3, "s1r1", "1 -x | 1/0"},
      {3, "s2r2", "1 -x | 2/0"}, {2, "r0r0", "-1 |"},          {3, "s2Ri0", "0 x | 2/0"},
      {3, "p", "2 --x | 2/0"},   {3, "s2n", "0 x-- | 2/0 0/2"},
  };
  for (const auto& row : rows) {
    testing::RecordingManager manager;
    CTabLayoutUI layout;
    layout.SetDelayedDestroy(false);
    for (int i = 0; i < row.pages; ++i) layout.Add(new CControlUI());
    layout.SetManager(&manager, nullptr, true);
    for (const char* step = row.steps; *step != '\0'; ++step) {
      const int index = step[1] >= '0' && step[1] <= '9' ? step[1] - '0' : 0;
      if (*step == 's') layout.SelectItem(index);
      if (*step == 'i') layout.AddAt(new CControlUI(), index);
      if (*step == 'r') layout.RemoveAt(index);
      if (*step == 'R') layout.RemoveAll();
      if (*step == 'n' || *step == 'p') layout.SelectNeighbour(*step == 'n');
      if (*step != 'R' && *step != 'n' && *step != 'p') ++step;
    }
    std::string result = std::to_string(layout.GetCurSel()) + (layout.GetCount() > 0 ? " " : "");
    for (int i = 0; i < layout.GetCount(); ++i)
      result += layout.GetItemAt(i)->IsVisible() ? 'x' : '-';
    result += " |";
    for (const TNotifyUI& msg : manager.notifications) {
      result += (msg.sType == L"tabselect" ? " " : " ?") + std::to_string(msg.wParam) + "/" +
                std::to_string(msg.lParam);
    }
    EXPECT_EQ(row.expected, result) << row.pages << " pages, steps " << row.steps;
  }
}

}  // namespace
}  // namespace SkinUI
