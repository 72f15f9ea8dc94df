// The tab layout keeps one valid page shown while pages are added, removed and selected, and
// sends "tabselect" with the new and previous index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/controls/layouts/ui_tab_layout.h"
#include "uitoolkit/controls/tests/control_test_support.h"

namespace SkinUI {
namespace {

enum class Op { Insert, Remove, RemoveAll, Select, Next, Previous };

struct Step {
  Op op;
  int index;
};

// "x" for the shown page, "-" for a hidden one, in order.
std::string Shown(CTabLayoutUI& layout) {
  std::string shown;
  for (int i = 0; i < layout.GetCount(); ++i) shown += layout.GetItemAt(i)->IsVisible() ? 'x' : '-';
  return shown;
}

void Apply(CTabLayoutUI& layout, const Step& step) {
  switch (step.op) {
    case Op::Insert: layout.AddAt(new CControlUI(), step.index); break;
    case Op::Remove: layout.RemoveAt(step.index); break;
    case Op::RemoveAll: layout.RemoveAll(); break;
    case Op::Select: layout.SelectItem(step.index); break;
    case Op::Next: layout.SelectNeighbour(true); break;
    case Op::Previous: layout.SelectNeighbour(false); break;
  }
}

// Each row starts from `pages` pages added in order, runs its steps, and checks the selection,
// which pages show, and the "tabselect" notifications ("new/previous").
TEST(TabLayout, SelectionStaysValid) {
  struct Row {
    const char* what;
    int pages;
    std::vector<Step> steps;
    int selected;
    std::string shown;
    std::vector<std::string> notified;
  };
  const Row rows[] = {
      {"an empty layout selects nothing", 0, {}, -1, "", {}},
      {"the first page added shows", 3, {}, 0, "x--", {}},
      {"selecting shows that page alone", 3, {{Op::Select, 2}}, 2, "--x", {"2/0"}},
      {"selecting the shown page sends nothing", 3, {{Op::Select, 0}}, 0, "x--", {}},
      {"an index outside is refused", 3, {{Op::Select, 3}, {Op::Select, -1}}, 0, "x--", {}},
      {"insert before the shown page keeps it", 3, {{Op::Select, 1}, {Op::Insert, 0}}, 2, "--x-",
       {"1/0"}},
      {"insert after the shown page keeps it", 2, {{Op::Insert, 2}}, 0, "x--", {}},
      {"remove before the shown page keeps it", 3, {{Op::Select, 2}, {Op::Remove, 0}}, 1, "-x",
       {"2/0"}},
      {"remove the shown page: the next one shows", 3, {{Op::Select, 1}, {Op::Remove, 1}}, 1,
       "-x", {"1/0"}},
      {"remove the shown last page: the one before", 3, {{Op::Select, 2}, {Op::Remove, 2}}, 1,
       "-x", {"2/0"}},
      {"remove every page: -1", 2, {{Op::Remove, 0}, {Op::Remove, 0}}, -1, "", {}},
      {"remove all, then a new page shows", 3,
       {{Op::Select, 2}, {Op::RemoveAll, 0}, {Op::Insert, 0}}, 0, "x", {"2/0"}},
      {"next wraps to the first page", 3, {{Op::Select, 2}, {Op::Next, 0}}, 0, "x--",
       {"2/0", "0/2"}},
      {"previous wraps to the last page", 3, {{Op::Previous, 0}}, 2, "--x", {"2/0"}},
  };
  for (const Row& row : rows) {
    testing::RecordingManager manager;
    CTabLayoutUI layout;
    layout.SetDelayedDestroy(false);
    for (int i = 0; i < row.pages; ++i) layout.Add(new CControlUI());
    layout.SetManager(&manager, nullptr, true);
    for (const Step& step : row.steps) Apply(layout, step);
    EXPECT_EQ(row.selected, layout.GetCurSel()) << row.what;
    EXPECT_EQ(row.shown, Shown(layout)) << row.what;
    std::vector<std::string> notified;
    for (const TNotifyUI& msg : manager.notifications) {
      EXPECT_STREQ(L"tabselect", msg.sType.GetData()) << row.what;
      notified.push_back(std::to_string(msg.wParam) + "/" + std::to_string(msg.lParam));
    }
    EXPECT_EQ(row.notified, notified) << row.what;
  }
}

}  // namespace
}  // namespace SkinUI
