// Edit fields: attributes, their own painting (password characters, state images), and the
// native EDIT window they place over the text while editing, driven with real window messages
// under a plain parent window that reflects its children's commands and colour requests the way
// the toolkit's window does.
#include "uitoolkit/controls/ui_edit.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"

namespace SkinUI {
namespace testing {
namespace {

// Painted by the control: the password field shows one asterisk per character, a plain one
// its text; state images disabled, else focused, else hot, else normal.
TEST(EditPaint, PasswordFieldAndStateImages) {
  TestCanvas canvas(240, 30, 0xFFFFFF);
  LeafBoard board;
  const std::wstring border = L" bordersize=\"1\" bordercolor=\"#FF000000\"";
  board.Add<CEditUI>(L"text=\"secret\" password=\"true\"" + border, RECT{0, 0, 76, 24});
  board.Add<CEditUI>(L"text=\"secret\"" + border, RECT{80, 0, 156, 24});
  auto& hot = board.Add<CEditUI>(L"normalimage=\"" + FiveSlice(0, 2) + L"\" hotimage=\"" +
                                     FiveSlice(2, 2) + L"\" focusedimage=\"" +
                                     FiveSlice(3, 2) + L"\" disabledimage=\"" +
                                     FiveSlice(4, 2) + L"\"",
                                 RECT{160, 0, 236, 24});
  SendEvents(hot, {MakeEvent(UIEVENT_MOUSEENTER, 170, 5)});
  board.PaintAll(canvas.dc(), canvas.rect());
  EXPECT_EQ(0x00FFFFu, canvas.Pixel(200, 12));
  SendEvents(hot, {MakeEvent(UIEVENT_SETFOCUS)});
  hot.Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0x00C800u, canvas.Pixel(200, 12));
  hot.SetEnabled(false);
  hot.Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0x808080u, canvas.Pixel(200, 12));
  // Without a window to edit in, focus paints the field as before.
  EXPECT_EQ(nullptr, hot.GetNativeWindow());
  EXPECT_TRUE(MatchesGolden(canvas, "edit_password"));
}

// A plain top-level window standing in for the toolkit's window: it reflects WM_COMMAND and
// WM_CTLCOLOR* of its children back to them (message + 0x2000).
LRESULT CALLBACK ReflectingWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (lParam != 0) {
        return ::SendMessageW(reinterpret_cast<HWND>(lParam), message + 0x2000, wParam, lParam);
      }
      break;
    default:
      break;
  }
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

class ParentWindow {
 public:
  ParentWindow() {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &ReflectingWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"LeafEditTestParent";
    ::RegisterClassW(&windowClass);
    m_hwnd = ::CreateWindowExW(0, L"LeafEditTestParent", L"edit test", WS_OVERLAPPEDWINDOW, 0, 0,
                               300, 120, nullptr, nullptr, windowClass.hInstance, nullptr);
    ::ShowWindow(m_hwnd, SW_SHOW);
    ::SetForegroundWindow(m_hwnd);
    ::SetFocus(m_hwnd);
  }
  ~ParentWindow() { ::DestroyWindow(m_hwnd); }
  HWND get() const { return m_hwnd; }

 private:
  HWND m_hwnd = nullptr;
};

void PumpMessages() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Types `text` into `hwnd` as posted character messages, and runs them.
void Type(HWND hwnd, const wchar_t* text) {
  for (const wchar_t* c = text; *c != L'\0'; ++c) ::PostMessageW(hwnd, WM_CHAR, *c, 1);
  PumpMessages();
}

// The child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND child) {
  RECT rc = {};
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

// The edit window's selection (start, end).
std::pair<DWORD, DWORD> Selection(HWND edit) {
  DWORD start = 0, end = 0;
  ::SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

CUiString NativeText(HWND hwnd) {
  wchar_t buffer[256] = {};
  ::GetWindowTextW(hwnd, buffer, 256);
  return CUiString(buffer);
}

// Focus creates the native window over the text rectangle with the limit, the password
// character and the text; typing past the limit is refused; each change comes back as the
// control's text with "textchanged", Enter sends "return"; leaving password mode reaches the
// window; losing the focus closes the window and the control keeps the text.
TEST(EditNative, TypingIntoTheNativeWindow) {
  ParentWindow parent;
  ASSERT_NE(nullptr, parent.get());
  LeafManager manager;
  manager.window = parent.get();
  CEditUI edit;
  Attach(edit, manager, nullptr, RECT{10, 10, 210, 40});
  edit.SetName(L"pw");
  edit.SetAttributeList(L"maxchar=\"10\" password=\"true\" text=\"ab\" align=\"center\"");
  SendEvents(edit, {MakeEvent(UIEVENT_SETFOCUS)});
  HWND native = edit.GetNativeWindow();
  ASSERT_NE(nullptr, native);
  EXPECT_EQ(native, ::GetFocus());
  EXPECT_EQ(std::vector<HWND>{native}, manager.nativeWindows);
  EXPECT_EQ(10, ::SendMessageW(native, EM_GETLIMITTEXT, 0, 0));
  EXPECT_EQ(L'*', ::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0));
  EXPECT_EQ(ES_PASSWORD | ES_CENTER,
            ::GetWindowLongW(native, GWL_STYLE) & (ES_PASSWORD | ES_CENTER));
  EXPECT_EQ(CUiString(L"ab"), NativeText(native));
  // Inside the text padding, vertically centred on the font height.
  const RECT rc = RectInParent(native);
  const int fontHeight = edit.GetFontHeight();
  const LONG top = 13 + (24 - fontHeight) / 2;
  EXPECT_TRUE(CUiRect(rc) == (RECT{14, top, 206, top + fontHeight})) << rc.top << " " << rc.bottom;
  EXPECT_TRUE(manager.notifications.empty());

  Type(native, L"cdefghijklmn");
  EXPECT_EQ(CUiString(L"abcdefghij"), NativeText(native));
  EXPECT_EQ(CUiString(L"abcdefghij"), edit.GetText());
  const std::vector<std::wstring> log = manager.NotificationLog();
  ASSERT_EQ(8u, log.size());
  EXPECT_EQ(L"textchanged:pw", log.back());
  Type(native, L"\r");
  EXPECT_EQ(L"return:pw", manager.NotificationLog().back());
  edit.SetPasswordMode(false);
  EXPECT_EQ(0, ::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0));
  EXPECT_EQ(CUiString(L"abcdefghij"), edit.GetText());

  ::SetFocus(parent.get());
  PumpMessages();
  EXPECT_EQ(nullptr, edit.GetNativeWindow());
  EXPECT_FALSE(::IsWindow(native));
  EXPECT_TRUE(manager.nativeWindows.empty());
  EXPECT_EQ(CUiString(L"abcdefghij"), edit.GetText());
}

// A read-only field refuses typing and auto-select-all selects the text; SetReadOnly and
// number-only reach the window; a click while editing puts the caret where it points; the colour
// request answers the text colour and a solid brush of an opaque native background, or a pattern
// brush of the control's own painting for a translucent one; moving, emptying, disabling and
// hiding the control move, hide and disable the window; destroying the control destroys it.
TEST(EditNative, ReadOnlyClickColoursPlacementAndTeardown) {
  ParentWindow parent;
  LeafManager manager;
  manager.window = parent.get();
  auto edit = std::make_unique<CEditUI>();
  Attach(*edit, manager, nullptr, RECT{10, 10, 210, 40});
  edit->SetAttributeList(
      L"readonly=\"true\" text=\"fixed\" textcolor=\"#FF0000FF\" nativebkcolor=\"#FF00FF00\" "
      L"autoselall=\"true\"");
  SendEvents(*edit, {MakeEvent(UIEVENT_SETFOCUS)});
  HWND native = edit->GetNativeWindow();
  ASSERT_NE(nullptr, native);
  EXPECT_NE(0, ::GetWindowLongW(native, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ((std::pair<DWORD, DWORD>{0, 5}), Selection(native));
  Type(native, L"xy");
  EXPECT_EQ(CUiString(L"fixed"), NativeText(native));
  edit->SetReadOnly(false);
  edit->SetAutoSelAll(false);
  edit->SetNumberOnly(true);
  EXPECT_EQ(0, ::GetWindowLongW(native, GWL_STYLE) & ES_READONLY);
  EXPECT_NE(0, ::GetWindowLongW(native, GWL_STYLE) & ES_NUMBER);
  const RECT text = RectInParent(native);
  SendEvents(*edit, {MakeEvent(UIEVENT_BUTTONDOWN, text.left, (text.top + text.bottom) / 2)});
  ::PostMessageW(native, WM_LBUTTONUP, 0, MAKELPARAM(0, (text.bottom - text.top) / 2));
  PumpMessages();
  Type(native, L"7");
  EXPECT_EQ(CUiString(L"7fixed"), edit->GetText());

  vesk::ScopedWindowDC dc(native);
  auto askColours = [&]() {
    LOGBRUSH info = {};
    const LRESULT brush =
        ::SendMessageW(parent.get(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(native));
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(info), &info);
    return info;
  };
  const LOGBRUSH solid = askColours();
  EXPECT_EQ(static_cast<UINT>(BS_SOLID), solid.lbStyle);
  EXPECT_EQ(RGB(0, 255, 0), solid.lbColor);
  EXPECT_EQ(RGB(0, 0, 255), ::GetTextColor(dc.get()));
  edit->SetNativeEditBkColor(0x80FF0000);
  const LOGBRUSH pattern = askColours();
  EXPECT_TRUE(pattern.lbStyle == BS_PATTERN || pattern.lbStyle == BS_DIBPATTERN);
  EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc.get()));

  edit->SetPos(RECT{20, 50, 220, 80});
  EXPECT_EQ(24, RectInParent(native).left);
  edit->SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(native));
  edit->SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(native));
  edit->SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(native));
  edit->SetPos(RECT{20, 50, 20, 80});
  EXPECT_FALSE(::IsWindowVisible(native));
  edit.reset();
  EXPECT_FALSE(::IsWindow(native));
  EXPECT_TRUE(manager.nativeWindows.empty());
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
