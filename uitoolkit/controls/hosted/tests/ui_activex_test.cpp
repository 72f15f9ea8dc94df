// The ActiveX host and the web browser in real windows under Xvfb: the sample COM control
// (registered for the current user for this run only) hosted windowless and windowed, placed,
// moved with its layout, hidden and shown, clicked, and released down to its last object; the
// host's message and ambient tables; the browser's event arguments; the browser's road where
// its engine is missing.
#include <gtest/gtest.h>

#include <windows.h>

#include <exdispid.h>
#include <olectl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/system_libraries.h"
#include "testsupport/live_window_support.h"
#include "testsupport/sample_control_library.h"
#include "uitoolkit/controls/hosted/ui_activex.h"
#include "uitoolkit/controls/hosted/ui_activex_site.h"
#include "uitoolkit/controls/hosted/ui_web_browser.h"
#include "uitoolkit/core/ui_log.h"
#include "uitoolkit/controls/ui_container.h"

namespace SkinUI {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

std::vector<std::wstring>& LogLines() {
  static std::vector<std::wstring> lines;
  return lines;
}
void KeepLine(const wchar_t* line) { LogLines().push_back(line); }

using vesk::testing::SampleControlLibrary;

const SampleControlLibrary& Library() {
  static SampleControlLibrary library;
  return library;
}

std::wstring RectText(const RECT& rc) {
  return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
         std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}

// The message a windowless control gets for each event the host passes on.
TEST(ActiveXTables, EventsBecomeWindowMessages) {
  const struct {
    int type;
    WORD keyState;
    WPARAM eventWParam;
    UINT message;
    WPARAM wParam;
  } rows[] = {
      {UIEVENT_BUTTONDOWN, UIKEYSTATE_LBUTTON, 0, WM_LBUTTONDOWN, MK_LBUTTON},
      {UIEVENT_BUTTONUP, UIKEYSTATE_SHIFT, 0, WM_LBUTTONUP, MK_SHIFT},
      {UIEVENT_DBLCLICK, 0, 0, WM_LBUTTONDBLCLK, 0},
      {UIEVENT_RBUTTONDOWN, UIKEYSTATE_RBUTTON | UIKEYSTATE_CONTROL, 0, WM_RBUTTONDOWN,
       MK_RBUTTON | MK_CONTROL},
      {UIEVENT_MOUSEMOVE, 0, 0, WM_MOUSEMOVE, 0},
      {UIEVENT_SCROLLWHEEL, 0, 1, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
      {UIEVENT_SCROLLWHEEL, 0, 0, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA)},
      {UIEVENT_KEYDOWN, 0, VK_RIGHT, WM_KEYDOWN, VK_RIGHT},
      {UIEVENT_CHAR, 0, L'x', WM_CHAR, L'x'},
      {UIEVENT_SETFOCUS, 0, 7, WM_SETFOCUS, 0},
      {UIEVENT_KILLFOCUS, 0, 7, WM_KILLFOCUS, 0},
  };
  for (const auto& row : rows) {
    TEventUI event;
    event.Type = row.type;
    event.wKeyState = row.keyState;
    event.wParam = row.eventWParam;
    event.lParam = 99;
    event.ptMouse = POINT{30, 40};
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    ASSERT_TRUE(ActiveXMessageForEvent(event, message, wParam, lParam)) << row.type;
    EXPECT_EQ(message, row.message) << row.type;
    EXPECT_EQ(wParam, row.wParam) << row.type;
    if (IsMouseEvent(row.type)) {
      EXPECT_EQ(lParam, MAKELPARAM(30, 40)) << row.type;
    }
  }
  TEventUI timer;
  timer.Type = UIEVENT_TIMER;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  EXPECT_FALSE(ActiveXMessageForEvent(timer, message, wParam, lParam));
}

// The ambient properties a control asks its container for: user mode, no hatching or handles,
// the background colour; others are not answered.
TEST(ActiveXTables, AmbientProperties) {
  const struct {
    DISPID dispid;
    VARTYPE type;
    LONG value;  // boolVal or lVal
  } rows[] = {
      {DISPID_AMBIENT_USERMODE, VT_BOOL, VARIANT_TRUE},
      {DISPID_AMBIENT_UIDEAD, VT_BOOL, VARIANT_FALSE},
      {DISPID_AMBIENT_SHOWHATCHING, VT_BOOL, VARIANT_FALSE},
      {DISPID_AMBIENT_SHOWGRABHANDLES, VT_BOOL, VARIANT_FALSE},
      {DISPID_AMBIENT_BACKCOLOR, VT_I4, 0x00D86F3C},
  };
  for (const auto& row : rows) {
    VARIANT value;
    ASSERT_TRUE(AmbientProperty(row.dispid, 0x00D86F3C, &value)) << row.dispid;
    EXPECT_EQ(value.vt, row.type) << row.dispid;
    EXPECT_EQ(row.type == VT_BOOL ? value.boolVal : value.lVal, row.value) << row.dispid;
  }
  VARIANT value;
  EXPECT_FALSE(AmbientProperty(DISPID_AMBIENT_FONT, 0, &value));
  EXPECT_EQ(value.vt, VT_EMPTY);
}

// Records what the browser tells; cancels when asked to.
struct RecordingHandler : IWebBrowserEventHandlerUI {
  void BeforeNavigate2(CWebBrowserUI*, const wchar_t* url, bool& cancel) override {
    seen += L"before " + std::wstring(url) + L";";
    cancel = cancelAll;
  }
  void NavigateComplete2(CWebBrowserUI*, const wchar_t* url) override {
    seen += L"navigated " + std::wstring(url) + L";";
  }
  void DocumentComplete(CWebBrowserUI*, const wchar_t* url) override {
    seen += L"document " + std::wstring(url) + L";";
  }
  void NavigateError(CWebBrowserUI*, const wchar_t* url, long status, bool& cancel) override {
    seen += L"error " + std::wstring(url) + L" " + std::to_wstring(status) + L";";
    cancel = cancelAll;
  }
  void TitleChange(CWebBrowserUI*, const wchar_t* title) override {
    seen += L"title " + std::wstring(title) + L";";
  }
  void NewWindow(CWebBrowserUI*, const wchar_t* url, bool& cancel) override {
    seen += L"new " + std::wstring(url) + L";";
    cancel = cancelAll;
  }
  void CommandStateChange(CWebBrowserUI*, long command, bool enabled) override {
    seen += L"command " + std::to_wstring(command) + (enabled ? L" on;" : L" off;");
  }
  std::wstring seen;
  bool cancelAll = true;
};

// Each browser event reaches the handler with its own arguments (the browser passes them last
// first, the url by reference), and a cancel reaches the browser's flag.
TEST(WebBrowserEvents, ArgumentsReachTheHandler) {
  BSTR url = ::SysAllocString(L"http://example.test/");
  VARIANT urlVariant;
  urlVariant.vt = VT_BSTR;
  urlVariant.bstrVal = url;
  VARIANT status;
  status.vt = VT_I4;
  status.lVal = 404;
  const struct {
    DISPID dispid;
    UINT count;
    int urlArg;     // -1: none
    int cancelArg;  // -1: none
    int statusArg;  // -1: none
    const wchar_t* seen;
  } rows[] = {
      {DISPID_BEFORENAVIGATE2, 7, 1, 6, -1, L"before http://example.test/;"},
      {DISPID_NAVIGATECOMPLETE2, 2, 1, -1, -1, L"navigated http://example.test/;"},
      {DISPID_DOCUMENTCOMPLETE, 2, 1, -1, -1, L"document http://example.test/;"},
      {DISPID_NAVIGATEERROR, 5, 1, 4, 3, L"error http://example.test/ 404;"},
      {DISPID_TITLECHANGE, 1, 0, -1, -1, L"title http://example.test/;"},
      {DISPID_NEWWINDOW3, 5, 4, 1, -1, L"new http://example.test/;"},
      {DISPID_NEWWINDOW2, 2, -1, 1, -1, L"new ;"},
  };
  for (const auto& row : rows) {
    std::vector<VARIANT> args(row.count);
    for (VARIANT& arg : args) ::VariantInit(&arg);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    // Declared argument i sits at rgvarg[count - 1 - i].
    auto at = [&](int index) -> VARIANT& { return args[row.count - 1 - index]; };
    if (row.urlArg >= 0) {
      at(row.urlArg).vt = row.dispid == DISPID_TITLECHANGE || row.dispid == DISPID_NEWWINDOW3
                              ? VT_BSTR
                              : VT_BYREF | VT_VARIANT;
      if (at(row.urlArg).vt == VT_BSTR) {
        at(row.urlArg).bstrVal = url;
      } else {
        at(row.urlArg).pvarVal = &urlVariant;
      }
    }
    if (row.statusArg >= 0) {
      at(row.statusArg).vt = VT_BYREF | VT_VARIANT;
      at(row.statusArg).pvarVal = &status;
    }
    if (row.cancelArg >= 0) {
      at(row.cancelArg).vt = VT_BYREF | VT_BOOL;
      at(row.cancelArg).pboolVal = &cancel;
    }
    DISPPARAMS params = {args.data(), nullptr, row.count, 0};
    RecordingHandler handler;
    EXPECT_TRUE(DispatchWebBrowserEvent(row.dispid, &params, nullptr, handler));
    EXPECT_EQ(handler.seen, row.seen) << row.dispid;
    if (row.cancelArg >= 0) {
      EXPECT_EQ(cancel, VARIANT_TRUE) << row.dispid;
    }
  }
  RecordingHandler handler;
  EXPECT_FALSE(DispatchWebBrowserEvent(DISPID_STATUSTEXTCHANGE, nullptr, nullptr, handler));
  ::SysFreeString(url);
}

const std::wstring kSkin =
    L"<Window><VerticalLayout bkcolor=\"#FFF4F5F7\" inset=\"10,10,10,10\" childpadding=\"10\">"
    L"<HorizontalLayout name=\"row\" childpadding=\"10\">"
    L"<ActiveX name=\"windowless\" clsid=\"Vesk.SampleControl\" />"
    L"<ActiveX name=\"windowed\" clsid=\"{5E1A7C10-3B2D-4C8E-9F11-6A2B3C4D5E02}\" />"
    L"</HorizontalLayout>"
    L"<ActiveX name=\"later\" clsid=\"Vesk.SampleControl\" delaycreate=\"true\" height=\"30\""
    L" visible=\"false\" />"
    L"<ActiveX name=\"unknown\" clsid=\"Vesk.NoSuchControl\" height=\"20\" />"
    L"</VerticalLayout></Window>";

class ActiveXLive : public ::testing::Test {
 protected:
  void SetUp() override {
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    ASSERT_TRUE(Library().registered());
    Library().ClearRecords();
    LogLines().clear();
    previousSink = SetLogSink(&KeepLine);
  }
  void TearDown() override {
    SetLogSink(previousSink);
    testing::MouseMoveToScreen(POINT{1200, 1000});
  }
  CActiveXUI* Find(const wchar_t* name) {
    return static_cast<CActiveXUI*>(window->GetPaintManager().FindControl(name));
  }
  static POINT Centre(const RECT& rc) {
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }
  DWORD PixelAt(POINT point) {
    RECT client;
    ::GetClientRect(hwnd, &client);
    testing::TestCanvas canvas(client.right, client.bottom);
    testing::CaptureClient(hwnd, canvas);
    return canvas.Pixel(point.x, point.y);
  }
  // The native window's rectangle in the host window's client coordinates.
  RECT ChildRect(HWND child) {
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }
  void Open(const std::wstring& skin) {
    window.reset(new testing::TestSkinWindow(skin));
    hwnd = window->CreateShown(100, 100, 420, 260);
    PumpFor(100);
  }

  LogSinkUI previousSink = nullptr;
  std::unique_ptr<testing::TestSkinWindow> window;
  HWND hwnd = nullptr;
};

// Both classes are created once the window is there ("showactivex" each), get the host as
// client site and go in-place active at their rectangles: the windowless one paints its colour
// into the window, the windowed one gets a child window over its rectangle. A class nobody
// registered leaves its host empty with one logged line; a delayed host waits to be shown.
TEST_F(ActiveXLive, HostsPlacesAndPaintsBothKinds) {
  Open(kSkin);
  ASSERT_NE(hwnd, nullptr);
  CActiveXUI* windowless = Find(L"windowless");
  CActiveXUI* windowed = Find(L"windowed");
  CActiveXUI* later = Find(L"later");
  CActiveXUI* unknown = Find(L"unknown");
  ASSERT_TRUE(windowless != nullptr && windowed != nullptr && later != nullptr &&
              unknown != nullptr);
  EXPECT_TRUE(windowless->IsCreated());
  EXPECT_TRUE(windowless->IsWindowless());
  EXPECT_EQ(windowless->GetNativeWindow(), nullptr);
  EXPECT_TRUE(windowed->IsCreated());
  EXPECT_FALSE(windowed->IsWindowless());
  EXPECT_FALSE(later->IsCreated());
  EXPECT_FALSE(unknown->IsCreated());
  EXPECT_EQ(Library().Objects(), 2);
  const std::vector<std::wstring> shown = {L"showactivex:windowless", L"showactivex:windowed"};
  std::vector<std::wstring> seen;
  for (const auto& entry : window->notifications) {
    if (entry.rfind(L"showactivex:", 0) == 0) seen.push_back(entry);
  }
  EXPECT_EQ(seen, shown);
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_NE(LogLines()[0].find(L"ActiveX \"unknown\": unknown class"), std::wstring::npos)
      << LogLines()[0];

  const std::wstring records = Library().Records();
  EXPECT_NE(records.find(L"site\nactivate windowless\n"), std::wstring::npos) << records;
  EXPECT_NE(records.find(L"activate windowed\n"), std::wstring::npos) << records;
  EXPECT_NE(records.find(L"rects " + RectText(windowless->GetPos())), std::wstring::npos)
      << records;
  EXPECT_EQ(RectText(ChildRect(windowed->GetNativeWindow())), RectText(windowed->GetPos()));
  EXPECT_TRUE(::IsWindowVisible(windowed->GetNativeWindow()));
  EXPECT_EQ(PixelAt(Centre(windowless->GetPos())), 0x3C6FD8u);
  EXPECT_EQ(PixelAt(Centre(windowed->GetPos())), 0x2EA05Au);

  later->SetVisible(true);
  PumpFor(100);
  EXPECT_TRUE(later->IsCreated());
  EXPECT_EQ(Library().Objects(), 3);
  EXPECT_EQ(PixelAt(Centre(later->GetPos())), 0x3C6FD8u);
}

// The layout moves both controls when the window grows; hiding a host or its container hides
// the windowed control's window and showing brings it back; a click reaches each control (it
// switches colour); closing the window releases every object the controls made.
TEST_F(ActiveXLive, FollowsLayoutVisibilityInputAndIsReleased) {
  Open(kSkin);
  ASSERT_NE(hwnd, nullptr);
  CActiveXUI* windowless = Find(L"windowless");
  CActiveXUI* windowed = Find(L"windowed");
  ASSERT_TRUE(windowless != nullptr && windowed != nullptr);
  const RECT before = windowed->GetPos();
  ::SetWindowPos(hwnd, nullptr, 0, 0, 520, 300, SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(150);
  const RECT after = windowed->GetPos();
  EXPECT_GT(after.right - after.left, before.right - before.left);
  EXPECT_EQ(RectText(ChildRect(windowed->GetNativeWindow())), RectText(after));
  EXPECT_NE(Library().Records().find(L"rects " + RectText(windowless->GetPos())),
            std::wstring::npos);

  HWND child = windowed->GetNativeWindow();
  windowed->SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(child));
  windowed->SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(child));
  CControlUI* row = window->GetPaintManager().FindControl(L"row");
  row->SetVisible(false);
  PumpFor(50);
  EXPECT_FALSE(::IsWindowVisible(child));
  row->SetVisible(true);
  PumpFor(100);
  EXPECT_TRUE(::IsWindowVisible(child));

  Library().ClearRecords();
  for (CActiveXUI* control : {windowless, windowed}) {
    testing::MouseMoveTo(hwnd, Centre(control->GetPos()));
    testing::MouseButton(true);
    testing::MouseButton(false);
    PumpFor(120);
  }
  EXPECT_NE(Library().Records().find(L"message 513"), std::wstring::npos) << Library().Records();
  EXPECT_EQ(PixelAt(Centre(windowless->GetPos())), 0xE08A1Eu);
  EXPECT_EQ(PixelAt(Centre(windowed->GetPos())), 0xC0392Bu);
  EXPECT_TRUE(windowless->IsFocused());

  Library().ClearRecords();
  ::DestroyWindow(hwnd);
  PumpFor(50);
  window.reset();
  EXPECT_EQ(Library().Objects(), 0);
  const std::wstring records = Library().Records();
  EXPECT_NE(records.find(L"close\n"), std::wstring::npos) << records;
  EXPECT_NE(records.find(L"site none\n"), std::wstring::npos) << records;
}

// Where the browser engine is missing (the test prefix disables it) the browser host stays
// empty: one logged line, no "showactivex", navigation refused, no window of its own.
TEST_F(ActiveXLive, WebBrowserWithoutEngineStaysEmpty) {
  HMODULE engine = vesk::LoadSystemLibrary(L"mshtml.dll");
  if (engine != nullptr) {
    ::FreeLibrary(engine);
    GTEST_SKIP() << "the browser engine is installed here";
  }
  Open(L"<Window><VerticalLayout><WebBrowser name=\"web\" homepage=\"about:blank\" />"
       L"</VerticalLayout></Window>");
  ASSERT_NE(hwnd, nullptr);
  auto* web = static_cast<CWebBrowserUI*>(window->GetPaintManager().FindControl(L"web"));
  ASSERT_NE(web, nullptr);
  EXPECT_FALSE(web->IsCreated());
  EXPECT_EQ(web->GetNativeWindow(), nullptr);
  EXPECT_FALSE(web->Navigate(L"about:blank"));
  EXPECT_FALSE(web->GoBack());
  EXPECT_FALSE(web->GoForward());
  EXPECT_FALSE(web->CreateControl());
  ASSERT_EQ(LogLines().size(), 1u);
  EXPECT_NE(LogLines()[0].find(L"WebBrowser \"web\": the browser engine"), std::wstring::npos)
      << LogLines()[0];
  EXPECT_EQ(window->notifications.end(),
            std::find(window->notifications.begin(), window->notifications.end(),
                      L"showactivex:web"));
}

// Where the engine exists, the home page loads and its events reach the handler.
TEST_F(ActiveXLive, WebBrowserNavigatesWhereTheEngineExists) {
  HMODULE engine = vesk::LoadSystemLibrary(L"mshtml.dll");
  if (engine == nullptr) GTEST_SKIP() << "no browser engine here (the test prefix disables it)";
  ::FreeLibrary(engine);
  Open(L"<Window><VerticalLayout><WebBrowser name=\"web\" delaycreate=\"true\" />"
       L"</VerticalLayout></Window>");
  auto* web = static_cast<CWebBrowserUI*>(window->GetPaintManager().FindControl(L"web"));
  ASSERT_NE(web, nullptr);
  RecordingHandler handler;
  handler.cancelAll = false;
  web->SetWebBrowserEventHandler(&handler);
  web->SetHomePage(L"about:blank");
  ASSERT_TRUE(web->CreateControl());
  EXPECT_TRUE(PumpUntil([&] { return handler.seen.find(L"document") != std::wstring::npos; },
                        10000))
      << handler.seen;
  EXPECT_NE(handler.seen.find(L"before about:blank;"), std::wstring::npos) << handler.seen;
}

// The browser object itself is there even without its engine (as in the test prefix): past the
// engine check, its events reach the handler through the connection point (a navigation is at
// least announced) and closing the window releases it without a fault.
TEST_F(ActiveXLive, WebBrowserEventsReachTheHandler) {
  struct UncheckedBrowser : CWebBrowserUI {
    bool CanCreate() override { return true; }
  };
  Open(L"<Window><VerticalLayout name=\"box\" /></Window>");
  auto* box = static_cast<CContainerUI*>(window->GetPaintManager().FindControl(L"box"));
  ASSERT_NE(box, nullptr);
  auto* web = new UncheckedBrowser;
  box->Add(web);
  RecordingHandler handler;
  handler.cancelAll = false;
  web->SetWebBrowserEventHandler(&handler);
  ASSERT_TRUE(web->CreateControl());
  EXPECT_NE(web->GetNativeWindow(), nullptr);
  EXPECT_TRUE(web->Navigate(L"about:blank"));
  EXPECT_TRUE(PumpUntil(
      [&] { return handler.seen.find(L"before about:blank;") != std::wstring::npos; }, 5000))
      << handler.seen;
  ::DestroyWindow(hwnd);
  PumpFor(50);
  window.reset();
}

}  // namespace
}  // namespace SkinUI
