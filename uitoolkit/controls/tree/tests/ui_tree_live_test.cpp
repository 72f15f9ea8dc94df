// A tree in a real window under Xvfb, driven by real input: the toggle, double clicks, Right,
// Left, + and -, the check boxes and Space give the exact notification sequence; the rows'
// geometry and states afterwards match a golden dump.
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

class TreeWindow : public testing::TestSkinWindow {
 public:
  using TestSkinWindow::TestSkinWindow;
  void Notify(TNotifyUI& msg) override {
    if (msg.sType == L"itemselect") {
      log.push_back(L"itemselect " + std::to_wstring(static_cast<int>(msg.wParam)) + L" " +
                    std::to_wstring(static_cast<int>(msg.lParam)));
    } else if (msg.sType.Find(L"item") == 0 || msg.sType == L"selectchanged") {
      log.push_back(std::wstring(msg.sType.GetData()) + L" " + msg.pSender->GetName().GetData());
    }
    TestSkinWindow::Notify(msg);
  }
  CTreeViewUI* Tree() { return static_cast<CTreeViewUI*>(m_pm.FindControl(L"tree")); }
  std::vector<std::wstring> log;
};

// a (a1, a2 (a2x)), b, c (30 children); rows of 20 pixels with check boxes.
std::wstring TreeSkin() {
  std::wstring skin =
      L"<Window><TreeView name=\"tree\" itemheight=\"20\" checkboxes=\"true\">"
      L"<TreeNode name=\"a\" text=\"a\"><TreeNode name=\"a1\" text=\"a1\" />"
      L"<TreeNode name=\"a2\" text=\"a2\"><TreeNode name=\"a2x\" text=\"a2x\" /></TreeNode>"
      L"</TreeNode><TreeNode name=\"b\" text=\"b\" /><TreeNode name=\"c\" text=\"c\">";
  for (int i = 1; i <= 30; ++i) skin += L"<TreeNode text=\"c" + std::to_wstring(i) + L"\" />";
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
    dump << std::string(text.begin(), text.end()) << (node->IsVisible() ? " shown" : " hidden") << (node->IsExpanded() ? " open " : " shut ")
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
  TreeWindow window(TreeSkin());
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  CTreeViewUI* tree = window.Tree();
  ASSERT_NE(nullptr, tree);
  struct TStep {
    const char* what;
    std::vector<std::wstring> log;
  };
  // Rows: a 0, a1 1, a2 2, a2x 3, b 4, c 5, c1..c30 6..35.
  const TStep steps[] = {
      {"toggle a", {L"itemexpand a"}},
      {"click a2", {L"itemclick a2", L"itemselect 2 -1"}},
      {"right", {L"itemexpand a2"}},
      {"right", {L"itemselect 3 2"}},
      {"left", {L"itemselect 2 3"}},
      {"left", {L"itemcollapse a2"}},
      {"down", {L"itemselect 4 2"}},
      {"double click c",
       {L"itemclick c", L"itemselect 5 4", L"itemdbclick c", L"itemactivate c", L"itemexpand c"}},
      {"minus", {L"itemcollapse c"}},
      {"plus", {L"itemexpand c"}},
      {"end", {L"itemselect 35 5"}},
      {"home", {L"itemselect 0 35"}},
      {"click a1", {L"itemclick a1", L"itemselect 1 0"}},
      // Collapsing the folder around the selection selects the folder.
      {"toggle a", {L"itemselect 0 1", L"itemcollapse a"}},
      {"check a", {L"selectchanged a", L"selectchanged a1", L"selectchanged a2",
                   L"selectchanged a2x"}},
      {"plus", {L"itemexpand a"}},
      {"check a1", {L"selectchanged a1", L"selectchanged a"}},
      {"space", {L"selectchanged a", L"selectchanged a1"}},
      {"check a2", {L"selectchanged a2", L"selectchanged a2x", L"selectchanged a"}},
  };
  for (const TStep& step : steps) {
    window.log.clear();
    const std::string what = step.what;
    if (what == "toggle a") ClickRow(hwnd, 0, 8);
    if (what == "click a2") ClickRow(hwnd, 2, 150);
    if (what == "click a1") ClickRow(hwnd, 1, 150);
    if (what == "double click c") ClickRow(hwnd, 4, 150, true);
    if (what == "check a") ClickRow(hwnd, 0, 26);
    if (what == "check a1") ClickRow(hwnd, 1, 42);
    if (what == "check a2") ClickRow(hwnd, 2, 42);
    const struct {
      const char* name;
      WORD key;
    } keys[] = {{"right", VK_RIGHT}, {"left", VK_LEFT},   {"down", VK_DOWN}, {"minus", VK_SUBTRACT},
                {"plus", VK_ADD},    {"end", VK_END},     {"home", VK_HOME}, {"space", VK_SPACE}};
    for (const auto& key : keys) {
      if (what == key.name) testing::PostKey(hwnd, key.key);
    }
    PumpFor(80);
    EXPECT_EQ(step.log, window.log) << what;
    if (what == "end") {
      EXPECT_EQ(tree->GetScrollRange().cy, tree->GetScrollPos().cy);
    }
  }
  EXPECT_TRUE(testing::MatchesDumpGolden(RowDump(tree), TREE_TEST_FOLDER L"\\golden\\tree_rows.txt"));
}

}  // namespace
}  // namespace SkinUI
