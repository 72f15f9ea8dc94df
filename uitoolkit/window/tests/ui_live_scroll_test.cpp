// Scrolling in real windows driven by real input: dragging a scroll bar's thumb, a held arrow
// repeating, the wheel over nested scrolling containers, Page Down, Tab scrolling the focused
// control into view, and separators resizing layouts at once or with a drag line.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_scroll_bar.h"

namespace SkinUI {
namespace {

using testing::MouseButton;
using testing::MouseMoveTo;
using testing::MouseWheel;
using testing::PostKey;
using testing::PumpFor;
using testing::PumpUntil;

// Twenty buttons of 40 pixels, alternately blue and orange, in a 200 x 200 scrolling column:
// range 600, page 200; the bar's track is 168 long and its thumb 42.
std::wstring ButtonColumn() {
  std::wstring xml = L"<Window><VerticalLayout name=\"list\" vscrollbar=\"true\">";
  for (int i = 0; i < 20; ++i) {
    xml += L"<Button name=\"b" + std::to_wstring(i) + L"\" height=\"40\" bkcolor=\"" +
           (i % 2 == 0 ? L"#FF2060A0" : L"#FFA06020") + L"\" />";
  }
  return xml + L"</VerticalLayout></Window>";
}

class LiveScroll : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { testing::MouseMoveToScreen(POINT{1200, 1000}); }

  // Shows the skin in a window of `width` x 200.
  void Open(const std::wstring& skin, int width = 200) {
    window = std::make_unique<testing::TestSkinWindow>(skin);
    hwnd = window->CreateShown(100, 100, width, 200);
    ASSERT_NE(nullptr, hwnd);
    PumpFor(50);
  }
  CControlUI* Find(const wchar_t* name) { return window->GetPaintManager().FindControl(name); }
  CContainerUI* Container(const wchar_t* name) {
    return static_cast<CContainerUI*>(Find(name)->GetInterface(L"Container"));
  }
  // The window's pixel at (x, y) as shown on the screen (0x00BBGGRR).
  DWORD ScreenPixel(int x, int y) {
    PumpFor(100);
    RECT rc;
    ::GetClientRect(hwnd, &rc);
    testing::TestCanvas canvas(rc.right, rc.bottom);
    testing::CaptureClient(hwnd, canvas);
    return ::GetPixel(canvas.dc(), x, y) & 0xFFFFFF;
  }

  std::unique_ptr<testing::TestSkinWindow> window;
  HWND hwnd = nullptr;
};

// Dragging the thumb 63 pixels (also with the pointer far outside the bar) scrolls 63 × 600 /
// (168 - 42) = 300 pixels: the content moved by that much on the screen, and "scroll" was sent.
// Then, from a focused button, Page Down scrolls one client height and Home back; Tab onto a
// button below the visible area scrolls it just into view. Last, a held down arrow scrolls one
// line at once, nothing more for about half a second, then about every 50 ms until released.
TEST_F(LiveScroll, ThumbDragKeysTabAndHeldArrow) {
  Open(ButtonColumn());
  CContainerUI* list = Container(L"list");
  ASSERT_EQ(600, list->GetScrollRange().cy);
  MouseMoveTo(hwnd, POINT{192, 30});
  MouseButton(true);
  MouseMoveTo(hwnd, POINT{60, 60});
  MouseMoveTo(hwnd, POINT{60, 93});
  EXPECT_EQ(300, list->GetScrollPos().cy);
  MouseButton(false);
  // Content y 310 (b7, orange) shows at 10, content y 330 (b8, blue) at 30.
  EXPECT_EQ(0x2060A0u, ScreenPixel(50, 10));
  EXPECT_EQ(0xA06020u, ScreenPixel(50, 30));
  const auto& sent = window->notifications;
  EXPECT_NE(sent.end(), std::find(sent.begin(), sent.end(), L"scroll:"));

  window->GetPaintManager().SetFocus(Find(L"b0"));
  PostKey(hwnd, VK_NEXT);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 500; }));
  PostKey(hwnd, VK_HOME);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 0; }));
  for (int i = 0; i < 6; ++i) PostKey(hwnd, VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return window->GetPaintManager().GetFocus() == Find(L"b6"); }));
  EXPECT_EQ(80, list->GetScrollPos().cy);
  EXPECT_EQ(200, Find(L"b6")->GetPos().bottom);

  const int line = list->GetVerticalScrollBar()->GetLineSize();
  MouseMoveTo(hwnd, POINT{192, 192});
  MouseButton(true);
  PumpFor(250);
  EXPECT_EQ(80 + line, list->GetScrollPos().cy);
  PumpFor(750);
  MouseButton(false);
  const int held = list->GetScrollPos().cy - 80;
  EXPECT_GE(held, 5 * line);
  EXPECT_LE(held, 20 * line);
  PumpFor(200);
  EXPECT_EQ(80 + held, list->GetScrollPos().cy);
}

// The wheel over a scrolling column inside another scrolls the inner one only (3 lines of 8
// pixels per notch); over the outer one's own content it scrolls the outer one.
TEST_F(LiveScroll, WheelScrollsInnermostScroller) {
  std::wstring xml = L"<Window><VerticalLayout name=\"outer\" vscrollbar=\"true\">"
                     L"<VerticalLayout name=\"inner\" height=\"100\" vscrollbar=\"true\">";
  for (int i = 0; i < 10; ++i) xml += L"<Label height=\"30\" />";
  Open(xml + L"</VerticalLayout><Label height=\"400\" /></VerticalLayout></Window>");
  for (int y : {50, 150}) {
    MouseMoveTo(hwnd, POINT{50, y});
    MouseWheel(-WHEEL_DELTA);
    PumpFor(20);
  }
  ASSERT_TRUE(PumpUntil([&] { return Container(L"outer")->GetScrollPos().cy == 24; }));
  EXPECT_EQ(24, Container(L"inner")->GetScrollPos().cy);
}

// A separator at the bottom of the top layout resizes it as the mouse moves (sepimm); one at the
// top of the bottom layout shows a drag line at the new edge and applies on release. The middle
// neighbour stretches in both cases; the sizing cursor shows over a strip.
TEST_F(LiveScroll, SeparatorsResizeNeighbours) {
  Open(L"<Window><VerticalLayout bkcolor=\"#FFFFFFFF\">"
       L"<VerticalLayout name=\"top\" height=\"80\" sepheight=\"6\" sepimm=\"true\" />"
       L"<Control name=\"mid\" bkcolor=\"#FFF0F0D0\" />"
       L"<VerticalLayout name=\"bottom\" height=\"60\" sepheight=\"-6\" bkcolor=\"#FFD0F0D0\" />"
       L"</VerticalLayout></Window>",
       300);
  CControlUI* mid = Find(L"mid");
  MouseMoveTo(hwnd, POINT{150, 77});
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENS), ::GetCursor());
  MouseButton(true);
  MouseMoveTo(hwnd, POINT{150, 107});
  ASSERT_TRUE(PumpUntil([&] { return mid->GetPos().top == 110; }));
  MouseButton(false);
  EXPECT_EQ(110, Find(L"top")->GetFixedHeight());

  MouseMoveTo(hwnd, POINT{150, 142});
  MouseButton(true);
  MouseMoveTo(hwnd, POINT{150, 172});
  const DWORD line = CBoxLayoutUI::kDragLineColor & 0xFFFFFF;  // a grey: same in either order
  EXPECT_EQ(line, ScreenPixel(150, 172));
  EXPECT_EQ(0xD0F0D0u, ScreenPixel(150, 142));
  EXPECT_EQ(140, mid->GetPos().bottom);  // not applied yet
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return mid->GetPos().bottom == 170; }));
  EXPECT_EQ(30, Find(L"bottom")->GetFixedHeight());
}

}  // namespace
}  // namespace SkinUI
