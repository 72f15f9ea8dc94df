// Real windows under Wine and Xvfb driven by real input: mouse roles (enter, move, leave,
// capture, hover and tooltip, wheel), Tab order, Escape and Enter, painting compared with an
// off-screen paint of the same tree, layered mode, and the window base's hit test and region.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testsupport/live_window_support.h"

namespace SkinUI {
namespace {

// The golden images and test images of this program.
const bool kFoldersNamed = testing::SetRenderTestFolders(RENDER_GOLDEN_FOLDER, RENDER_TEST_DATA);

using testing::EventLog;
using testing::MouseButton;
using testing::MouseMoveTo;
using testing::MouseWheel;
using testing::MouseMoveToScreen;
using testing::PostKey;
using testing::PumpFor;
using testing::PumpUntil;
using testing::TestCanvas;
using testing::TestSkinWindow;

const wchar_t kThreeButtons[] =
    L"<Window size=\"300,200\" caption=\"0,0,0,40\" sizebox=\"4,4,4,4\">"
    L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
    L"<HorizontalLayout name=\"row\" height=\"100\">"
    L"<Button name=\"a\" width=\"100\" bkcolor=\"#FF3060A0\" tooltip=\"Left side\" />"
    L"<Button name=\"b\" width=\"100\" bkcolor=\"#FF40A040\" />"
    L"<Button name=\"c\" bkcolor=\"#FFA04040\" />"
    L"</HorizontalLayout>"
    L"<Control name=\"bottom\" bkcolor=\"#FFE0E0E0\" />"
    L"</VerticalLayout></Window>";

class LiveWindow : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  // Parks the pointer away from every test window.
  void TearDown() override { MouseMoveToScreen(POINT{1200, 1000}); }

  CControlUI* Find(TestSkinWindow& window, const wchar_t* name) {
    return window.GetPaintManager().FindControl(name);
  }
};

bool Contains(const std::vector<std::wstring>& log, const std::wstring& entry) {
  return std::find(log.begin(), log.end(), entry) != log.end();
}

// Entries of `log` that start with one of the prefixes, in order.
std::vector<std::wstring> Only(const std::vector<std::wstring>& log,
                               const std::vector<std::wstring>& prefixes) {
  std::vector<std::wstring> kept;
  for (const std::wstring& entry : log) {
    for (const std::wstring& prefix : prefixes) {
      if (entry.compare(0, prefix.size(), prefix) == 0) {
        kept.push_back(entry);
        break;
      }
    }
  }
  return kept;
}

// The pointer entering, crossing and leaving two buttons gives enter, moves and leave in order.
TEST_F(LiveWindow, MouseEntersMovesAndLeavesInOrder) {
  TestSkinWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  EventLog log;
  log.Watch(Find(window, L"a"));
  log.Watch(Find(window, L"b"));
  MouseMoveTo(hwnd, POINT{50, 50});
  MouseMoveTo(hwnd, POINT{60, 50});
  MouseMoveTo(hwnd, POINT{150, 50});
  MouseMoveToScreen(POINT{900, 900});
  ASSERT_TRUE(PumpUntil([&] { return Contains(log.entries, L"10:b"); }));
  const std::vector<std::wstring> expected = {L"11:a", L"9:a", L"10:a", L"11:b", L"9:b",
                                              L"10:b"};
  EXPECT_EQ(expected, testing::Collapsed(Only(log.entries, {L"9:", L"10:", L"11:"})));
}

// A button pressed and released outside the window still gets its button-up, and no "click".
TEST_F(LiveWindow, CaptureDeliversButtonUpOutsideWithoutClick) {
  TestSkinWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  EventLog log;
  log.Watch(Find(window, L"a"));
  MouseMoveTo(hwnd, POINT{50, 50});
  MouseButton(true);
  EXPECT_TRUE(window.GetPaintManager().IsCaptured());
  MouseMoveToScreen(POINT{900, 900});
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return Contains(log.entries, L"14:a"); }));
  EXPECT_TRUE(Contains(log.entries, L"13:a"));
  EXPECT_FALSE(window.GetPaintManager().IsCaptured());
  EXPECT_FALSE(Contains(window.notifications, L"click:a"));
  // Pressed and released inside, the same button clicks.
  MouseMoveTo(hwnd, POINT{50, 50});
  MouseButton(true);
  MouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return Contains(window.notifications, L"click:a"); }));
}

// Resting on a control sends it mouse hover and shows the tooltip window with its text.
TEST_F(LiveWindow, HoverShowsTooltip) {
  TestSkinWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  window.GetPaintManager().SetHoverTime(100);
  EventLog log;
  log.Watch(Find(window, L"a"));
  MouseMoveTo(hwnd, POINT{40, 40});
  MouseMoveTo(hwnd, POINT{41, 41});
  ASSERT_TRUE(PumpUntil([&] {
    HWND tip = window.GetPaintManager().GetTooltipWindow();
    return tip != nullptr && ::IsWindowVisible(tip);
  }));
  EXPECT_TRUE(Contains(log.entries, L"12:a"));
  HWND tip = window.GetPaintManager().GetTooltipWindow();
  wchar_t className[64] = {};
  ::GetClassNameW(tip, className, 64);
  EXPECT_STREQ(L"tooltips_class32", className);
  EXPECT_EQ(hwnd, ::GetWindow(tip, GW_OWNER));
}

// The wheel turned towards the user reaches the control under the pointer with wParam 1.
TEST_F(LiveWindow, WheelReachesControlUnderPointer) {
  TestSkinWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  CControlUI* bottom = Find(window, L"bottom");
  std::vector<WPARAM> wheels;
  static std::vector<WPARAM>* s_wheels;
  s_wheels = &wheels;
  bottom->OnEvent += [](void* param) {
    const TEventUI* event = static_cast<const TEventUI*>(param);
    if (event->Type == UIEVENT_SCROLLWHEEL) s_wheels->push_back(event->wParam);
    return true;
  };
  MouseMoveTo(hwnd, POINT{150, 150});
  MouseWheel(-WHEEL_DELTA);
  MouseWheel(WHEEL_DELTA);
  ASSERT_TRUE(PumpUntil([&] { return wheels.size() >= 2; }));
  EXPECT_EQ((std::vector<WPARAM>{1, 0}), wheels);
}

// Tab walks the tab stops forward and wraps; Shift+Tab walks them backward and wraps.
TEST_F(LiveWindow, TabMovesFocusThroughTabStops) {
  TestSkinWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  PumpFor(50);  // the focus a new tree asks for is given at a paint
  manager.SetFocus(Find(window, L"a"));
  std::vector<std::wstring> order;
  for (int i = 0; i < 3; ++i) {
    PostKey(hwnd, VK_TAB);
    order.push_back(manager.GetFocus() != nullptr ? manager.GetFocus()->GetName().GetData() : L"");
  }
  for (int i = 0; i < 3; ++i) {
    PostKey(hwnd, VK_TAB, true);
    order.push_back(manager.GetFocus() != nullptr ? manager.GetFocus()->GetName().GetData() : L"");
  }
  EXPECT_EQ((std::vector<std::wstring>{L"b", L"c", L"a", L"c", L"b", L"a"}), order);
  EXPECT_TRUE(Contains(window.notifications, L"setfocus:b"));
  EXPECT_TRUE(Contains(window.notifications, L"killfocus:a"));
}

// Escape closes a WindowImplBase window with code 1; Enter leaves it open.
TEST_F(LiveWindow, EscapeClosesEnterDoesNothing) {
  class ClosingWindow : public TestSkinWindow {
   public:
    using TestSkinWindow::TestSkinWindow;
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override {
      closeCodes.push_back(wParam);
      return TestSkinWindow::OnClose(uMsg, wParam, lParam, handled);
    }
    std::vector<WPARAM> closeCodes;
  };
  ClosingWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  PostKey(hwnd, VK_RETURN);
  PumpFor(100);
  EXPECT_TRUE(::IsWindow(hwnd));
  EXPECT_TRUE(window.closeCodes.empty());
  PostKey(hwnd, VK_ESCAPE);
  EXPECT_TRUE(PumpUntil([&] { return !::IsWindow(hwnd); }));
  EXPECT_EQ((std::vector<WPARAM>{1}), window.closeCodes);
}

// "windowinit", InitWindow and the first layout happen once over many paints; the pixels on the
// screen equal an off-screen paint of the same tree and the committed golden.
TEST_F(LiveWindow, PaintsLikeOffscreenTree) {
  TestSkinWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  CControlUI* root = Find(window, L"root");
  int layouts = 0;
  static int* s_layouts;
  s_layouts = &layouts;
  root->OnSize += [](void*) {
    ++*s_layouts;
    return true;
  };
  for (int i = 0; i < 3; ++i) {
    ::InvalidateRect(hwnd, nullptr, FALSE);
    ::UpdateWindow(hwnd);
    PumpFor(20);
  }
  EXPECT_EQ(0, layouts);  // laid out once, before the counting started, and never again
  EXPECT_EQ(1, std::count(window.notifications.begin(), window.notifications.end(),
                          std::wstring(L"windowinit:root")));
  EXPECT_EQ(1, window.initWindowCalls);

  TestCanvas screen(300, 200);
  testing::CaptureClient(hwnd, screen);
  vesk::UniqueBitmap offscreen(window.GetPaintManager().RenderToBitmap(RECT{0, 0, 300, 200}));
  TestCanvas expected(300, 200);
  expected.CopyBitmap(offscreen.get());
  EXPECT_TRUE(screen.SameColors(expected));
  EXPECT_EQ(0x3060A0u, screen.Pixel(50, 50));
  EXPECT_TRUE(testing::MatchesGolden(screen, "live_window", 0));
}

// A layered window shows the same tree through its per-pixel-alpha frame.
TEST_F(LiveWindow, LayeredWindowShowsTree) {
  TestSkinWindow window(kThreeButtons);
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  window.GetPaintManager().SetLayered(true);
  EXPECT_TRUE(window.GetPaintManager().IsLayered());
  EXPECT_NE(0, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  PumpFor(200);
  TestCanvas screen(300, 200);
  testing::CaptureClient(hwnd, screen);
  EXPECT_EQ(0x3060A0u, screen.Pixel(50, 50));
  EXPECT_EQ(0xE0E0E0u, screen.Pixel(150, 150));
  window.GetPaintManager().SetLayered(false);
  EXPECT_EQ(0, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
}

// A layered image turns layered mode on and its alpha shapes the window: where it is half
// transparent the white tree shows at half strength over the black screen, where it is opaque in
// full.
TEST_F(LiveWindow, LayeredImageShapesTheWindow) {
  CPaintManagerUI::SetResourcePath(testing::TestImageFolder().c_str());
  TestSkinWindow window(
      L"<Window size=\"200,100\" layeredimage=\"file='translucent.png'\">"
      L"<VerticalLayout bkcolor=\"#FFFFFFFF\" /></Window>");
  HWND hwnd = window.CreateShown(100, 100, 200, 100);
  CPaintManagerUI::SetResourcePath(L"");
  ASSERT_NE(nullptr, hwnd);
  EXPECT_TRUE(window.GetPaintManager().IsLayered());
  PumpFor(200);
  TestCanvas screen(200, 100);
  testing::CaptureClient(hwnd, screen);
  EXPECT_LE(testing::ChannelDistance(0x808080, screen.Pixel(20, 50)), 8);
  EXPECT_EQ(0xFFFFFFu, screen.Pixel(180, 50));
}

// The caption strip drags the window except over buttons; the size box gives the borders; a
// caption whose right inset is the window width leaves no caption at all.
TEST_F(LiveWindow, CaptionHitTest) {
  TestSkinWindow window(
      L"<Window size=\"300,200\" caption=\"0,0,0,40\" sizebox=\"4,4,4,4\">"
      L"<VerticalLayout name=\"root\" bkcolor=\"#FFFFFFFF\">"
      L"<HorizontalLayout height=\"40\"><Control name=\"title\" />"
      L"<Button name=\"closebtn\" width=\"40\" /></HorizontalLayout>"
      L"<Control /></VerticalLayout></Window>");
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  auto hit = [&](int x, int y) {
    POINT pt = {x, y};
    ::ClientToScreen(hwnd, &pt);
    return ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
  };
  EXPECT_EQ(HTCAPTION, hit(100, 20));
  EXPECT_EQ(HTCAPTION, hit(100, 39));  // the caption's last row
  EXPECT_EQ(HTCLIENT, hit(100, 40));   // the first row below it
  EXPECT_EQ(HTCLIENT, hit(280, 20));  // the close button
  EXPECT_EQ(HTCLIENT, hit(100, 100));
  EXPECT_EQ(HTTOPLEFT, hit(1, 1));
  EXPECT_EQ(HTRIGHT, hit(298, 100));
  EXPECT_EQ(HTBOTTOM, hit(150, 198));
  window.GetPaintManager().SetSizeBox(RECT{0, 0, 0, 0});
  window.GetPaintManager().SetCaptionRect(RECT{0, 0, 300, 40});
  EXPECT_EQ(HTCLIENT, hit(100, 20));
}

// After a resize the window's region is a rounded rectangle of the new size and the tree is
// laid out again.
TEST_F(LiveWindow, RoundedRegionFollowsSize) {
  TestSkinWindow window(
      L"<Window size=\"300,200\" roundcorner=\"20,20\">"
      L"<VerticalLayout name=\"root\" bkcolor=\"#FF808080\" /></Window>");
  HWND hwnd = window.CreateShown(100, 100, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  ::SetWindowPos(hwnd, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(20);
  vesk::UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, ::GetWindowRgn(hwnd, region.get()));
  RECT box = {};
  ::GetRgnBox(region.get(), &box);
  EXPECT_EQ(200, box.right);
  EXPECT_EQ(150, box.bottom);
  EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));
  EXPECT_FALSE(::PtInRegion(region.get(), 199, 149));
  EXPECT_TRUE(::PtInRegion(region.get(), 100, 75));
  EXPECT_TRUE(::PtInRegion(region.get(), 10, 75));
  ::UpdateWindow(hwnd);
  EXPECT_EQ(200, Find(window, L"root")->GetPos().right);  // laid out again at the new size
  EXPECT_EQ(150, Find(window, L"root")->GetPos().bottom);
}

}  // namespace
}  // namespace SkinUI
