// The layouts in real windows under Xvfb, driven by real input: options of one group switching
// a tab layout's pages ("tabselect" with new and previous index, the right page on the screen),
// Ctrl+Tab and Ctrl+Shift+Tab, and a child layout building its file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/layouts/ui_tab_layout.h"
#include "uitoolkit/controls/ui_option.h"

namespace SkinUI {
namespace {

using testing::PumpFor;

// Three options over three pages, each page a colour with a button at its top.
const wchar_t kTabSkin[] =
    L"<Window><VerticalLayout><HorizontalLayout height=\"30\">"
    L"<Option name=\"o0\" width=\"100\" group=\"g\" tablayout=\"tabs\" tabpage=\"0\" />"
    L"<Option name=\"o1\" width=\"100\" group=\"g\" tablayout=\"tabs\" tabpage=\"1\" />"
    L"<Option name=\"o2\" width=\"100\" group=\"g\" tablayout=\"tabs\" tabpage=\"2\" />"
    L"</HorizontalLayout><TabLayout name=\"tabs\">"
    L"<VerticalLayout bkcolor=\"#FFFF0000\"><Button name=\"b0\" height=\"30\" /></VerticalLayout>"
    L"<VerticalLayout bkcolor=\"#FF00FF00\"><Button name=\"b1\" height=\"30\" /></VerticalLayout>"
    L"<VerticalLayout bkcolor=\"#FF0000FF\"><Button name=\"b2\" height=\"30\" /></VerticalLayout>"
    L"</TabLayout></VerticalLayout></Window>";

DWORD PixelAt(HWND window, POINT client) {
  testing::TestCanvas screen(300, 200);
  testing::CaptureClient(window, screen);
  return screen.Pixel(client.x, client.y);
}

void Click(HWND window, POINT client) {
  testing::MouseMoveTo(window, client);
  testing::MouseButton(true);
  testing::MouseButton(false);
  PumpFor(100);
}

void CtrlTab(HWND window, bool shift) {
  BYTE state[256] = {};
  ::GetKeyboardState(state);
  state[VK_CONTROL] = 0x80;
  ::SetKeyboardState(state);
  testing::PostKey(window, VK_TAB, shift);
  state[VK_CONTROL] = 0;
  ::SetKeyboardState(state);
}

class LayoutsLive : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override {
    testing::MouseMoveToScreen(POINT{1200, 1000});
    CPaintManagerUI::SetResourcePath(L"");
  }
};

// Clicked options show their pages; with the focus in a page, Ctrl+Tab and Ctrl+Shift+Tab step
// the pages round, the focus following to the new page's first tab stop and the selection of the
// options following the page.
TEST_F(LayoutsLive, OptionsAndCtrlTabSwitchPages) {
  testing::TestSkinWindow window(kTabSkin, {L"tabselect"});
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  auto* tabs = static_cast<CTabLayoutUI*>(manager.FindControl(L"tabs"));
  const POINT inPage{150, 150};
  EXPECT_EQ(0xFF0000u, PixelAt(hwnd, inPage));
  Click(hwnd, POINT{250, 15});
  EXPECT_EQ(0x0000FFu, PixelAt(hwnd, inPage));
  Click(hwnd, POINT{150, 15});
  EXPECT_EQ(0x00FF00u, PixelAt(hwnd, inPage));

  manager.SetFocus(manager.FindControl(L"b1"));
  CtrlTab(hwnd, false);
  PumpFor(100);
  EXPECT_EQ(0x0000FFu, PixelAt(hwnd, inPage));
  EXPECT_EQ(manager.FindControl(L"b2"), manager.GetFocus());
  CtrlTab(hwnd, false);
  CtrlTab(hwnd, true);
  CtrlTab(hwnd, true);
  EXPECT_EQ(1, tabs->GetCurSel());
  EXPECT_EQ(manager.FindControl(L"b1"), manager.GetFocus());
  // The row of options follows the page shown by the keyboard.
  EXPECT_TRUE(static_cast<COptionUI*>(manager.FindControl(L"o1"))->IsSelected());
  EXPECT_FALSE(static_cast<COptionUI*>(manager.FindControl(L"o2"))->IsSelected());
  EXPECT_EQ((std::vector<std::wstring>{L"tabselect 2 0", L"tabselect 1 2", L"tabselect 2 1",
                                        L"tabselect 0 2", L"tabselect 2 0", L"tabselect 1 2"}),
            window.values);
}

// A child layout builds its file from the resource folder: its controls join the window's name
// map and paint in the layout; a missing file leaves its layout empty.
TEST_F(LayoutsLive, ChildLayoutBuildsItsFile) {
  CPaintManagerUI::SetResourcePath(LAYOUTS_TEST_FOLDER);
  testing::TestSkinWindow window(
      L"<Window><VerticalLayout><ChildLayout name=\"child\" xml=\"layouts_child.xml\" "
      L"height=\"60\" />"
      L"<ChildLayout name=\"missing\" xml=\"no_such_file.xml\" /></VerticalLayout></Window>");
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  CControlUI* built = manager.FindControl(L"child_b");
  ASSERT_NE(nullptr, built);
  EXPECT_EQ(manager.FindControl(L"child"), built->GetParent()->GetParent());
  EXPECT_EQ(0x2080C0u, PixelAt(hwnd, POINT{100, 30}));
  EXPECT_EQ(0, static_cast<CContainerUI*>(manager.FindControl(L"missing"))->GetCount());
}

}  // namespace
}  // namespace SkinUI
