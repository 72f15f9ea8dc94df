// The ActiveX host and the web browser in real windows under Xvfb: the sample COM control
// (registered for this run only) hosted windowless and windowed, placed, moved with its layout,
// hidden and shown, clicked, walked by a screen reader and released down to its last object;
// the host's event messages; the browser's event arguments and its road without an engine.
#include <gtest/gtest.h>

#include <windows.h>

#include <exdispid.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "common/system_libraries.h"
#include "testsupport/accessible_client.h"
#include "testsupport/live_window_support.h"
#include "testsupport/sample_control_library.h"
#include "uitoolkit/controls/hosted/ui_web_browser.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/core/ui_log.h"

namespace SkinUI {
namespace {

using testing::PumpFor;
using testing::PumpUntil;

std::vector<std::wstring> g_log;
void KeepLine(const wchar_t* line) { g_log.push_back(line); }

const vesk::testing::SampleControlLibrary& Library() {
  static vesk::testing::SampleControlLibrary library;
  return library;
}

std::wstring RectText(const RECT& rc) {
  return std::to_wstring(rc.left) + L"," + std::to_wstring(rc.top) + L"," +
         std::to_wstring(rc.right) + L"," + std::to_wstring(rc.bottom);
}
POINT Centre(const RECT& rc) { return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2}; }
bool Has(const std::wstring& text, const std::wstring& part) {
  return text.find(part) != std::wstring::npos;
}

// The message a windowless control gets for each event the host passes on: key states as MK_
// bits, the wheel's direction as a notch, the pointer in window coordinates; others none.
TEST(ActiveXEvents, BecomeWindowMessages) {
  const struct {
    int type;
    WORD keyState;
    WPARAM eventWParam;
    UINT message;  // 0: not passed on
    WPARAM wParam;
  } rows[] = {
      {UIEVENT_BUTTONDOWN, UIKEYSTATE_LBUTTON, 0, WM_LBUTTONDOWN, MK_LBUTTON},
      {UIEVENT_BUTTONUP, UIKEYSTATE_SHIFT, 0, WM_LBUTTONUP, MK_SHIFT},
      {UIEVENT_RBUTTONDOWN, UIKEYSTATE_RBUTTON | UIKEYSTATE_CONTROL, 0, WM_RBUTTONDOWN,
       MK_RBUTTON | MK_CONTROL},
      {UIEVENT_SCROLLWHEEL, 0, 1, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA))},
      {UIEVENT_KEYDOWN, 0, VK_RIGHT, WM_KEYDOWN, VK_RIGHT},
      {UIEVENT_KILLFOCUS, 0, 7, WM_KILLFOCUS, 0},
      {UIEVENT_TIMER, 0, 0, 0, 0},
  };
  for (const auto& row : rows) {
    TEventUI event;
    event.Type = row.type;
    event.wKeyState = row.keyState;
    event.wParam = row.eventWParam;
    event.ptMouse = POINT{30, 40};
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    EXPECT_EQ(ActiveXMessageForEvent(event, message, wParam, lParam), row.message != 0);
    EXPECT_EQ(message, row.message) << row.type;
    EXPECT_EQ(wParam, row.wParam) << row.type;
    EXPECT_EQ(lParam, IsMouseEvent(row.type) ? MAKELPARAM(30, 40) : 0) << row.type;
  }
}

// Writes what the browser tells as "kind argument;"; cancels when asked to.
struct RecordingHandler : IWebBrowserEventHandlerUI {
  void Note(const wchar_t* kind, const std::wstring& text) { seen += kind + text + L";"; }
  void Note(const wchar_t* kind, const std::wstring& text, bool& cancel) {
    Note(kind, text);
    cancel = cancelAll;
  }
  void BeforeNavigate2(CWebBrowserUI*, const wchar_t* url, bool& c) override {
    Note(L"before ", url, c);
  }
  void NavigateComplete2(CWebBrowserUI*, const wchar_t* url) override { Note(L"navigated ", url); }
  void DocumentComplete(CWebBrowserUI*, const wchar_t* url) override { Note(L"document ", url); }
  void NavigateError(CWebBrowserUI*, const wchar_t* url, long status, bool& c) override {
    Note(L"error ", std::wstring(url) + L" " + std::to_wstring(status), c);
  }
  void TitleChange(CWebBrowserUI*, const wchar_t* title) override { Note(L"title ", title); }
  void NewWindow(CWebBrowserUI*, const wchar_t* url, bool& c) override { Note(L"new ", url, c); }
  void CommandStateChange(CWebBrowserUI*, long command, bool on) override {
    Note(L"command ", std::to_wstring(command) + (on ? L" on" : L" off"));
  }
  std::wstring seen;
  bool cancelAll = true;
};

// Each browser event reaches the handler with its own arguments, given in declared order here
// (the browser passes them last first, urls and codes by reference), and a cancel reaches the
// browser's flag.
TEST(WebBrowserEvents, ArgumentsReachTheHandler) {
  BSTR url = ::SysAllocString(L"u");
  VARIANT_BOOL cancelled = VARIANT_FALSE;
  auto make = [](VARTYPE vt, void* pointer, LONG value) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = vt;
    if (vt == VT_I4) v.lVal = value;
    if (vt == VT_BSTR) v.bstrVal = static_cast<BSTR>(pointer);
    if ((vt & VT_BYREF) != 0) v.byref = pointer;
    return v;
  };
  VARIANT text = make(VT_BSTR, url, 0), status = make(VT_I4, nullptr, 404);
  const VARIANT none = make(VT_EMPTY, nullptr, 0), on = make(VT_I4, nullptr, 1);
  const VARIANT ref = make(VT_BYREF | VT_VARIANT, &text, 0);
  const VARIANT statusRef = make(VT_BYREF | VT_VARIANT, &status, 0);
  const VARIANT cancel = make(VT_BYREF | VT_BOOL, &cancelled, 0);
  const struct {
    DISPID dispid;
    std::vector<VARIANT> args;
    const wchar_t* seen;
    bool cancels;
  } rows[] = {
      {DISPID_BEFORENAVIGATE2, {none, ref, none, none, none, none, cancel}, L"before u;", true},
      {DISPID_NAVIGATECOMPLETE2, {none, ref}, L"navigated u;", false},
      {DISPID_DOCUMENTCOMPLETE, {none, ref}, L"document u;", false},
      {DISPID_NAVIGATEERROR, {none, ref, none, statusRef, cancel}, L"error u 404;", true},
      {DISPID_TITLECHANGE, {text}, L"title u;", false},
      {DISPID_NEWWINDOW3, {none, cancel, none, none, text}, L"new u;", true},
      {DISPID_NEWWINDOW2, {none, cancel}, L"new ;", true},
      {DISPID_COMMANDSTATECHANGE, {status, on}, L"command 404 on;", false},
      {DISPID_STATUSTEXTCHANGE, {text}, L"", false},
  };
  for (const auto& row : rows) {
    std::vector<VARIANT> passed(row.args.rbegin(), row.args.rend());
    DISPPARAMS params = {passed.data(), nullptr, static_cast<UINT>(passed.size()), 0};
    RecordingHandler handler;
    cancelled = VARIANT_FALSE;
    EXPECT_EQ(DispatchWebBrowserEvent(row.dispid, &params, nullptr, handler), *row.seen != 0);
    EXPECT_EQ(handler.seen, row.seen) << row.dispid;
    EXPECT_EQ(cancelled, row.cancels ? VARIANT_TRUE : VARIANT_FALSE) << row.dispid;
  }
  ::SysFreeString(url);
}

const std::wstring kSkin =
    L"<Window><VerticalLayout bkcolor=\"#FFF4F5F7\" inset=\"10,10,10,10\" childpadding=\"10\">"
    L"<HorizontalLayout name=\"row\" childpadding=\"10\">"
    L"<ActiveX name=\"windowless\" accname=\"Painted\" clsid=\"Vesk.SampleControl\" />"
    L"<ActiveX name=\"windowed\" accname=\"Framed\""
    L" clsid=\"{5E1A7C10-3B2D-4C8E-9F11-6A2B3C4D5E02}\" />"
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
    g_log.clear();
    previousSink = SetLogSink(&KeepLine);
  }
  void TearDown() override {
    SetLogSink(previousSink);
    testing::MouseMoveToScreen(POINT{1200, 1000});
  }
  template <class Control = CActiveXUI>
  Control* Find(const wchar_t* name) {
    return static_cast<Control*>(window->GetPaintManager().FindControl(name));
  }
  DWORD PixelAt(const RECT& rc) {
    RECT client;
    ::GetClientRect(hwnd, &client);
    testing::TestCanvas canvas(client.right, client.bottom);
    testing::CaptureClient(hwnd, canvas);
    return canvas.Pixel(Centre(rc).x, Centre(rc).y);
  }
  // A native window's rectangle in the host window's client coordinates.
  std::wstring ChildRect(HWND child) {
    RECT rc;
    ::GetWindowRect(child, &rc);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rc), 2);
    return RectText(rc);
  }
  std::vector<std::wstring> Shown() const {
    std::vector<std::wstring> shown;
    for (const auto& entry : window->notifications) {
      if (Has(entry, L"showactivex:")) shown.push_back(entry);
    }
    return shown;
  }
  void Open(const std::wstring& skin) {
    window.reset(new testing::TestSkinWindow(skin));
    hwnd = window->CreateShown(100, 100, 420, 260);
    ASSERT_NE(hwnd, nullptr);
    PumpFor(100);
  }

  LogSinkUI previousSink = nullptr;
  std::unique_ptr<testing::TestSkinWindow> window;
  HWND hwnd = nullptr;
};

// Both classes are created once the window is there ("showactivex" each), get the host as
// client site and go in-place active at their rectangles: the windowless one paints its colour
// into the window, the windowed one gets a child window over its rectangle; a screen reader
// finds both hosts. A class nobody registered leaves its host empty with one logged line; a
// delayed host waits to be shown.
TEST_F(ActiveXLive, HostsPlacesAndPaintsBothKinds) {
  Open(kSkin);
  CActiveXUI* windowless = Find(L"windowless");
  CActiveXUI* windowed = Find(L"windowed");
  CActiveXUI* later = Find(L"later");
  ASSERT_TRUE(windowless != nullptr && windowed != nullptr && later != nullptr);
  EXPECT_TRUE(windowless->IsCreated() && windowless->IsWindowless());
  EXPECT_EQ(windowless->GetNativeWindow(), nullptr);
  EXPECT_TRUE(windowed->IsCreated() && !windowed->IsWindowless());
  EXPECT_FALSE(later->IsCreated());
  EXPECT_FALSE(Find(L"unknown")->IsCreated());
  EXPECT_EQ(Library().Objects(), 2);
  EXPECT_EQ(Shown(),
            (std::vector<std::wstring>{L"showactivex:windowless", L"showactivex:windowed"}));
  EXPECT_EQ(g_log, std::vector<std::wstring>{L"ActiveX \"unknown\": unknown class (0x800401F3)"});

  const std::wstring records = Library().Records();
  EXPECT_TRUE(Has(records, L"site\nactivate windowless\n")) << records;
  EXPECT_TRUE(Has(records, L"activate windowed\n")) << records;
  EXPECT_TRUE(Has(records, L"rects " + RectText(windowless->GetPos()))) << records;
  EXPECT_EQ(ChildRect(windowed->GetNativeWindow()), RectText(windowed->GetPos()));
  EXPECT_TRUE(::IsWindowVisible(windowed->GetNativeWindow()));
  EXPECT_EQ(PixelAt(windowless->GetPos()), 0x3C6FD8u);
  EXPECT_EQ(PixelAt(windowed->GetPos()), 0x2EA05Au);

  testing::AccessiblePtr root = testing::ClientObject(hwnd);
  ASSERT_TRUE(root);
  EXPECT_FALSE(testing::DumpTree(root.get()).empty());
  for (const wchar_t* name : {L"Painted", L"Framed"}) {
    EXPECT_EQ(testing::RoleOf(testing::FindByName(root.get(), name).get()), ROLE_SYSTEM_CLIENT);
  }

  later->SetVisible(true);
  PumpFor(100);
  EXPECT_TRUE(later->IsCreated());
  EXPECT_EQ(Library().Objects(), 3);
  EXPECT_EQ(PixelAt(later->GetPos()), 0x3C6FD8u);
}

// The layout moves both controls when the window grows; hiding a host or its container hides
// the windowed control's window and showing brings it back; a click reaches each control (it
// switches colour) and keys reach the focused windowless one; closing the window releases
// every object the controls made.
TEST_F(ActiveXLive, FollowsLayoutVisibilityInputAndIsReleased) {
  Open(kSkin);
  CActiveXUI* windowless = Find(L"windowless");
  CActiveXUI* windowed = Find(L"windowed");
  ASSERT_TRUE(windowless != nullptr && windowed != nullptr);
  const int widthBefore = windowed->GetWidth();
  ::SetWindowPos(hwnd, nullptr, 0, 0, 520, 300, SWP_NOMOVE | SWP_NOZORDER);
  PumpFor(150);
  EXPECT_GT(windowed->GetWidth(), widthBefore);
  EXPECT_EQ(ChildRect(windowed->GetNativeWindow()), RectText(windowed->GetPos()));
  EXPECT_TRUE(Has(Library().Records(), L"rects " + RectText(windowless->GetPos())));

  HWND child = windowed->GetNativeWindow();
  CControlUI* row = window->GetPaintManager().FindControl(L"row");
  for (CControlUI* hidden : {static_cast<CControlUI*>(windowed), row}) {
    hidden->SetVisible(false);
    PumpFor(50);
    EXPECT_FALSE(::IsWindowVisible(child)) << hidden->GetName().GetData();
    hidden->SetVisible(true);
    PumpFor(100);
    EXPECT_TRUE(::IsWindowVisible(child)) << hidden->GetName().GetData();
  }

  Library().ClearRecords();
  for (CActiveXUI* control : {windowless, windowed}) {
    testing::MouseMoveTo(hwnd, Centre(control->GetPos()));
    testing::MouseButton(true);
    testing::MouseButton(false);
    PumpFor(120);
  }
  EXPECT_TRUE(Has(Library().Records(), L"message 513")) << Library().Records();
  EXPECT_EQ(PixelAt(windowless->GetPos()), 0xE08A1Eu);
  EXPECT_EQ(PixelAt(windowed->GetPos()), 0xC0392Bu);
  EXPECT_TRUE(windowless->IsFocused());
  testing::PostKey(hwnd, VK_RIGHT);  // keys reach the focused windowless control
  PumpFor(50);
  EXPECT_TRUE(Has(Library().Records(), L"message 256\n")) << Library().Records();

  Library().ClearRecords();
  window.reset();  // the window goes with its object
  EXPECT_EQ(Library().Objects(), 0);
  EXPECT_TRUE(Has(Library().Records(), L"close\n")) << Library().Records();
  EXPECT_TRUE(Has(Library().Records(), L"site none\n")) << Library().Records();
}

// Tab moves the focus into a windowed control's own window; keys there go to the control
// first: the sample keeps the first Tab (it has a second stop inside) and lets the next one
// move the focus on through the window, back to the first host.
TEST_F(ActiveXLive, TabEntersAWindowedControlWhichTakesItsKeysFirst) {
  Open(kSkin);
  CActiveXUI* windowless = Find(L"windowless");
  CActiveXUI* windowed = Find(L"windowed");
  ASSERT_TRUE(windowless != nullptr && windowed != nullptr);
  HWND child = windowed->GetNativeWindow();
  windowless->SetFocus();
  testing::PostKey(hwnd, VK_TAB);
  EXPECT_TRUE(windowed->IsFocused());
  EXPECT_EQ(::GetFocus(), child);
  Library().ClearRecords();
  testing::PostKey(child, VK_TAB);
  EXPECT_EQ(Library().Records(), L"accelerator 9\n");
  EXPECT_EQ(::GetFocus(), child);
  testing::PostKey(child, VK_TAB);
  EXPECT_TRUE(windowless->IsFocused());
  EXPECT_EQ(::GetFocus(), hwnd);
}

bool EngineInstalled() {
  HMODULE engine = vesk::LoadSystemLibrary(L"mshtml.dll");
  if (engine != nullptr) ::FreeLibrary(engine);
  return engine != nullptr;
}

// Where the browser engine is missing (the test prefix disables it) the browser host stays
// empty: one logged line, no "showactivex", navigation refused, no window of its own.
TEST_F(ActiveXLive, WebBrowserWithoutEngineStaysEmpty) {
  if (EngineInstalled()) GTEST_SKIP() << "the browser engine is installed here";
  Open(L"<Window><VerticalLayout><WebBrowser name=\"web\" homepage=\"about:blank\" />"
       L"</VerticalLayout></Window>");
  auto* web = Find<CWebBrowserUI>(L"web");
  ASSERT_NE(web, nullptr);
  EXPECT_FALSE(web->IsCreated() || web->CreateControl());
  EXPECT_EQ(web->GetNativeWindow(), nullptr);
  EXPECT_FALSE(web->Navigate(L"about:blank") || web->GoBack() || web->GoForward());
  ASSERT_EQ(g_log.size(), 1u);
  EXPECT_TRUE(Has(g_log[0], L"WebBrowser \"web\": the browser engine (mshtml.dll) is not "))
      << g_log[0];
  EXPECT_TRUE(Shown().empty());
}

// The browser object itself is there even without its engine (as in the test prefix, where it
// then fails every navigation): past the engine check, its events reach the handler through the
// connection point, and closing the window releases it without a fault.
TEST_F(ActiveXLive, WebBrowserEventsReachTheHandler) {
  struct UncheckedBrowser : CWebBrowserUI {
    bool CanCreate() override { return true; }
  };
  Open(L"<Window><VerticalLayout name=\"box\" /></Window>");
  auto* web = new UncheckedBrowser;
  ASSERT_TRUE(Find<CContainerUI>(L"box")->Add(web));
  RecordingHandler handler;
  handler.cancelAll = false;
  web->SetWebBrowserEventHandler(&handler);
  ASSERT_TRUE(web->CreateControl());
  EXPECT_NE(web->GetNativeWindow(), nullptr);
  EXPECT_TRUE(web->Navigate(L"about:blank"));
  EXPECT_TRUE(PumpUntil([&] { return Has(handler.seen, L"before about:blank;"); }, 5000))
      << handler.seen;
  window.reset();  // the window goes with its object
}

// Where the engine exists, the home page loads and its events reach the handler.
TEST_F(ActiveXLive, WebBrowserNavigatesWhereTheEngineExists) {
  if (!EngineInstalled()) GTEST_SKIP() << "no browser engine here (the test prefix disables it)";
  Open(L"<Window><VerticalLayout><WebBrowser name=\"web\" delaycreate=\"true\" />"
       L"</VerticalLayout></Window>");
  auto* web = Find<CWebBrowserUI>(L"web");
  RecordingHandler handler;
  handler.cancelAll = false;
  web->SetWebBrowserEventHandler(&handler);
  web->SetHomePage(L"about:blank");
  ASSERT_TRUE(web->CreateControl());
  EXPECT_TRUE(PumpUntil([&] { return Has(handler.seen, L"document about:blank;"); }, 10000))
      << handler.seen;
}

}  // namespace
}  // namespace SkinUI
