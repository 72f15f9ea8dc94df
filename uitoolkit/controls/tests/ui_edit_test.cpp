// Edit fields: attributes, their own painting (password characters, state images), and the
// native EDIT window they place over the text while editing, driven with real window messages
// under a plain parent window that reflects its children's commands and colour requests the way
// the toolkit's window does.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"
#include "uitoolkit/controls/ui_edit.h"

namespace SkinUI {
namespace {

using testing::Attach;
using testing::LeafManager;
using testing::MakeEvent;
using testing::MatchesGolden;
using testing::SendEvents;
using testing::TestCanvas;

struct StyleCase {
  DWORD extra;
  bool password;
  UINT textStyle;
  DWORD expected;
};

// The native window's style: child and auto-scroll always, number-only and password as set,
// centred or right-aligned text from the label's style (centre first).
TEST(EditNative, WindowStyleAndPlace) {
  const DWORD base = WS_CHILD | ES_AUTOHSCROLL;
  const StyleCase cases[] = {
      {0, false, DT_VCENTER | DT_SINGLELINE, base},
      {ES_NUMBER, true, DT_LEFT, base | ES_NUMBER | ES_PASSWORD},
      {0, false, DT_CENTER | DT_RIGHT, base | ES_CENTER},
      {0, false, DT_RIGHT, base | ES_RIGHT},
  };
  for (const StyleCase& row : cases) {
    EXPECT_EQ(row.expected, EditWindowStyle(row.extra, row.password, row.textStyle));
  }
  const RECT tall = EditWindowRect(RECT{10, 10, 110, 50}, RECT{4, 3, 4, 3}, 14);
  EXPECT_EQ(14, tall.left);
  EXPECT_EQ(23, tall.top);
  EXPECT_EQ(37, tall.bottom);
  EXPECT_EQ(106, tall.right);
  const RECT low = EditWindowRect(RECT{10, 10, 110, 26}, RECT{4, 3, 4, 3}, 14);
  EXPECT_EQ(13, low.top);
  EXPECT_EQ(23, low.bottom);
  EXPECT_EQ(CUiString(L"####"), MaskedText(L"abcd", L'#'));
}

// The attribute table, and what is not claimed reaching the label.
TEST(EditAttributes, Table) {
  CEditUI edit;
  EXPECT_EQ(255u, edit.GetMaxChar());
  EXPECT_EQ(0xFFFFFFFFu, edit.GetBkColor());
  EXPECT_EQ(4, edit.GetTextPadding().left);
  edit.SetAttributeList(
      L"readonly=\"true\" numberonly=\"true\" password=\"true\" autoselall=\"true\" "
      L"maxchar=\"10\" nativebkcolor=\"#FF102030\" align=\"center\"");
  EXPECT_TRUE(edit.IsReadOnly());
  EXPECT_TRUE(edit.IsNumberOnly());
  EXPECT_EQ(static_cast<DWORD>(ES_NUMBER), edit.GetWindowStyles());
  EXPECT_TRUE(edit.IsPasswordMode());
  EXPECT_TRUE(edit.IsAutoSelAll());
  EXPECT_EQ(10u, edit.GetMaxChar());
  EXPECT_EQ(0xFF102030u, edit.GetNativeEditBkColor());
  EXPECT_EQ(static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE), edit.GetTextStyle());
  edit.SetAttribute(L"numberonly", L"false");
  EXPECT_EQ(0u, edit.GetWindowStyles());
  EXPECT_EQ(&edit, edit.GetInterface(L"Label"));
}

// Painted by the control: the password field shows one asterisk per character, a plain one
// its text; state images disabled, else focused, else hot, else normal.
TEST(EditPaint, PasswordFieldAndStateImages) {
  TestCanvas canvas(240, 30, 0xFFFFFF);
  LeafManager manager;
  const std::wstring image = testing::TestImagePath(L"five.png");
  auto slice = [&](int index) {
    return L"file='" + image + L"' source='" + std::to_wstring(index * 10 + 2) + L",2," +
           std::to_wstring(index * 10 + 8) + L",8'";
  };
  const std::wstring images = L"normalimage=\"" + slice(0) + L"\" hotimage=\"" + slice(2) +
                              L"\" focusedimage=\"" + slice(3) + L"\" disabledimage=\"" +
                              slice(4) + L"\"";
  std::vector<std::unique_ptr<CEditUI>> edits;
  auto add = [&](const std::wstring& attributes, int column) -> CEditUI& {
    edits.push_back(std::make_unique<CEditUI>());
    Attach(*edits.back(), manager, nullptr, RECT{column * 80, 0, column * 80 + 76, 24});
    edits.back()->SetAttributeList(attributes.c_str());
    return *edits.back();
  };
  add(L"text=\"secret\" password=\"true\" bordersize=\"1\" bordercolor=\"#FF000000\"", 0);
  add(L"text=\"secret\" bordersize=\"1\" bordercolor=\"#FF000000\"", 1);
  CEditUI& hot = add(images, 2);
  SendEvents(hot, {MakeEvent(UIEVENT_MOUSEENTER, 170, 5)});
  for (auto& edit : edits) edit->Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0x00FFFFu, canvas.Pixel(200, 12));
  SendEvents(hot, {MakeEvent(UIEVENT_SETFOCUS)});
  hot.Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0x00C800u, canvas.Pixel(200, 12));
  hot.SetEnabled(false);
  hot.Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0x808080u, canvas.Pixel(200, 12));
  // Without a window to edit in, focus paints the field as before.
  EXPECT_EQ(nullptr, edits[0]->GetNativeWindow());
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
// control's text with "textchanged", Enter sends "return"; losing the focus closes the window and
// the control keeps the text.
TEST(EditNative, TypingIntoTheNativeWindow) {
  ParentWindow parent;
  ASSERT_NE(nullptr, parent.get());
  LeafManager manager;
  manager.window = parent.get();
  CEditUI edit;
  Attach(edit, manager, nullptr, RECT{10, 10, 210, 40});
  edit.SetName(L"pw");
  edit.SetAttributeList(L"maxchar=\"10\" password=\"true\" text=\"ab\"");
  SendEvents(edit, {MakeEvent(UIEVENT_SETFOCUS)});
  HWND native = edit.GetNativeWindow();
  ASSERT_NE(nullptr, native);
  EXPECT_EQ(parent.get(), ::GetParent(native));
  EXPECT_EQ(native, ::GetFocus());
  EXPECT_TRUE(::IsWindowVisible(native));
  EXPECT_EQ(std::vector<HWND>{native}, manager.nativeWindows);
  EXPECT_EQ(10, ::SendMessageW(native, EM_GETLIMITTEXT, 0, 0));
  EXPECT_EQ(L'*', ::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0));
  EXPECT_NE(0, ::GetWindowLongW(native, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(CUiString(L"ab"), NativeText(native));
  RECT rc = RectInParent(native);
  EXPECT_EQ(14, rc.left);
  EXPECT_EQ(206, rc.right);
  EXPECT_TRUE(manager.notifications.empty());

  Type(native, L"cdefghijklmn");
  EXPECT_EQ(CUiString(L"abcdefghij"), NativeText(native));
  EXPECT_EQ(CUiString(L"abcdefghij"), edit.GetText());
  const std::vector<std::wstring> log = manager.NotificationLog();
  ASSERT_EQ(8u, log.size());
  EXPECT_EQ(L"textchanged:pw", log.back());
  Type(native, L"\r");
  EXPECT_EQ(L"return:pw", manager.NotificationLog().back());
  EXPECT_EQ(CUiString(L"abcdefghij"), edit.GetText());

  ::SetFocus(parent.get());
  PumpMessages();
  EXPECT_EQ(nullptr, edit.GetNativeWindow());
  EXPECT_FALSE(::IsWindow(native));
  EXPECT_TRUE(manager.nativeWindows.empty());
  EXPECT_EQ(CUiString(L"abcdefghij"), edit.GetText());
}

// A read-only field refuses typing; SetReadOnly reaches a window that exists; the colour request
// answers the control's text colour and a solid brush of an opaque native background colour;
// moving the control moves the window, an empty rectangle hides it; destroying the control
// destroys the window.
TEST(EditNative, ReadOnlyColoursPlacementAndTeardown) {
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
  EXPECT_EQ(0, ::GetWindowLongW(native, GWL_STYLE) & ES_READONLY);

  {
    vesk::ScopedWindowDC dc(native);
    const LRESULT brush =
        ::SendMessageW(parent.get(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(native));
    ASSERT_NE(0, brush);
    LOGBRUSH info = {};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(info), &info);
    EXPECT_EQ(RGB(0, 255, 0), info.lbColor);
    EXPECT_EQ(RGB(0, 0, 255), ::GetTextColor(dc.get()));
  }

  edit->SetPos(RECT{20, 50, 220, 80});
  const RECT rc = RectInParent(native);
  EXPECT_EQ(24, rc.left);
  EXPECT_GE(rc.top, 53);
  edit->SetPos(RECT{20, 50, 20, 80});
  EXPECT_FALSE(::IsWindowVisible(native));

  edit.reset();
  EXPECT_FALSE(::IsWindow(native));
  EXPECT_TRUE(manager.nativeWindows.empty());
}

// A button down while editing puts the caret where it points (the selection collapsed first);
// number-only reaches the existing window; a translucent native background answers a pattern
// brush of the control's own painting with a transparent text background; hiding or disabling
// the control hides or disables the window.
TEST(EditNative, ClickStylesTranslucentBackgroundAndVisibility) {
  ParentWindow parent;
  LeafManager manager;
  manager.window = parent.get();
  CEditUI edit;
  Attach(edit, manager, nullptr, RECT{10, 10, 210, 40});
  edit.SetAttributeList(L"text=\"hello\" nativebkcolor=\"#80FF0000\" bkcolor=\"#FF00FF00\"");
  SendEvents(edit, {MakeEvent(UIEVENT_SETFOCUS)});
  HWND native = edit.GetNativeWindow();
  ASSERT_NE(nullptr, native);
  EXPECT_EQ((std::pair<DWORD, DWORD>{5, 5}), Selection(native));
  RECT rc = RectInParent(native);
  SendEvents(edit, {MakeEvent(UIEVENT_BUTTONDOWN, rc.left, (rc.top + rc.bottom) / 2)});
  ::PostMessageW(native, WM_LBUTTONUP, 0, MAKELPARAM(0, (rc.bottom - rc.top) / 2));
  PumpMessages();
  Type(native, L"Z");
  EXPECT_EQ(CUiString(L"Zhello"), edit.GetText());

  edit.SetNumberOnly(true);
  EXPECT_NE(0, ::GetWindowLongW(native, GWL_STYLE) & ES_NUMBER);
  {
    vesk::ScopedWindowDC dc(native);
    const LRESULT brush =
        ::SendMessageW(parent.get(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.get()),
                       reinterpret_cast<LPARAM>(native));
    ASSERT_NE(0, brush);
    LOGBRUSH info = {};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(info), &info);
    EXPECT_TRUE(info.lbStyle == BS_PATTERN || info.lbStyle == BS_DIBPATTERN) << info.lbStyle;
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc.get()));
  }
  edit.SetEnabled(false);
  EXPECT_FALSE(::IsWindowEnabled(native));
  edit.SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(native));
  edit.SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(native));
}

}  // namespace
}  // namespace SkinUI
