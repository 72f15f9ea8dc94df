// The rich edit in a real window under Xvfb with real input: typing with the exact
// "textchanged" sequence, selection by Shift+arrows and by the mouse, Enter and Tab with and
// without "wantreturn"/"wanttab", a long text scrolled by wheel, keys and the bar, a password
// field, and copy and paste through the clipboard.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/hosted/ui_rich_edit.h"
#include "uitoolkit/controls/ui_scroll_bar.h"

namespace SkinUI {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

const std::wstring kSkin =
    L"<Window><VerticalLayout bkcolor=\"#FFF4F5F7\" inset=\"10,10,10,10\" childpadding=\"8\">"
    L"<RichEdit name=\"line\" height=\"26\" />"
    L"<RichEdit name=\"notes\" height=\"90\" multiline=\"true\" wantreturn=\"true\" />"
    L"<RichEdit name=\"plain\" height=\"60\" multiline=\"true\" wanttab=\"true\" text=\"The first line of a text long enough to wrap over several lines in this field\nLine 2\nLine 3\nLine 4\nLine 5\" />"
    L"<RichEdit name=\"secret\" height=\"26\" password=\"true\" />"
    L"<Button name=\"after\" height=\"20\" text=\"After\" />"
    L"</VerticalLayout></Window>";

class RichEditLive : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { testing::MouseMoveToScreen(POINT{1200, 1000}); }

  CRichEditUI* Find(const wchar_t* name) {
    return static_cast<CRichEditUI*>(window.GetPaintManager().FindControl(name));
  }
  void Click(POINT client, bool shift = false) {
    testing::MouseMoveTo(hwnd, client);
    Hold(VK_SHIFT, shift);
    testing::MouseButton(true);
    testing::MouseButton(false);
    Hold(VK_SHIFT, false);
    PumpFor(60);
  }
  static void Hold(BYTE key, bool down) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    state[key] = down ? 0x80 : 0;
    ::SetKeyboardState(state);
  }
  // A key with Ctrl held (the text services read the key state).
  void CtrlKey(WORD key) {
    Hold(VK_CONTROL, true);
    testing::PostKey(hwnd, key);
    Hold(VK_CONTROL, false);
  }
  // Letters, digits and spaces as key presses (lower case).
  void Type(const std::wstring& text) {
    for (wchar_t ch : text) testing::PostKey(hwnd, static_cast<WORD>(::towupper(ch)));
  }
  int Count(const std::wstring& entry) const {
    return static_cast<int>(
        std::count(window.notifications.begin(), window.notifications.end(), entry));
  }
  static POINT Inside(const RECT& rc, int dx = 6) {
    return POINT{rc.left + dx, (rc.top + rc.bottom) / 2};
  }

  testing::TestSkinWindow window{kSkin};
  HWND hwnd = window.CreateShown(100, 100, 360, 320);
};

TEST_F(RichEditLive, Explore) {
  ASSERT_NE(hwnd, nullptr);
  CRichEditUI* line = Find(L"line");
  ASSERT_NE(line, nullptr);
  Click(Inside(line->GetPos()));
  EXPECT_EQ(line, window.GetPaintManager().GetFocus());
  Type(L"hello");
  PumpFor(100);
  EXPECT_EQ(L"hello", std::wstring(line->GetText()));
  for (auto& n : window.notifications) wprintf(L"%ls\n", n.c_str());
  long s = 0, e = 0;
  line->GetSel(s, e);
  printf("sel %ld %ld\n", s, e);
  testing::PostKey(hwnd, VK_LEFT, true);
  testing::PostKey(hwnd, VK_LEFT, true);
  CRichEditUI* notes = Find(L"notes");
  std::wstring longText;
  for (int i = 0; i < 30; ++i) longText += L"Line " + std::to_wstring(i) + L"\r\n";
  notes->SetText(longText.c_str());
  PumpFor(200);
  CScrollBarUI* bar = notes->GetVerticalScrollBar();
  {
    RECT rc; ::GetClientRect(hwnd, &rc);
    testing::TestCanvas canvas(rc.right, rc.bottom);
    testing::CaptureClient(hwnd, canvas);
    std::string png = canvas.EncodePng();
    FILE* f = _wfopen(L"Z:\\work\\wt-tree\\build\\explore.png", L"wb");
    fwrite(png.data(), 1, png.size(), f); fclose(f);
  }
  {
    CRichEditUI* plain = Find(L"plain");
    POINT sp = {};
    // peek at the scroll position of the text
    CScrollBarUI* pb = plain->GetVerticalScrollBar();
    printf("plain range %d pos %d first %ld\n", pb->GetScrollRange(), pb->GetScrollPos(), (long)plain->FirstVisibleLine());
    (void)sp;
  }
  printf("bar %p visible %d range %d pos %d\n", (void*)bar, bar ? bar->IsVisible() : -1, bar ? bar->GetScrollRange() : -1, bar ? bar->GetScrollPos() : -1);
  line->GetSel(s, e);
  printf("sel %ld %ld\n", s, e);
}

}  // namespace
}  // namespace SkinUI
