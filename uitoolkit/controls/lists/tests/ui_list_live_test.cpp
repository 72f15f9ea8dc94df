// A list in a real window under Xvfb, driven by real input: clicks with Ctrl and Shift, keys
// and a double click give the exact "itemselect" sequence; dragging a header item's edge moves
// every element's columns (golden dump).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "testsupport/skin_layout_dump.h"
#include "uitoolkit/controls/lists/ui_list.h"

namespace SkinUI {
namespace {

using testing::PumpFor;

// Records "type new previous" of the list's notifications and "type name" of the elements'.
class ListWindow : public testing::TestSkinWindow {
 public:
  using TestSkinWindow::TestSkinWindow;
  void Notify(TNotifyUI& msg) override {
    if (msg.sType == L"itemselect") {
      log.push_back(L"itemselect " + std::to_wstring(static_cast<int>(msg.wParam)) + L" " +
                    std::to_wstring(static_cast<int>(msg.lParam)));
    } else if (msg.sType == L"link") {
      log.push_back(L"link " + std::to_wstring(static_cast<int>(msg.wParam)));
    } else if (msg.sType.Find(L"item") == 0 || msg.sType == L"headerclick") {
      log.push_back(std::wstring(msg.sType.GetData()) + L" " +
                    std::to_wstring(static_cast<CListUI*>(FindList())->GetItemIndex(msg.pSender)));
    }
    TestSkinWindow::Notify(msg);
  }
  CControlUI* FindList() { return m_pm.FindControl(L"list"); }
  std::vector<std::wstring> log;
};

// A header of three columns over 30 text rows of 20 pixels and a row of child controls.
std::wstring ListSkin() {
  std::wstring skin =
      L"<Window><List name=\"list\" multiselect=\"true\" itemheight=\"20\" "
      L"itemlinecolor=\"#FFE0E0E0\" itemshowhtml=\"true\"><ListHeader height=\"24\">"
      L"<ListHeaderItem name=\"h0\" text=\"Name\" width=\"100\" minwidth=\"30\" />"
      L"<ListHeaderItem name=\"h1\" text=\"Kind\" width=\"80\" />"
      L"<ListHeaderItem name=\"h2\" text=\"Size\" width=\"90\" /></ListHeader>"
      L"<ListHBoxElement name=\"hbox\"><Label name=\"c0\" text=\"a\" />"
      L"<Button name=\"c1\" text=\"b\" /><Label name=\"c2\" text=\"c\" /></ListHBoxElement>";
  // Row 1 has a link at the start of its second column.
  skin += L"<ListTextElement text=\"row 1|{a x}link{/a}|size\" />";
  for (int i = 2; i < 30; ++i) {
    skin += L"<ListTextElement text=\"row " + std::to_wstring(i) + L"|kind|size\" />";
  }
  return skin + L"</List></Window>";
}

// Holds or releases a key with real input.
void Key(WORD key, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  ::SendInput(1, &input, sizeof(input));
  PumpFor(30);
}

// Clicks row `row` (rows of 20 pixels under the 24-pixel header), with `modifier` held.
void ClickRow(HWND window, int row, WORD modifier = 0, bool twice = false) {
  // The pointer moves first: moving it makes the display restate the keys it knows as held.
  testing::MouseMoveTo(window, POINT{150, 24 + row * 20 + 10});
  if (modifier != 0) Key(modifier, true);
  for (int click = 0; click < (twice ? 2 : 1); ++click) {
    testing::MouseButton(true);
    testing::MouseButton(false);
  }
  if (modifier != 0) Key(modifier, false);
  PumpFor(60);
}

class ListLive : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { testing::MouseMoveToScreen(POINT{1200, 1000}); }
};

// Clicks, Ctrl+click (toggle), Shift+click (range from the anchor), the arrows with and without
// Shift, End and Home, a double click, Enter and a link: the exact sequence of notifications, the
// selected rows, and End scrolling the last row into view.
TEST_F(ListLive, MouseAndKeysSelect) {
  ListWindow window(ListSkin());
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  auto* list = static_cast<CListUI*>(window.FindList());
  ASSERT_NE(nullptr, list);
  struct TStep {
    const char* what;
    std::vector<std::wstring> log;
    std::vector<int> selected;
  };
  const TStep steps[] = {
      {"click 1", {L"itemclick 1", L"itemselect 1 -1"}, {1}},
      {"ctrl+click 3", {L"itemclick 3", L"itemselect 3 1"}, {1, 3}},
      {"shift+click 5", {L"itemclick 5", L"itemselect 5 3"}, {3, 4, 5}},
      {"ctrl+click 5", {L"itemclick 5", L"itemselect -1 5"}, {3, 4}},
      {"down", {L"itemselect 6 -1"}, {6}},
      {"shift+down", {L"itemselect 7 6"}, {6, 7}},
      {"end", {L"itemselect 29 7"}, {29}},
      {"home", {L"itemselect 0 29"}, {0}},
      {"double click 2",
       {L"itemclick 2", L"itemselect 2 0", L"itemdbclick 2", L"itemactivate 2"},
       {2}},
      {"enter", {L"itemactivate 2"}, {2}},
      {"click link", {L"itemclick 1", L"itemselect 1 2", L"link 0"}, {1}},
  };
  for (const TStep& step : steps) {
    window.log.clear();
    const std::string what = step.what;
    if (what == "click 1") ClickRow(hwnd, 1);
    if (what == "ctrl+click 3") ClickRow(hwnd, 3, VK_CONTROL);
    if (what == "shift+click 5") ClickRow(hwnd, 5, VK_SHIFT);
    if (what == "ctrl+click 5") ClickRow(hwnd, 5, VK_CONTROL);
    if (what == "down") testing::PostKey(hwnd, VK_DOWN);
    if (what == "shift+down") testing::PostKey(hwnd, VK_DOWN, true);
    if (what == "end") testing::PostKey(hwnd, VK_END);
    if (what == "home") testing::PostKey(hwnd, VK_HOME);
    if (what == "double click 2") ClickRow(hwnd, 2, 0, true);
    if (what == "enter") testing::PostKey(hwnd, VK_RETURN);
    if (what == "click link") {
      testing::MouseMoveTo(hwnd, POINT{108, 24 + 20 + 10});
      testing::MouseButton(true);
      testing::MouseButton(false);
    }
    PumpFor(60);
    EXPECT_EQ(step.log, window.log) << what;
    EXPECT_EQ(step.selected, list->GetSelectedIndexes()) << what;
    if (what == "end") {
      EXPECT_EQ(list->GetScrollRange().cy, list->GetScrollPos().cy);
    }
  }
}

// Dragging the first header item's right edge 40 pixels to the right widens the first column
// of every row and moves the others, the child controls of the HBox row with them; the header
// item clicked elsewhere sends "headerclick"; scrolled sideways, header and columns follow.
TEST_F(ListLive, HeaderDragMovesEveryColumn) {
  ListWindow window(ListSkin());
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  testing::MouseMoveTo(hwnd, POINT{98, 12});
  testing::MouseButton(true);
  testing::MouseMoveTo(hwnd, POINT{118, 12});
  testing::MouseMoveTo(hwnd, POINT{138, 12});
  testing::MouseButton(false);
  PumpFor(100);
  testing::MouseMoveTo(hwnd, POINT{160, 12});
  testing::MouseButton(true);
  testing::MouseButton(false);
  PumpFor(60);
  EXPECT_EQ(std::vector<std::wstring>{L"headerclick -1"}, window.log);
  EXPECT_TRUE(testing::MatchesDumpGolden(testing::LayoutDump(window.FindList()),
                                         LISTS_TEST_FOLDER L"\\golden\\list_header_drag.txt"));
  // Now wider than its client area, the list scrolls sideways, the header and columns with it.
  auto* list = static_cast<CListUI*>(window.FindList());
  list->SetScrollPos(SIZE{20, 0});
  EXPECT_EQ(20, list->GetScrollPos().cx);
  EXPECT_EQ(120, window.GetPaintManager().FindControl(L"h0")->GetPos().right);
  EXPECT_EQ(120, window.GetPaintManager().FindControl(L"c0")->GetPos().right);
  EXPECT_EQ(120, list->GetListInfo()->columns[0].right);
}

}  // namespace
}  // namespace SkinUI
