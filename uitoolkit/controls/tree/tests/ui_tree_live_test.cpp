// A tree in a real window under Xvfb, driven by real input: the toggle, double clicks, Right,
// Left, +, -, * and Backspace, Page Down over hidden rows, the check boxes and Space give the
// exact notification sequence; the rows' geometry and states afterwards match a golden dump.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "testsupport/skin_layout_dump.h"
#include "uitoolkit/controls/tree/ui_tree_view.h"

namespace SkinUI {
namespace {

using testing::PumpFor;

// a (a1, a2 (a2x)), b, c (30 children); rows of 20 pixels with check boxes. The skin checks c
// and clears c1: c shows mixed, c2 to c30 checked (golden dump).
std::wstring TreeSkin() {
  std::wstring skin =
      L"<Window><TreeView name=\"tree\" itemheight=\"20\" checkboxes=\"true\">"
      L"<TreeNode name=\"a\" text=\"a\"><TreeNode name=\"a1\" text=\"a1\" />"
      L"<TreeNode name=\"a2\" text=\"a2\"><TreeNode name=\"a2x\" text=\"a2x\" /></TreeNode>"
      L"</TreeNode><TreeNode name=\"b\" text=\"b\" />"
      L"<TreeNode name=\"c\" text=\"c\" checked=\"true\">"
      L"<TreeNode text=\"c1\" checked=\"false\" />";
  for (int i = 2; i <= 30; ++i) skin += L"<TreeNode text=\"c" + std::to_wstring(i) + L"\" />";
  return skin + L"</TreeNode></TreeView></Window>";
}

// Clicks (twice: a double click) at `x` in the row shown `row`th from the top.
void ClickRow(HWND window, int row, int x, bool twice = false) {
  testing::MouseMoveTo(window, POINT{x, row * 20 + 10});
  for (int click = 0; click < (twice ? 2 : 1); ++click) {
    testing::MouseButton(true);
    testing::MouseButton(false);
  }
}

// One line a row: name, visibility, expanded, check state, row, toggle, check box and text.
std::string RowDump(CTreeViewUI* tree) {
  std::ostringstream dump;
  auto rect = [&dump](const RECT& rc) {
    dump << ' ' << rc.left << ',' << rc.top << ',' << rc.right << ',' << rc.bottom;
  };
  for (int i = 0; i < tree->GetCount(); ++i) {
    auto* node = static_cast<CTreeNodeUI*>(tree->GetItemAt(i)->GetInterface(L"TreeNode"));
    const TTreeRowParts parts = node->GetRowParts();
    const std::wstring text = node->GetText().GetData();
    dump << std::string(text.begin(), text.end()) << (node->IsVisible() ? " shown" : " hidden")
         << (node->IsExpanded() ? " open " : " shut ")
         << "-+~"[static_cast<int>(node->GetCheckState())];
    rect(node->GetPos());
    rect(parts.toggle);
    rect(parts.check);
    rect(parts.text);
    dump << '\n';
  }
  return dump.str();
}

class TreeLive : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { testing::MouseMoveToScreen(POINT{1200, 1000}); }
};

TEST_F(TreeLive, MouseAndKeysExpandSelectAndCheck) {
  testing::TestSkinWindow window(TreeSkin());
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  auto* tree = static_cast<CTreeViewUI*>(window.GetPaintManager().FindControl(L"tree"));
  ASSERT_NE(nullptr, tree);
  struct TStep {
    const char* what;
    std::vector<std::wstring> log;
    int selected;  // the row selected afterwards
  };
  // Rows: a 0, a1 1, a2 2, a2x 3, b 4, c 5, c1..c30 6..35.
  const TStep steps[] = {
      {"toggle a", {L"itemexpand:a"}, -1},
      {"click a2", {L"itemclick:a2", L"itemselect:tree"}, 2},
      {"right", {L"itemexpand:a2"}, 2},
      {"right", {L"itemselect:tree"}, 3},
      {"left", {L"itemselect:tree"}, 2},
      {"left", {L"itemcollapse:a2"}, 2},
      {"backspace", {L"itemselect:tree"}, 0},
      {"star", {L"itemexpand:a2"}, 0},
      {"click a2", {L"itemclick:a2", L"itemselect:tree"}, 2},
      {"minus", {L"itemcollapse:a2"}, 2},
      {"down", {L"itemselect:tree"}, 4},
      {"double click c",
       {L"itemclick:c", L"itemselect:tree", L"itemdbclick:c", L"itemactivate:c", L"itemexpand:c"},
       5},
      {"minus", {L"itemcollapse:c"}, 5},
      {"plus", {L"itemexpand:c"}, 5},
      {"end", {L"itemselect:tree"}, 35},
      {"home", {L"itemselect:tree"}, 0},
      // A page of 10 rows moves 9 rows shown, passing over the hidden a2x.
      {"page down", {L"itemselect:tree"}, 10},
      {"click a1", {L"itemclick:a1", L"itemselect:tree"}, 1},
      // Collapsing the folder around the selection selects the folder.
      {"toggle a", {L"itemselect:tree", L"itemcollapse:a"}, 0},
      {"check a",
       {L"selectchanged:a", L"selectchanged:a1", L"selectchanged:a2", L"selectchanged:a2x"},
       0},
      {"plus", {L"itemexpand:a"}, 0},
      {"check a1", {L"selectchanged:a1", L"selectchanged:a"}, 0},
      {"space", {L"selectchanged:a", L"selectchanged:a1"}, 0},
      {"check a2", {L"selectchanged:a2", L"selectchanged:a2x", L"selectchanged:a"}, 0},
  };
  const struct {
    const char* name;
    WORD key;
  } keys[] = {{"right", VK_RIGHT}, {"left", VK_LEFT}, {"down", VK_DOWN}, {"minus", VK_SUBTRACT},
              {"plus", VK_ADD},    {"end", VK_END},   {"home", VK_HOME}, {"space", VK_SPACE},
              {"page down", VK_NEXT}, {"backspace", VK_BACK}, {"star", VK_MULTIPLY}};
  for (const TStep& step : steps) {
    window.notifications.clear();
    const std::string what = step.what;
    if (what == "toggle a") ClickRow(hwnd, 0, 8);
    if (what == "click a2") ClickRow(hwnd, 2, 150);
    if (what == "click a1") ClickRow(hwnd, 1, 150);
    if (what == "double click c") ClickRow(hwnd, 4, 150, true);
    if (what == "check a") ClickRow(hwnd, 0, 26);
    if (what == "check a1") ClickRow(hwnd, 1, 42);
    if (what == "check a2") ClickRow(hwnd, 2, 42);
    for (const auto& key : keys) {
      if (what == key.name) testing::PostKey(hwnd, key.key);
    }
    PumpFor(80);
    std::vector<std::wstring> log;
    for (const std::wstring& line : window.notifications) {
      if (line.rfind(L"item", 0) == 0 || line.rfind(L"selectchanged", 0) == 0) log.push_back(line);
    }
    EXPECT_EQ(step.log, log) << what;
    EXPECT_EQ(step.selected, tree->GetCurSel()) << what;
    if (what == "end") {
      EXPECT_EQ(tree->GetScrollRange().cy, tree->GetScrollPos().cy);
    }
    // The open folder c comes to the top to show as many of its rows as fit.
    if (what == "double click c") {
      EXPECT_EQ(80, tree->GetScrollPos().cy);
    }
  }
  EXPECT_TRUE(
      testing::MatchesDumpGolden(RowDump(tree), TREE_TEST_FOLDER L"\\golden\\tree_rows.txt"));
  // Removed in the running window, c goes with its 30 rows (destroyed after the message).
  ASSERT_TRUE(tree->Remove(tree->GetRootNode(2)));
  PumpFor(80);
  EXPECT_EQ(5, tree->GetCount());
  EXPECT_EQ(0, tree->GetCurSel());
}

}  // namespace
}  // namespace SkinUI
