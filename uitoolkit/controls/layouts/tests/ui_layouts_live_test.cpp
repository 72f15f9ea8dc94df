// The layouts in real windows under Xvfb, driven by real input: options of one group switching
// the pages of a tab layout ("tabselect" with new and previous index, the right page on the
// screen), Ctrl+Tab and Ctrl+Shift+Tab, and a child layout building its file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/layouts/ui_tab_layout.h"

namespace SkinUI {
namespace {

using testing::MouseButton;
using testing::MouseMoveTo;
using testing::MouseMoveToScreen;
using testing::PumpFor;
using testing::PumpUntil;
using testing::TestCanvas;
using testing::TestSkinWindow;

// A test window that also records each "tabselect" as "sender new previous".
class TabWindow : public TestSkinWindow {
 public:
  using TestSkinWindow::TestSkinWindow;
  void Notify(TNotifyUI& msg) override {
    if (msg.sType == L"tabselect") {
      tabSelects.push_back(std::wstring(msg.pSender->GetName().GetData()) + L" " +
                           std::to_wstring(msg.wParam) + L" " + std::to_wstring(msg.lParam));
    }
    TestSkinWindow::Notify(msg);
  }
  std::vector<std::wstring> tabSelects;
};

const wchar_t kTabSkin[] =
    L"<Window size=\"300,200\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<HorizontalLayout height=\"30\">"
    L"<Option name=\"o0\" width=\"100\" group=\"pages\" selected=\"true\" tablayout=\"tabs\" "
    L"tabpage=\"0\" />"
    L"<Option name=\"o1\" width=\"100\" group=\"pages\" tablayout=\"tabs\" tabpage=\"1\" />"
    L"<Option name=\"o2\" width=\"100\" group=\"pages\" tablayout=\"tabs\" tabpage=\"2\" />"
    L"</HorizontalLayout>"
    L"<TabLayout name=\"tabs\">"
    L"<VerticalLayout name=\"page0\" bkcolor=\"#FFFF0000\"><Button name=\"b0\" height=\"30\" />"
    L"</VerticalLayout>"
    L"<VerticalLayout name=\"page1\" bkcolor=\"#FF00FF00\"><Button name=\"b1\" height=\"30\" />"
    L"</VerticalLayout>"
    L"<VerticalLayout name=\"page2\" bkcolor=\"#FF0000FF\"><Button name=\"b2\" height=\"30\" />"
    L"</VerticalLayout>"
    L"</TabLayout></VerticalLayout></Window>";

class LayoutsLive : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override {
    MouseMoveToScreen(POINT{1200, 1000});
    CPaintManagerUI::SetResourcePath(L"");
  }
};

void Click(HWND window, POINT client) {
  MouseMoveTo(window, client);
  MouseButton(true);
  MouseButton(false);
}

// The colour of one pixel of the window's client area on the screen.
DWORD ScreenPixel(HWND window, POINT client) {
  RECT rc;
  ::GetClientRect(window, &rc);
  TestCanvas screen(rc.right, rc.bottom);
  testing::CaptureClient(window, screen);
  return screen.Pixel(client.x, client.y);
}

// Ctrl+Tab (with Shift: backwards) posted to the window with the keyboard state set.
void PostCtrlTab(HWND window, bool shift) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  ::SetKeyboardState(state);
  testing::PostKey(window, VK_TAB, shift);
  state[VK_CONTROL] = 0;
  ::SetKeyboardState(state);
}

// Clicking the options of a group shows their pages and sends "tabselect" with the new and
// the previous index; with the focus inside a page, Ctrl+Tab and Ctrl+Shift+Tab step the pages
// round and the focus follows to the new page.
TEST_F(LayoutsLive, OptionsAndCtrlTabSwitchPages) {
  TabWindow window(kTabSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  auto* tabs = static_cast<CTabLayoutUI*>(window.GetPaintManager().FindControl(L"tabs"));
  ASSERT_NE(nullptr, tabs);
  const POINT inPage{150, 150};
  EXPECT_EQ(0x00FF0000u, ScreenPixel(hwnd, inPage));

  Click(hwnd, POINT{250, 15});
  ASSERT_TRUE(PumpUntil([&] { return window.tabSelects.size() == 1; }));
  PumpFor(100);
  EXPECT_EQ(2, tabs->GetCurSel());
  EXPECT_EQ(0x000000FFu, ScreenPixel(hwnd, inPage));
  Click(hwnd, POINT{150, 15});
  ASSERT_TRUE(PumpUntil([&] { return window.tabSelects.size() == 2; }));
  PumpFor(100);
  EXPECT_EQ(0x0000FF00u, ScreenPixel(hwnd, inPage));
  EXPECT_EQ((std::vector<std::wstring>{L"tabs 2 0", L"tabs 1 2"}), window.tabSelects);

  CPaintManagerUI& manager = window.GetPaintManager();
  manager.SetFocus(manager.FindControl(L"b1"));
  PostCtrlTab(hwnd, false);
  PumpFor(100);
  EXPECT_EQ(2, tabs->GetCurSel());
  EXPECT_EQ(manager.FindControl(L"b2"), manager.GetFocus());
  EXPECT_EQ(0x000000FFu, ScreenPixel(hwnd, inPage));
  PostCtrlTab(hwnd, false);
  PostCtrlTab(hwnd, true);
  PostCtrlTab(hwnd, true);
  PumpFor(100);
  EXPECT_EQ((std::vector<std::wstring>{L"tabs 2 0", L"tabs 1 2", L"tabs 2 1", L"tabs 0 2",
                                       L"tabs 2 0", L"tabs 1 2"}),
            window.tabSelects);
  EXPECT_EQ(manager.FindControl(L"b1"), manager.GetFocus());
}

// A child layout in a window builds its file from the resource folder: its controls are in the
// window's name map and painted in the layout; a missing file leaves its layout empty.
TEST_F(LayoutsLive, ChildLayoutBuildsItsFile) {
  CPaintManagerUI::SetResourcePath(LAYOUTS_TEST_FOLDER);
  TestSkinWindow window(
      L"<Window size=\"200,100\"><VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
      L"<ChildLayout name=\"child\" xml=\"layouts_child.xml\" height=\"60\" />"
      L"<ChildLayout name=\"missing\" xml=\"no_such_file.xml\" />"
      L"</VerticalLayout></Window>");
  HWND hwnd = window.CreateShown(100, 100, 200, 100);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  CControlUI* built = manager.FindControl(L"child_b");
  ASSERT_NE(nullptr, built);
  EXPECT_EQ(manager.FindControl(L"child"), built->GetParent()->GetParent());
  EXPECT_EQ(0x002080C0u, ScreenPixel(hwnd, POINT{100, 30}));
  auto* missing = static_cast<CContainerUI*>(manager.FindControl(L"missing"));
  ASSERT_NE(nullptr, missing);
  EXPECT_EQ(0, missing->GetCount());
}

}  // namespace
}  // namespace SkinUI
