// The edit field in a live skinned window: a real click gives it the focus and its native EDIT
// window, real keys type into that window through the toolkit's message loop, and the window's
// notifier hears "textchanged" and "return"; clicking elsewhere closes the native window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "uitoolkit/controls/ui_button.h"
#include "uitoolkit/controls/ui_edit.h"
#include "testsupport/live_window_support.h"

namespace SkinUI {
namespace testing {
namespace {

const wchar_t kEditSkin[] =
    L"<Window size=\"300,120\">"
    L"<VerticalLayout bkcolor=\"#FFFFFFFF\">"
    L"<Edit name=\"field\" height=\"30\" maxchar=\"6\" password=\"true\" text=\"ab\" />"
    L"<Button name=\"other\" height=\"30\" bkcolor=\"#FF40A040\" />"
    L"</VerticalLayout></Window>";

int Count(const std::vector<std::wstring>& log, const std::wstring& entry) {
  return static_cast<int>(std::count(log.begin(), log.end(), entry));
}

// Click, type past the limit, Enter, click elsewhere: the limit holds, each accepted key is one
// "textchanged", Enter one "return", the control keeps the focus while its native window has
// it, and the text typed stays in the control after the window closed.
TEST(LiveEdit, TypingThroughTheMessageLoop) {
  CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  TestSkinWindow window(kEditSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 120);
  ASSERT_NE(nullptr, hwnd);
  auto* edit = static_cast<CEditUI*>(window.GetPaintManager().FindControl(L"field"));
  ASSERT_NE(nullptr, edit);

  MouseMoveTo(hwnd, POINT{150, 15});
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return edit->GetNativeWindow() != nullptr; }));
  HWND native = edit->GetNativeWindow();
  EXPECT_EQ(hwnd, ::GetParent(native));
  EXPECT_EQ(L'*', ::SendMessageW(native, EM_GETPASSWORDCHAR, 0, 0));
  ASSERT_TRUE(PumpUntil([&] { return ::GetFocus() == native; }));

  for (WORD key : {'C', 'D', 'E', 'F', 'G', 'H'}) PostKey(native, key);
  PostKey(native, VK_RETURN);
  EXPECT_TRUE(PumpUntil([&] { return Count(window.notifications, L"return:field") == 1; }));
  EXPECT_EQ(CUiString(L"abcdef"), edit->GetText());
  EXPECT_EQ(4, Count(window.notifications, L"textchanged:field"));
  EXPECT_EQ(edit, window.GetPaintManager().GetFocus());

  MouseMoveTo(hwnd, POINT{150, 45});
  MouseButton(true);
  MouseButton(false);
  EXPECT_TRUE(PumpUntil([&] { return edit->GetNativeWindow() == nullptr; }));
  EXPECT_FALSE(::IsWindow(native));
  EXPECT_EQ(CUiString(L"abcdef"), edit->GetText());
  MouseMoveToScreen(POINT{1200, 1000});
}

// A click into the edit hands the capture to its native window: the press ends there, so the
// pointer works at once: the button under it turns hot with the hand cursor, and a right click
// on it gives "menu".
TEST(LiveEdit, ClickIntoEditLeavesNoCaptureBehind) {
  CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
  TestSkinWindow window(
      L"<Window size=\"300,120\"><VerticalLayout bkcolor=\"#FFFFFFFF\">"
      L"<Button name=\"other\" height=\"30\" menu=\"true\" />"
      L"<Edit name=\"field\" height=\"30\" /></VerticalLayout></Window>");
  HWND hwnd = window.CreateShown(100, 100, 300, 120);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  auto* edit = static_cast<CEditUI*>(manager.FindControl(L"field"));
  auto* button = static_cast<CButtonUI*>(manager.FindControl(L"other"));
  ASSERT_EQ(nullptr, edit->GetNativeWindow());
  MouseMoveTo(hwnd, POINT{150, 45});
  MouseButton(true);
  MouseButton(false);
  ASSERT_TRUE(PumpUntil([&] { return edit->GetNativeWindow() != nullptr; }));
  EXPECT_FALSE(manager.IsCaptured());
  MouseMoveTo(hwnd, POINT{150, 15});
  EXPECT_TRUE(PumpUntil([&] { return (button->GetButtonState() & UISTATE_HOT) != 0; }));
  EXPECT_EQ(::LoadCursorW(nullptr, IDC_HAND), ::GetCursor());
  INPUT right[2] = {};
  right[0].type = right[1].type = INPUT_MOUSE;
  right[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  right[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ::SendInput(2, right, sizeof(INPUT));
  EXPECT_TRUE(PumpUntil([&] { return Count(window.notifications, L"menu:other") == 1; }));
  MouseMoveToScreen(POINT{1200, 1000});
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
