// The paint manager's message routing in a live window: the message loop and modal loop, double
// click, right button and context menu, the cursor, Alt shortcuts, messages reflected to native
// children, focus moving into a native child, and printing the client area.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/live_window_support.h"
#include "uitoolkit/controls/hosted/ui_rich_edit.h"

namespace SkinUI {
namespace {

using testing::EventLog;
using testing::PostKey;
using testing::PumpFor;
using testing::PumpUntil;
using testing::TestSkinWindow;

const wchar_t kSkin[] =
    L"<Window size=\"300,100\"><HorizontalLayout name=\"root\" bkcolor=\"#FF204080\">"
    L"<Button name=\"ok\" width=\"100\" shortcut=\"K\" bkcolor=\"#FF00FF00\" />"
    L"<Control name=\"plain\" width=\"100\" />"
    L"<Button name=\"other\" /></HorizontalLayout></Window>";

class MessageRouting : public ::testing::Test {
 protected:
  void SetUp() override { CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr)); }
  void TearDown() override { testing::MouseMoveToScreen(POINT{1200, 1000}); }
};

// The "click" entries of a notification log, in order.
std::vector<std::wstring> Clicks(const std::vector<std::wstring>& log) {
  std::vector<std::wstring> clicks;
  for (const std::wstring& entry : log) {
    if (entry.rfind(L"click:", 0) == 0) clicks.push_back(entry);
  }
  return clicks;
}

bool Contains(const std::vector<std::wstring>& log, const std::wstring& entry) {
  for (const std::wstring& item : log) {
    if (item == entry) return true;
  }
  return false;
}

class QuittingWindow : public TestSkinWindow {
 public:
  using TestSkinWindow::TestSkinWindow;
  void OnFinalMessage(HWND hWnd) override {
    TestSkinWindow::OnFinalMessage(hWnd);
    ::PostQuitMessage(7);
  }
};

// The message loop runs the paint managers' pre-dispatch step (Escape closes the window) and
// answers the code of WM_QUIT.
TEST_F(MessageRouting, MessageLoopEndsWithQuitCode) {
  QuittingWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  ::PostMessageW(hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_EQ(7, CPaintManagerUI::MessageLoop());
  EXPECT_FALSE(::IsWindow(hwnd));
}

class ModalWindow : public TestSkinWindow {
 public:
  using TestSkinWindow::TestSkinWindow;
  LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (uMsg != WM_APP + 9) return TestSkinWindow::HandleCustomMessage(uMsg, wParam, lParam, handled);
    ownerEnabledWhileModal = ::IsWindowEnabled(::GetWindow(m_hWnd, GW_OWNER)) != FALSE;
    Close(5);
    handled = true;
    return 0;
  }
  bool ownerEnabledWhileModal = true;
};

// The default button takes a new tree's first focus; Enter on another focused button clicks only
// that one; Enter in an edit clicks the default button.
TEST_F(MessageRouting, EnterGoesToTheDefaultButton) {
  TestSkinWindow window(
      L"<Window size=\"300,100\" defaultbutton=\"other\"><HorizontalLayout>"
      L"<Button name=\"ok\" width=\"100\" /><Edit name=\"field\" width=\"100\" />"
      L"<Button name=\"other\" /></HorizontalLayout></Window>");
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  EXPECT_TRUE(PumpUntil([&] { return manager.GetFocus() == manager.FindControl(L"other"); }));
  manager.SetFocus(manager.FindControl(L"ok"));
  PostKey(hwnd, VK_RETURN);
  EXPECT_EQ((std::vector<std::wstring>{L"click:ok"}), Clicks(window.notifications));
  manager.SetFocus(manager.FindControl(L"field"));
  // The edit's native window has the keyboard focus.
  ASSERT_TRUE(PumpUntil([&] { return ::GetParent(::GetFocus()) == hwnd; }));
  PostKey(::GetFocus(), VK_RETURN);
  EXPECT_EQ((std::vector<std::wstring>{L"click:ok", L"click:other"}),
            Clicks(window.notifications));
}

// A modal window that deletes itself on its final message; its memory is reused at once, here
// by a handle of a live window in every slot.
class SelfDeletingModal : public ModalWindow {
 public:
  using ModalWindow::ModalWindow;
  void OnFinalMessage(HWND) override { delete this; }
  static void operator delete(void* memory, std::size_t size) {
    HWND* slots = static_cast<HWND*>(memory);
    for (std::size_t i = 0; i < size / sizeof(HWND); ++i) slots[i] = s_liveWindow;
    // Not given back, so that no allocator bookkeeping overwrites the reuse.
  }
  static HWND s_liveWindow;
};
HWND SelfDeletingModal::s_liveWindow = nullptr;

// The modal loop of a window that deletes itself on its final message ends with the window and
// answers the closing code, without reading the deleted object.
TEST_F(MessageRouting, ShowModalOfSelfDeletingWindow) {
  TestSkinWindow owner(kSkin);
  HWND ownerWindow = owner.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, ownerWindow);
  SelfDeletingModal::s_liveWindow = ownerWindow;
  auto* modal = new SelfDeletingModal(kSkin);
  ASSERT_NE(nullptr, modal->Create(ownerWindow, L"modal", WS_POPUP, 0, 150, 150, 300, 100));
  modal->PostMessageW(WM_APP + 9);
  // Were the loop to read the deleted object, it would wait on the owner until this quit.
  const UINT_PTR timer = ::SetTimer(nullptr, 0, 2000, [](HWND, UINT, UINT_PTR, DWORD) {
    ::PostQuitMessage(3);
  });
  EXPECT_EQ(5u, modal->ShowModal());
  ::KillTimer(nullptr, timer);
  MSG quit = {};
  EXPECT_FALSE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_TRUE(::IsWindowEnabled(ownerWindow));
}

// A modal window disables its owner until it closes and answers the closing code.
TEST_F(MessageRouting, ShowModalAnswersCloseCode) {
  TestSkinWindow owner(kSkin);
  HWND ownerWindow = owner.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, ownerWindow);
  ModalWindow modal(kSkin);
  ASSERT_NE(nullptr, modal.Create(ownerWindow, L"modal", WS_POPUP, 0, 150, 150, 300, 100));
  modal.PostMessageW(WM_APP + 9);
  EXPECT_EQ(5u, modal.ShowModal());
  EXPECT_FALSE(modal.ownerEnabledWhileModal);
  EXPECT_TRUE(::IsWindowEnabled(ownerWindow));
  EXPECT_EQ(nullptr, modal.GetHWND());
}

// A double click reaches the control and captures the mouse without moving the focus; the
// button-up after it reaches the same control.
TEST_F(MessageRouting, DoubleClickWithoutFocus) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  manager.SetFocus(manager.FindControl(L"other"));
  EventLog log;
  log.Watch(manager.FindControl(L"ok"));
  ::SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
  EXPECT_TRUE(Contains(log.entries, L"16:ok"));
  EXPECT_TRUE(manager.IsCaptured());
  EXPECT_EQ(manager.FindControl(L"other"), manager.GetFocus());
  ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 50));
  EXPECT_TRUE(Contains(log.entries, L"14:ok"));
  EXPECT_FALSE(manager.IsCaptured());
}

// The right button focuses the control; the context menu then reaches it with the control as
// lParam and the point in client coordinates.
TEST_F(MessageRouting, RightButtonAndContextMenu) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  CControlUI* ok = manager.FindControl(L"ok");
  static LPARAM s_menuParam = 0;
  static POINT s_menuPoint = {};
  ok->OnEvent += [](void* param) {
    const TEventUI* event = static_cast<const TEventUI*>(param);
    if (event->Type == UIEVENT_CONTEXTMENU) {
      s_menuParam = event->lParam;
      s_menuPoint = event->ptMouse;
    }
    return true;
  };
  ::SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 30));
  EXPECT_EQ(ok, manager.GetFocus());
  EXPECT_FALSE(manager.IsCaptured());
  POINT screen = {40, 30};
  ::ClientToScreen(hwnd, &screen);
  ::SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd),
                 MAKELPARAM(screen.x, screen.y));
  EXPECT_EQ(reinterpret_cast<LPARAM>(ok), s_menuParam);
  EXPECT_EQ(40, s_menuPoint.x);
  EXPECT_EQ(30, s_menuPoint.y);
}

// Over a control that sets the cursor the message is handled; over a plain control it is left
// to the system.
TEST_F(MessageRouting, SetCursorOnlyForControlsThatSetIt) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  EventLog log;
  log.Watch(window.GetPaintManager().FindControl(L"ok"));
  LRESULT result = 0;
  testing::MouseMoveTo(hwnd, POINT{50, 50});
  EXPECT_TRUE(window.GetPaintManager().MessageHandler(
      WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), result));
  EXPECT_TRUE(Contains(log.entries, L"23:ok"));
  testing::MouseMoveTo(hwnd, POINT{150, 50});
  EXPECT_FALSE(window.GetPaintManager().MessageHandler(
      WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), result));
  EXPECT_FALSE(window.GetPaintManager().MessageHandler(
      WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCAPTION, WM_MOUSEMOVE), result));
}

// Alt with a control's shortcut letter (either case) focuses and activates it.
TEST_F(MessageRouting, AltShortcutActivates) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  LRESULT result = 0;
  EXPECT_FALSE(window.GetPaintManager().PreMessageHandler(WM_SYSCHAR, L'q', 0, result));
  EXPECT_TRUE(window.GetPaintManager().PreMessageHandler(WM_SYSCHAR, L'k', 0, result));
  EXPECT_EQ(window.GetPaintManager().FindControl(L"ok"), window.GetPaintManager().GetFocus());
  EXPECT_TRUE(Contains(window.notifications, L"click:ok"));
}

class ReflectWatcher : public CWindowWnd {
 public:
  const wchar_t* GetWndClassName() const override { return L"VeskTestReflectWatcher"; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
    if (uMsg >= 0x2000) reflected.push_back(uMsg);
    if (uMsg == WM_COMMAND + 0x2000) return 42;
    return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  }
  std::vector<UINT> reflected;
};

// A native child's WM_COMMAND and colour messages come back to it as the message plus 0x2000;
// focus moving into a registered native child makes its control the focused one.
TEST_F(MessageRouting, NativeChildReflectionAndFocus) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  HWND edit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 110, 10, 80, 20, hwnd,
                                nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, edit);
  ReflectWatcher watcher;
  ASSERT_EQ(edit, watcher.Subclass(edit));
  EXPECT_EQ(42, ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(1, EN_CHANGE),
                               reinterpret_cast<LPARAM>(edit)));
  HDC dc = ::GetDC(edit);
  ::SendMessageW(hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(edit));
  ::ReleaseDC(edit, dc);
  EXPECT_EQ((std::vector<UINT>{WM_COMMAND + 0x2000, WM_CTLCOLOREDIT + 0x2000}), watcher.reflected);

  CPaintManagerUI& manager = window.GetPaintManager();
  CControlUI* plain = manager.FindControl(L"plain");
  ASSERT_TRUE(manager.AddNativeWindow(plain, edit));
  manager.SetFocus(manager.FindControl(L"ok"));
  ::SetFocus(hwnd);
  ::SetFocus(edit);
  EXPECT_EQ(plain, manager.GetFocus());
  EXPECT_TRUE(manager.RemoveNativeWindow(edit));
  EXPECT_FALSE(manager.RemoveNativeWindow(edit));
  watcher.Unsubclass();
  ::DestroyWindow(edit);
}

// WM_PRINTCLIENT paints the tree into the given device context.
TEST_F(MessageRouting, PrintClientPaintsTree) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  testing::TestCanvas canvas(300, 100, 0xFF000000);
  ::SendMessageW(hwnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
  EXPECT_EQ(0x00FF00u, canvas.Pixel(50, 50));
  EXPECT_EQ(0x204080u, canvas.Pixel(150, 50));
}

// A focus asked for with SetFocusNeeded lands on that control at the following paints.
TEST_F(MessageRouting, FocusNeededLandsAtPaint) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  CControlUI* other = manager.FindControl(L"other");
  manager.SetFocus(manager.FindControl(L"ok"));
  manager.SetFocusNeeded(other);
  EXPECT_NE(other, manager.GetFocus());
  ::InvalidateRect(hwnd, nullptr, FALSE);
  EXPECT_TRUE(PumpUntil([&] { return manager.GetFocus() == other; }));
}

// The hover control and every control asking for it get mouse leave when the hover moves; on
// WM_CLOSE the hover control gets mouse leave, the click control its button-up, and the focus
// goes.
TEST_F(MessageRouting, MouseLeaveTargetsAndCloseReleasesRoles) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  EventLog log;
  log.Watch(manager.FindControl(L"ok"));
  log.Watch(manager.FindControl(L"plain"));
  log.Watch(manager.FindControl(L"other"));
  manager.AddMouseLeaveNeeded(manager.FindControl(L"plain"));
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(50, 50));
  ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(250, 50));
  EXPECT_TRUE(Contains(log.entries, L"10:plain"));
  EXPECT_TRUE(Contains(log.entries, L"10:ok"));
  EXPECT_TRUE(Contains(log.entries, L"11:other"));
  ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(250, 50));
  log.entries.clear();
  ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
  EXPECT_EQ((std::vector<std::wstring>{L"10:other", L"14:other"}), log.entries);
  EXPECT_EQ(nullptr, manager.GetFocus());
  EXPECT_FALSE(::IsWindow(hwnd));
}

// A window opacity makes the window layered with that constant alpha.
TEST_F(MessageRouting, OpacityMakesWindowTranslucent) {
  TestSkinWindow window(kSkin);
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  window.GetPaintManager().SetOpacity(128);
  EXPECT_NE(0, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags));
  EXPECT_EQ(128, alpha);
  EXPECT_EQ(static_cast<DWORD>(LWA_ALPHA), flags & LWA_ALPHA);
}

class Accelerator : public ITranslateAccelerator {
 public:
  LRESULT TranslateAccelerator(MSG* msg) override {
    return msg->message == WM_APP + 3 ? S_OK : S_FALSE;
  }
};

// The loop's pre-dispatch step: an accelerator answering S_OK consumes a message; a key for a
// native child reaches the parent's manager first (Tab moves the focus) and still reaches the
// child; Tab on a focused rich edit that wants it is left to it.
TEST_F(MessageRouting, PreDispatchRules) {
  TestSkinWindow window(
      L"<Window size=\"300,100\"><HorizontalLayout name=\"root\">"
      L"<Button name=\"ok\" width=\"100\" />"
      L"<RichEdit name=\"rich\" width=\"100\" multiline=\"true\" wanttab=\"true\" />"
      L"<Button name=\"other\" /></HorizontalLayout></Window>");
  HWND hwnd = window.CreateShown(100, 100, 300, 100);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  Accelerator accelerator;
  manager.AddTranslateAccelerator(&accelerator);
  MSG msg = {hwnd, WM_APP + 3, 0, 0};
  EXPECT_TRUE(CPaintManagerUI::TranslateMessage(&msg));
  msg.message = WM_APP + 4;
  EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&msg));
  EXPECT_TRUE(manager.RemoveTranslateAccelerator(&accelerator));

  HWND child = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 110, 10, 80, 20, hwnd,
                                 nullptr, nullptr, nullptr);
  ASSERT_NE(nullptr, child);
  manager.SetFocus(manager.FindControl(L"ok"));
  MSG tab = {child, WM_KEYDOWN, VK_TAB, 1};
  EXPECT_FALSE(CPaintManagerUI::TranslateMessage(&tab));  // dispatched to the child still
  EXPECT_EQ(manager.FindControl(L"rich"), manager.GetFocus());
  ::DestroyWindow(child);

  manager.SetFocus(manager.FindControl(L"rich"));
  ASSERT_EQ(manager.FindControl(L"rich"), manager.GetFocus());
  LRESULT result = 0;
  EXPECT_FALSE(manager.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, result));
  EXPECT_EQ(manager.FindControl(L"rich"), manager.GetFocus());
  // One that does not want Tab passes the focus on like any control.
  static_cast<CRichEditUI*>(manager.FindControl(L"rich"))->SetWantTab(false);
  EXPECT_TRUE(manager.PreMessageHandler(WM_KEYDOWN, VK_TAB, 0, result));
  EXPECT_EQ(manager.FindControl(L"other"), manager.GetFocus());
}

// A tooltip's "%{N}" tokens show the registered string.
TEST_F(MessageRouting, TooltipTextIsTranslated) {
  CPaintManagerUI::AddMultiLanguageString(77, L"Translated tip");
  TestSkinWindow window(
      L"<Window size=\"200,100\"><HorizontalLayout name=\"root\">"
      L"<Button name=\"ok\" tooltip=\"%{77}\" /></HorizontalLayout></Window>");
  HWND hwnd = window.CreateShown(100, 100, 200, 100);
  ASSERT_NE(nullptr, hwnd);
  ::SendMessageW(hwnd, WM_MOUSEHOVER, 0, MAKELPARAM(50, 50));
  HWND tip = window.GetPaintManager().GetTooltipWindow();
  ASSERT_NE(nullptr, tip);
  wchar_t text[64] = {};
  TOOLINFOW info = {};
  info.cbSize = TTTOOLINFOW_V2_SIZE;
  info.hwnd = hwnd;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd);
  info.lpszText = text;
  ::SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
  EXPECT_STREQ(L"Translated tip", text);
  CPaintManagerUI::RemoveMultiLanguageString(77);
}

}  // namespace
}  // namespace SkinUI
