// Scrolling in real windows driven by real input: dragging a scroll bar's thumb, a held arrow
// repeating, the wheel over nested scrolling containers, Page Down, Tab scrolling the focused
// control into view, and separators resizing layouts at once or with a drag line.
#include <gtest/gtest.h>

#include <string>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_scroll_bar.h"

namespace SkinUI {
namespace {

using testing::CaptureClient;
using testing::MouseButton;
using testing::MouseMoveTo;
using testing::MouseMoveToScreen;
using testing::PostKey;
using testing::PumpFor;
using testing::PumpUntil;
using testing::TestCanvas;
using testing::TestSkinWindow;

// Twenty buttons of 40 pixels, alternately blue and orange, in a 200 x 200 scrolling column:
// range 600, page 200; the bar's track is 168 long and its thumb 42.
std::wstring ButtonColumn() {
  std::wstring xml = L"<Window size=\"200,200\"><VerticalLayout name=\"list\" vscrollbar=\"true\">";
  for (int i = 0; i < 20; ++i) {
    xml += L"<Button name=\"b" + std::to_wstring(i) + L"\" height=\"40\" bkcolor=\"" +
           (i % 2 == 0 ? L"#FF2060A0" : L"#FFA06020") + L"\" />";
  }
  return xml + L"</VerticalLayout></Window>";
}

class LiveScroll : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { MouseMoveToScreen(POINT{1200, 1000}); }

  HWND Show(TestSkinWindow& window, int width, int height) {
    HWND hwnd = window.CreateShown(100, 100, width, height);
    PumpFor(50);
    return hwnd;
  }
  CControlUI* Find(TestSkinWindow& window, const wchar_t* name) {
    return window.GetPaintManager().FindControl(name);
  }
  CContainerUI* Container(TestSkinWindow& window, const wchar_t* name) {
    return static_cast<CContainerUI*>(Find(window, name)->GetInterface(L"Container"));
  }
  static void Wheel(int notches) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = MOUSEEVENTF_WHEEL;
    input.mi.mouseData = static_cast<DWORD>(-notches * WHEEL_DELTA);
    ::SendInput(1, &input, sizeof(input));
    PumpFor(50);
  }
};

// Dragging the thumb 63 pixels (also with the pointer far outside the bar) scrolls 63 × 600 /
// (168 - 42) = 300 pixels: the content moved by that much on the screen, and "scroll" was sent.
TEST_F(LiveScroll, ThumbDragMovesContent) {
  TestSkinWindow window(ButtonColumn());
  HWND hwnd = Show(window, 200, 200);
  ASSERT_NE(nullptr, hwnd);
  CContainerUI* list = Container(window, L"list");
  ASSERT_EQ(600, list->GetScrollRange().cy);
  MouseMoveTo(hwnd, POINT{192, 30});
  MouseButton(true);
  MouseMoveTo(hwnd, POINT{60, 60});
  MouseMoveTo(hwnd, POINT{60, 93});
  EXPECT_EQ(300, list->GetScrollPos().cy);
  MouseButton(false);
  EXPECT_EQ(-300, Find(window, L"b0")->GetPos().top);
  PumpFor(100);
  TestCanvas canvas(200, 200);
  CaptureClient(hwnd, canvas);
  // Content y 310 (b7, orange) shows at 10, content y 330 (b8, blue) at 30.
  EXPECT_EQ(0x2060A0u, ::GetPixel(canvas.dc(), 50, 10) & 0xFFFFFF);
  EXPECT_EQ(0xA06020u, ::GetPixel(canvas.dc(), 50, 30) & 0xFFFFFF);
  EXPECT_TRUE(PumpUntil([&] {
    for (const std::wstring& entry : window.notifications) {
      if (entry.compare(0, 7, L"scroll:") == 0) return true;
    }
    return false;
  }));
}

// A held down arrow scrolls one line at once, nothing more for about half a second, then
// repeats about every 50 ms until released.
TEST_F(LiveScroll, HeldArrowRepeats) {
  TestSkinWindow window(ButtonColumn());
  HWND hwnd = Show(window, 200, 200);
  ASSERT_NE(nullptr, hwnd);
  CContainerUI* list = Container(window, L"list");
  const int line = list->GetVerticalScrollBar()->GetLineSize();
  MouseMoveTo(hwnd, POINT{192, 192});
  MouseButton(true);
  PumpFor(250);
  EXPECT_EQ(line, list->GetScrollPos().cy);
  PumpFor(750);
  MouseButton(false);
  const int held = list->GetScrollPos().cy;
  EXPECT_GE(held, 5 * line);
  EXPECT_LE(held, 20 * line);
  PumpFor(200);
  EXPECT_EQ(held, list->GetScrollPos().cy);
}

// Page Down from a focused button scrolls its column by one client height; Tab onto a button
// below the visible area scrolls it just into view.
TEST_F(LiveScroll, PageDownAndTabIntoView) {
  TestSkinWindow window(ButtonColumn());
  HWND hwnd = Show(window, 200, 200);
  ASSERT_NE(nullptr, hwnd);
  CContainerUI* list = Container(window, L"list");
  window.GetPaintManager().SetFocus(Find(window, L"b0"));
  PostKey(hwnd, VK_NEXT);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 200; }));
  PostKey(hwnd, VK_HOME);
  ASSERT_TRUE(PumpUntil([&] { return list->GetScrollPos().cy == 0; }));
  for (int i = 0; i < 6; ++i) PostKey(hwnd, VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return window.GetPaintManager().GetFocus() == Find(window, L"b6"); }));
  EXPECT_EQ(80, list->GetScrollPos().cy);
  EXPECT_EQ(200, Find(window, L"b6")->GetPos().bottom);
}

// The wheel over a scrolling column inside another scrolls the inner one only (3 lines of 8
// pixels per notch); over the outer one's own content it scrolls the outer one.
TEST_F(LiveScroll, WheelScrollsInnermostScroller) {
  std::wstring xml = L"<Window size=\"200,200\"><VerticalLayout name=\"outer\" vscrollbar=\"true\">"
                     L"<VerticalLayout name=\"inner\" height=\"100\" vscrollbar=\"true\">";
  for (int i = 0; i < 10; ++i) xml += L"<Label height=\"30\" bkcolor=\"#FFC0D0E0\" />";
  xml += L"</VerticalLayout><Label height=\"400\" bkcolor=\"#FFE0D0C0\" />"
         L"</VerticalLayout></Window>";
  TestSkinWindow window(xml);
  HWND hwnd = Show(window, 200, 200);
  ASSERT_NE(nullptr, hwnd);
  CContainerUI* outer = Container(window, L"outer");
  CContainerUI* inner = Container(window, L"inner");
  MouseMoveTo(hwnd, POINT{50, 50});
  Wheel(1);
  ASSERT_TRUE(PumpUntil([&] { return inner->GetScrollPos().cy == 24; }));
  EXPECT_EQ(0, outer->GetScrollPos().cy);
  MouseMoveTo(hwnd, POINT{50, 150});
  Wheel(1);
  ASSERT_TRUE(PumpUntil([&] { return outer->GetScrollPos().cy == 24; }));
  EXPECT_EQ(24, inner->GetScrollPos().cy);
}

// A separator at the bottom of the top layout resizes it as the mouse moves (sepimm); one at the
// top of the bottom layout shows a drag line at the new edge and applies on release. The middle
// neighbour stretches in both cases; the sizing cursor shows over a strip.
TEST_F(LiveScroll, SeparatorsResizeNeighbours) {
  TestSkinWindow window(
      L"<Window size=\"300,200\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
      L"<VerticalLayout name=\"top\" height=\"80\" sepheight=\"6\" sepimm=\"true\" "
      L"bkcolor=\"#FFD0E0F0\" />"
      L"<Control name=\"mid\" bkcolor=\"#FFF0F0D0\" />"
      L"<VerticalLayout name=\"bottom\" height=\"60\" sepheight=\"-6\" bkcolor=\"#FFD0F0D0\" />"
      L"</VerticalLayout></Window>");
  HWND hwnd = Show(window, 300, 200);
  ASSERT_NE(nullptr, hwnd);
  CControlUI* mid = Find(window, L"mid");
  MouseMoveTo(hwnd, POINT{150, 77});
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENS), ::GetCursor());
  MouseButton(true);
  MouseMoveTo(hwnd, POINT{150, 107});
  ASSERT_TRUE(PumpUntil([&] { return mid->GetPos().top == 110; }));
  MouseButton(false);
  EXPECT_EQ(110, Find(window, L"top")->GetFixedHeight());

  MouseMoveTo(hwnd, POINT{150, 142});
  MouseButton(true);
  MouseMoveTo(hwnd, POINT{150, 172});
  PumpFor(100);
  TestCanvas canvas(300, 200);
  CaptureClient(hwnd, canvas);
  EXPECT_EQ(140, mid->GetPos().bottom);  // not applied yet
  const DWORD line = CBoxLayoutUI::kDragLineColor & 0xFFFFFF;  // a grey: same in either order
  EXPECT_EQ(line, ::GetPixel(canvas.dc(), 150, 172) & 0xFFFFFF);
  EXPECT_NE(line, ::GetPixel(canvas.dc(), 150, 142) & 0xFFFFFF);
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return mid->GetPos().bottom == 170; }));
  EXPECT_EQ(30, Find(window, L"bottom")->GetFixedHeight());
}

}  // namespace
}  // namespace SkinUI
