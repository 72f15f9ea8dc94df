// The combo box in real windows under Xvfb with real input: a click, F4 and Alt+Down open the
// drop-down ("dropdown") below the box, or above it near the screen's bottom edge; a click on an
// element and the keys choose ("itemselect" with new and previous index); Escape and a click
// outside close it without change; the wheel and arrows change a closed combo; no pop-up window
// is left after closing or after the window goes while open; a golden picture of an open combo.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/lists/ui_combo.h"
#include "uitoolkit/window/ui_popup_window.h"

namespace SkinUI {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

const bool kFoldersNamed = testing::SetRenderTestFolders(COMBO_GOLDEN_FOLDER, L"");

// The window's notifications of opening and choosing, as "type wParam lParam".
const std::vector<std::wstring> kComboNotifications = {L"itemselect", L"dropdown", L"itemclick"};

CComboUI* ComboOf(testing::TestSkinWindow& window) {
  return static_cast<CComboUI*>(window.GetPaintManager().FindControl(L"combo"));
}

// Six elements in a 100-pixel drop-down, so it scrolls.
const wchar_t kComboSkin[] =
    L"<Window><VerticalLayout bkcolor=\"#FFE0E0E0\" inset=\"10,10,10,10\" childpadding=\"10\">"
    L"<Combo name=\"combo\" width=\"150\" height=\"24\" dropboxsize=\"0,100\">"
    L"<ListLabelElement text=\"Alpha\" /><ListLabelElement text=\"Beta\" />"
    L"<ListLabelElement text=\"Gamma\" /><ListLabelElement text=\"Delta\" />"
    L"<ListLabelElement text=\"Epsilon\" /><ListLabelElement text=\"Zeta\" />"
    L"</Combo><Button name=\"other\" height=\"30\" bkcolor=\"#FFC0C0FF\" />"
    L"</VerticalLayout></Window>";

HWND PopupWindow() { return ::FindWindowW(CPopupWindowUI::kWindowClassName, nullptr); }

RECT ScreenRect(HWND window, RECT rc) {
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

void ClickScreen(POINT pt) {
  testing::MouseMoveToScreen(pt);
  testing::MouseButton(true);
  testing::MouseButton(false);
  PumpFor(150);
}

void SysKey(HWND window, WORD key) {
  ::PostMessageW(window, WM_SYSKEYDOWN, key, 0x20000001);
  ::PostMessageW(window, WM_SYSKEYUP, key, 0xE0000001);
  PumpFor(150);
}

void Key(HWND window, WORD key) {
  testing::PostKey(window, key);
  PumpFor(100);
}

void Wheel(int delta) {
  testing::MouseWheel(delta);
  PumpFor(120);
}

class ComboLive : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { testing::MouseMoveToScreen(POINT{1200, 1000}); }

  // Opens the combo with a click on its box; answers the pop-up window.
  HWND ClickOpen() {
    const RECT box = ScreenRect(hwnd, ComboOf(window)->GetPos());
    ClickScreen(POINT{box.left + 20, box.top + 12});
    PumpUntil([] { return PopupWindow() != nullptr; });
    return PopupWindow();
  }

  testing::TestSkinWindow window{kComboSkin, kComboNotifications};
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
};

// Each way of opening sends "dropdown" and shows a pop-up of the box's width right below it,
// whose list the wheel scrolls; Escape, a click outside and F4 close it, leaving no pop-up window and no new selection.
TEST_F(ComboLive, OpensAndClosesWithoutChange) {
  ASSERT_NE(hwnd, nullptr);
  CComboUI* combo = ComboOf(window);
  ASSERT_NE(combo, nullptr);
  HWND popup = ClickOpen();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(::IsWindowVisible(popup));
  EXPECT_EQ(::GetWindow(popup, GW_OWNER), hwnd);
  const RECT box = ScreenRect(hwnd, combo->GetPos());
  RECT placed = {};
  ::GetWindowRect(popup, &placed);
  EXPECT_EQ(placed.top, box.bottom);
  EXPECT_EQ(placed.left, box.left);
  EXPECT_EQ(placed.right - placed.left, 150);
  EXPECT_EQ(placed.bottom - placed.top, 100);
  testing::MouseMoveToScreen(POINT{placed.left + 30, placed.top + 30});
  Wheel(-WHEEL_DELTA);  // over an element: the list scrolls
  EXPECT_LT(combo->GetItemAt(0)->GetPos().top, 0);
  Key(popup, VK_ESCAPE);
  EXPECT_EQ(PopupWindow(), nullptr);

  Key(hwnd, VK_F4);
  popup = PopupWindow();
  ASSERT_NE(popup, nullptr);
  ClickScreen(POINT{box.left + 200, box.top + 100});  // the window's background
  EXPECT_EQ(PopupWindow(), nullptr);

  SysKey(hwnd, VK_DOWN);
  popup = PopupWindow();
  ASSERT_NE(popup, nullptr);
  Key(popup, VK_F4);
  EXPECT_EQ(PopupWindow(), nullptr);
  EXPECT_FALSE(combo->IsDroppedDown());
  EXPECT_EQ(combo->GetCurSel(), -1);
  EXPECT_EQ(window.values, (std::vector<std::wstring>{L"dropdown 0 0", L"dropdown 0 0",
                                                    L"dropdown 0 0"}));
}

// A click on an element chooses it (its "itemclick" reaches the combo's window); in a reopened drop-down Down, Down, Enter chooses two
// further and Down, Escape changes nothing; closed, Up and the wheel step the selection.
TEST_F(ComboLive, ChoosesByMouseAndKeys) {
  CComboUI* combo = ComboOf(window);
  HWND popup = ClickOpen();
  ASSERT_NE(popup, nullptr);
  const RECT gamma = ScreenRect(popup, combo->GetItemAt(2)->GetPos());
  ClickScreen(POINT{gamma.left + 30, (gamma.top + gamma.bottom) / 2});
  EXPECT_EQ(PopupWindow(), nullptr);
  EXPECT_EQ(combo->GetCurSel(), 2);

  Key(hwnd, VK_F4);
  popup = PopupWindow();
  ASSERT_NE(popup, nullptr);
  Key(popup, VK_DOWN);
  Key(popup, VK_DOWN);
  Key(popup, VK_RETURN);
  EXPECT_EQ(PopupWindow(), nullptr);
  EXPECT_EQ(combo->GetCurSel(), 4);

  Key(hwnd, VK_F4);
  popup = PopupWindow();
  ASSERT_NE(popup, nullptr);
  Key(popup, VK_DOWN);
  Key(popup, VK_ESCAPE);
  EXPECT_EQ(combo->GetCurSel(), 4);

  Key(hwnd, VK_UP);
  const RECT box = ScreenRect(hwnd, combo->GetPos());
  testing::MouseMoveToScreen(POINT{box.left + 20, box.top + 12});
  Wheel(-WHEEL_DELTA);
  Wheel(-WHEEL_DELTA);
  EXPECT_EQ(PopupWindow(), nullptr);
  EXPECT_EQ(combo->GetCurSel(), 5);
  EXPECT_EQ(window.values,
            (std::vector<std::wstring>{L"dropdown 0 0", L"itemclick 0 0", L"itemselect 2 -1",
                                       L"dropdown 0 0",
                                       L"itemselect 4 2", L"dropdown 0 0", L"itemselect 3 4",
                                       L"itemselect 4 3", L"itemselect 5 4"}));
}

// Near the bottom of the work area the drop-down opens above the box.
TEST_F(ComboLive, OpensAboveNearTheScreensBottom) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
  ::SetWindowPos(hwnd, nullptr, 100, monitor.rcWork.bottom - 60, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
  PumpFor(100);
  HWND popup = ClickOpen();
  ASSERT_NE(popup, nullptr);
  RECT placed = {};
  ::GetWindowRect(popup, &placed);
  const RECT box = ScreenRect(hwnd, ComboOf(window)->GetPos());
  EXPECT_EQ(placed.bottom, box.top);
  EXPECT_EQ(placed.bottom - placed.top, 100);
  Key(popup, VK_ESCAPE);
  EXPECT_EQ(PopupWindow(), nullptr);
}

// The window going while the drop-down is open takes the pop-up with it, and a combo deleted
// while open closes it first.
TEST_F(ComboLive, NoPopupLeftWhenDestroyedOpen) {
  ASSERT_NE(ClickOpen(), nullptr);
  ::DestroyWindow(hwnd);
  PumpFor(100);
  EXPECT_EQ(PopupWindow(), nullptr);

  testing::TestSkinWindow second(kComboSkin);
  HWND other = second.CreateShown(100, 100, 300, 200);
  CComboUI* combo = ComboOf(second);
  ::SendMessageW(other, WM_KEYDOWN, VK_F4, 0);
  ASSERT_TRUE(PumpUntil([] { return PopupWindow() != nullptr; }));
  static_cast<CContainerUI*>(combo->GetParent())->Remove(combo);
  PumpFor(100);
  EXPECT_EQ(PopupWindow(), nullptr);
}

// An open combo with its drop-down, as on the screen.
TEST_F(ComboLive, OpenComboGolden) {
  ComboOf(window)->SelectItem(1);
  HWND popup = ClickOpen();
  ASSERT_NE(popup, nullptr);
  testing::MouseMoveToScreen(POINT{1200, 1000});
  PumpFor(200);
  testing::TestCanvas screen(300, 200);
  testing::CaptureClient(hwnd, screen);  // the window's client area is the whole window
  EXPECT_TRUE(testing::MatchesGolden(screen, "combo_open", 8));
  Key(popup, VK_ESCAPE);
}

}  // namespace
}  // namespace SkinUI
