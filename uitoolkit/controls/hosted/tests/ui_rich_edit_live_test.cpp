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
    L"<Window defaultbutton=\"after\"><VerticalLayout bkcolor=\"#FFF4F5F7\" inset=\"10,10,10,10\" "
    L"childpadding=\"8\">"
    L"<RichEdit name=\"line\" height=\"26\" />"
    L"<RichEdit name=\"notes\" height=\"90\" multiline=\"true\" wantreturn=\"true\" />"
    L"<RichEdit name=\"plain\" height=\"60\" multiline=\"true\" wanttab=\"true\" />"
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

  static std::wstring ClipboardText() {
    std::wstring text;
    if (!::OpenClipboard(nullptr)) return L"(clipboard busy)";
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      if (auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
        text = chars;
        ::GlobalUnlock(data);
      }
    }
    ::CloseClipboard();
    return text;
  }

  testing::TestSkinWindow window{kSkin};
  HWND hwnd = window.CreateShown(100, 100, 360, 320);
};

// Typed keys become the text with one "textchanged" each; SetText round-trips without one; a
// selection made by Shift+arrows, by a mouse drag or by Shift+click is replaced by the next
// key; a key that changes nothing (Backspace at the start, a key past the maximum length, any
// key into a read-only or disabled field) sends nothing.
TEST_F(RichEditLive, TypingSelectionAndTextChanged) {
  ASSERT_NE(hwnd, nullptr);
  CRichEditUI* line = Find(L"line");
  Click(Inside(line->GetPos()));
  ASSERT_EQ(line, window.GetPaintManager().GetFocus());
  window.notifications.clear();
  Type(L"hello");
  EXPECT_EQ(L"hello", std::wstring(line->GetText()));
  EXPECT_EQ(std::vector<std::wstring>(5, L"textchanged:line"), window.notifications);

  line->SetText(L"abc");
  EXPECT_EQ(L"abc", std::wstring(line->GetText()));
  testing::PostKey(hwnd, VK_END);
  testing::PostKey(hwnd, VK_LEFT, true);
  testing::PostKey(hwnd, VK_LEFT, true);
  long start = 0, end = 0;
  line->GetSel(start, end);
  EXPECT_EQ(1, start);
  EXPECT_EQ(3, end);
  Type(L"x");
  EXPECT_EQ(L"ax", std::wstring(line->GetText()));
  testing::PostKey(hwnd, VK_HOME);
  testing::PostKey(hwnd, VK_BACK);
  line->SetMaxChar(3);
  Type(L"yz");
  EXPECT_EQ(L"yax", std::wstring(line->GetText()));
  EXPECT_EQ(7, Count(L"textchanged:line"));

  // A drag over the whole text selects it, so does a click at its start and a Shift+click at
  // its end; a key replaces the selection.
  line->SetMaxChar(0);
  line->SetText(L"hello world");
  PumpFor(60);
  const RECT field = line->GetPos();
  testing::MouseMoveTo(hwnd, Inside(field, 3));
  testing::MouseButton(true);
  PumpFor(60);
  testing::MouseMoveTo(hwnd, Inside(field, 200));
  testing::MouseButton(false);
  PumpFor(60);
  line->GetSel(start, end);
  EXPECT_EQ(0, start);
  EXPECT_EQ(11, end);
  Click(Inside(field, 3));
  Click(Inside(field, 200), true);
  line->GetSel(start, end);
  EXPECT_EQ(0, start);
  EXPECT_EQ(11, end);
  Type(L"q");
  EXPECT_EQ(L"q", std::wstring(line->GetText()));
  EXPECT_EQ(8, Count(L"textchanged:line"));

  // Read-only: keys change nothing; disabled: clicks and keys do not reach the text.
  line->SetReadOnly(true);
  Type(L"r");
  line->SetReadOnly(false);
  line->SetEnabled(false);
  Click(Inside(field, 3));
  Type(L"d");
  EXPECT_EQ(L"q", std::wstring(line->GetText()));
  EXPECT_EQ(8, Count(L"textchanged:line"));
}

// Enter inserts a line break only in a multi-line field with "wantreturn"; elsewhere it
// inserts nothing and presses the window's default button, or without one sends "return". Tab
// is typed into a field with "wanttab" and moves the focus from any other.
TEST_F(RichEditLive, EnterAndTab) {
  ASSERT_NE(hwnd, nullptr);
  CControlUI* after = window.GetPaintManager().FindControl(L"after");
  struct Row {
    const wchar_t* field;
    WORD key;
    bool defaultButton;
    const wchar_t* text;        // the field's text after the key
    const wchar_t* notified;    // the notifications the key sent, "" for none
    const wchar_t* focusAfter;  // the focused control after the key
  } const rows[] = {
      {L"line", VK_RETURN, false, L"", L"return:line", L"line"},
      {L"line", VK_RETURN, true, L"", L"click:after", L"line"},
      {L"notes", VK_RETURN, true, L"\r\n", L"textchanged:notes", L"notes"},
      {L"plain", VK_RETURN, false, L"", L"return:plain", L"plain"},
      {L"plain", VK_TAB, false, L"\t", L"textchanged:plain", L"plain"},
      {L"line", VK_TAB, false, L"", L"killfocus:line setfocus:notes", L"notes"},
      {L"notes", VK_TAB, false, L"", L"killfocus:notes setfocus:plain", L"plain"},
  };
  for (const Row& row : rows) {
    CRichEditUI* field = Find(row.field);
    field->SetText(L"");
    after->SetEnabled(row.defaultButton);
    Click(Inside(field->GetPos()));
    window.notifications.clear();
    testing::PostKey(hwnd, row.key);
    std::wstring notified;
    for (const std::wstring& entry : window.notifications) {
      notified += (notified.empty() ? L"" : L" ") + entry;
    }
    EXPECT_EQ(row.notified, notified) << row.field << L" " << row.key;
    EXPECT_EQ(row.text, std::wstring(field->GetText())) << row.field << L" " << row.key;
    EXPECT_EQ(Find(row.focusAfter), window.GetPaintManager().GetFocus()) << row.field;
  }
}

// A text taller than the field shows the vertical bar; the wheel, Ctrl+End and Ctrl+Home, and
// the bar's arrow scroll the text, and the bar follows the text's position; a line wider than
// a field that does not wrap shows the horizontal bar, which follows the caret.
TEST_F(RichEditLive, LongTextScrollsWithTheBar) {
  ASSERT_NE(hwnd, nullptr);
  CRichEditUI* notes = Find(L"notes");
  CScrollBarUI* bar = notes->GetVerticalScrollBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->IsVisible());
  std::wstring text;
  for (int i = 1; i <= 40; ++i) text += L"Line " + std::to_wstring(i) + L"\r\n";
  notes->SetText(text.c_str());
  PumpFor(100);
  ASSERT_TRUE(bar->IsVisible());
  EXPECT_GT(bar->GetScrollRange(), 300);
  EXPECT_EQ(0, bar->GetScrollPos());
  EXPECT_EQ(0, notes->FirstVisibleLine());

  testing::MouseMoveTo(hwnd, Inside(notes->GetPos(), 40));
  testing::MouseWheel(-WHEEL_DELTA);
  EXPECT_TRUE(PumpUntil([&] { return bar->GetScrollPos() > 0; }));
  EXPECT_GT(notes->FirstVisibleLine(), 0);

  Click(Inside(notes->GetPos(), 40));
  CtrlKey(VK_END);
  // Windows' last position is the range's end; Wine's one pixel before it.
  EXPECT_NEAR(bar->GetScrollRange(), bar->GetScrollPos(), 1);
  EXPECT_GT(notes->FirstVisibleLine(), 30);
  CtrlKey(VK_HOME);
  EXPECT_EQ(0, bar->GetScrollPos());
  EXPECT_EQ(0, notes->FirstVisibleLine());

  // The bar's lower arrow: a step down at each click, the text with it (three steps are more
  // than a line of text).
  const RECT barRect = bar->GetPos();
  for (int click = 0; click < 3; ++click) {
    Click(POINT{(barRect.left + barRect.right) / 2, barRect.bottom - 4});
  }
  EXPECT_EQ(3 * bar->GetLineSize(), bar->GetScrollPos());
  EXPECT_TRUE(PumpUntil([&] { return notes->FirstVisibleLine() > 0; }, 500));

  // Lines that do not wrap scroll sideways with the caret, on the horizontal bar.
  CRichEditUI* plain = Find(L"plain");
  plain->SetWordWrap(false);
  plain->EnableScrollBar(true, true);
  plain->SetText(L"A line far wider than its field goes on and on and on and on and on and on");
  CScrollBarUI* wide = plain->GetHorizontalScrollBar();
  ASSERT_TRUE(PumpUntil([&] { return wide->IsVisible(); }));
  EXPECT_EQ(0, wide->GetScrollPos());
  Click(Inside(plain->GetPos()));
  testing::PostKey(hwnd, VK_END);
  EXPECT_NEAR(wide->GetScrollRange(), wide->GetScrollPos(), 1);
}

// A password field keeps what is typed but shows only password characters (two texts of the
// same length look the same), and gives nothing to the clipboard.
TEST_F(RichEditLive, PasswordShowsNoText) {
  ASSERT_NE(hwnd, nullptr);
  CRichEditUI* secret = Find(L"secret");
  Click(Inside(secret->GetPos()));
  Type(L"abc");
  EXPECT_EQ(L"abc", std::wstring(secret->GetText()));
  EXPECT_EQ(3, Count(L"textchanged:secret"));
  const RECT field = secret->GetPos();
  // Without the focus (and the caret) the field shows only its text.
  Click(Inside(Find(L"line")->GetPos()));
  auto shot = [&] {
    PumpFor(60);
    testing::TestCanvas canvas(field.right, field.bottom);
    testing::CaptureClient(hwnd, canvas);
    std::vector<DWORD> pixels;
    for (int y = field.top + 2; y < field.bottom - 2; ++y) {
      for (int x = field.left + 2; x < field.right - 2; ++x) pixels.push_back(canvas.Pixel(x, y));
    }
    return pixels;
  };
  const std::vector<DWORD> typed = shot();
  secret->SetText(L"xyz");
  EXPECT_EQ(typed, shot());
  secret->SetText(L"xyzw");
  EXPECT_NE(typed, shot());

  // The clipboard keeps what was copied before.
  Find(L"line")->SetText(L"before");
  CtrlKey('A');
  CtrlKey('C');
  Click(Inside(field));
  CtrlKey('A');
  CtrlKey('C');
  EXPECT_EQ(L"before", ClipboardText());
}

// Ctrl+A and Ctrl+C copy a field's text to the clipboard; Ctrl+V pastes it into another field
// at its caret with one "textchanged".
TEST_F(RichEditLive, ClipboardCopyAndPaste) {
  ASSERT_NE(hwnd, nullptr);
  CRichEditUI* line = Find(L"line");
  CRichEditUI* plain = Find(L"plain");
  line->SetText(L"copied words");
  plain->SetText(L"Start: ");
  Click(Inside(line->GetPos()));
  CtrlKey('A');
  CtrlKey('C');
  EXPECT_EQ(L"copied words", ClipboardText());
  Click(Inside(plain->GetPos()));
  CtrlKey(VK_END);
  window.notifications.clear();
  CtrlKey('V');
  // Wine pastes the copied line as a whole paragraph (with its end); Windows without.
  std::wstring pasted(plain->GetText());
  if (pasted.size() > 2 && pasted.compare(pasted.size() - 2, 2, L"\r\n") == 0) {
    pasted.resize(pasted.size() - 2);
  }
  EXPECT_EQ(L"Start: copied words", pasted);
  EXPECT_EQ(std::vector<std::wstring>{L"textchanged:plain"}, window.notifications);
}

}  // namespace
}  // namespace SkinUI
