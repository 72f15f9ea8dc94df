// The window base: a skin from each of its sources, the failure road through its seam, and the
// class-registration and subclassing rules of CWindowWnd.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>

#include "testsupport/test_support.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/tests/core_test_support.h"
#include "testsupport/live_window_support.h"

namespace SkinUI {
namespace {

using testing::TestSkinWindow;

const char kFileSkin[] =
    "<Window size=\"200,120\"><VerticalLayout name=\"fileroot\" bkcolor=\"#FF304050\" />"
    "</Window>";

class WindowBase : public ::testing::Test {
 protected:
  void SetUp() override {
    CPaintManagerUI::SetInstance(::GetModuleHandleW(nullptr));
    CPaintManagerUI::SetResourcePath(m_folder.path().c_str());
  }
  void TearDown() override {
    CPaintManagerUI::Term();
    CPaintManagerUI::SetResourcePath(L"");
  }
  // The name of the root the window built, or empty.
  static std::wstring RootName(TestSkinWindow& window) {
    CControlUI* root = window.GetPaintManager().GetRoot();
    return root != nullptr ? root->GetName().GetData() : L"";
  }

  vesk::testing::ScopedTempFolder m_folder{L"vesk_window_base"};
};

// A skin file in the resource folder builds the window's tree and sets its size.
TEST_F(WindowBase, SkinFromFile) {
  ASSERT_TRUE(vesk::testing::WriteFileBytes(m_folder / L"skin.xml", kFileSkin));
  TestSkinWindow window(L"skin.xml");
  ASSERT_NE(nullptr, window.CreateShown(50, 50, 10, 10));
  EXPECT_EQ(L"fileroot", RootName(window));
  EXPECT_EQ(1, window.initWindowCalls);
  RECT client = {};
  ::GetClientRect(window.GetHWND(), &client);
  EXPECT_EQ(200, client.right);
  EXPECT_EQ(120, client.bottom);
  EXPECT_EQ(0, ::GetWindowLongPtrW(window.GetHWND(), GWL_STYLE) & WS_CAPTION);
}

// A zip file in the resource folder holds the skin.
TEST_F(WindowBase, SkinFromZipFile) {
  const std::string archive = testing::MakeZip({{"skin.xml", kFileSkin}});
  ASSERT_TRUE(vesk::testing::WriteFileBytes(m_folder / L"skin.zip", archive));
  TestSkinWindow window(L"skin.xml");
  window.m_type = UILIB_ZIP;
  window.m_zipName = L"skin.zip";
  ASSERT_NE(nullptr, window.CreateShown(50, 50, 10, 10));
  EXPECT_EQ(L"fileroot", RootName(window));
  EXPECT_TRUE(CPaintManagerUI::IsCachedResourceZip());
}

// A module resource of type "xml" whose id is the skin name holds the skin.
TEST_F(WindowBase, SkinFromResource) {
  TestSkinWindow window(L"301");
  window.m_type = UILIB_RESOURCE;
  ASSERT_NE(nullptr, window.CreateShown(50, 50, 10, 10));
  EXPECT_EQ(L"resourceroot", RootName(window));
}

// A zip held in a "ZIPRES" module resource holds the skin.
TEST_F(WindowBase, SkinFromZipResource) {
  TestSkinWindow window(L"skin.xml");
  window.m_type = UILIB_ZIPRESOURCE;
  window.m_resourceId = L"LIVEZIP";
  ASSERT_NE(nullptr, window.CreateShown(50, 50, 10, 10));
  EXPECT_EQ(L"zipresroot", RootName(window));
}

// A missing zipped-skin resource leaves the window empty, without the failure message.
TEST_F(WindowBase, MissingZipResourceLeavesWindowEmpty) {
  static int s_boxes = 0;
  s_boxes = 0;
  vesk::ScopedOverride box(g_skinFailureMessageBox,
                           [](HWND, LPCWSTR, LPCWSTR, UINT) -> int { return ++s_boxes; });
  TestSkinWindow window(L"skin.xml");
  window.m_type = UILIB_ZIPRESOURCE;
  window.m_resourceId = L"NOSUCHZIP";
  ASSERT_NE(nullptr, window.CreateShown(50, 50, 10, 10));
  EXPECT_EQ(nullptr, window.GetPaintManager().GetRoot());
  EXPECT_EQ(0, s_boxes);
  EXPECT_EQ(0, window.initWindowCalls);
}

// A skin that cannot be built shows the failure message and ends the process with code 1.
TEST_F(WindowBase, UnbuildableSkinShowsMessageAndExits) {
  static std::wstring s_text;
  static std::wstring s_caption;
  static UINT s_style = 0;
  static UINT s_exitCode = 0;
  vesk::ScopedOverride box(g_skinFailureMessageBox,
                           [](HWND, LPCWSTR text, LPCWSTR caption, UINT style) -> int {
                             s_text = text;
                             s_caption = caption;
                             s_style = style;
                             return IDOK;
                           });
  vesk::ScopedOverride exit(g_skinFailureExit, [](UINT code) { s_exitCode = code; });
  TestSkinWindow window(L"missing.xml");
  ASSERT_NE(nullptr, window.CreateShown(50, 50, 10, 10));
  EXPECT_EQ(L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25", s_text);
  EXPECT_EQ(L"SkinUI", s_caption);
  EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), s_style & MB_ICONMASK);
  EXPECT_EQ(1u, s_exitCode);
  EXPECT_EQ(0, window.initWindowCalls);
}

// A window of a superclassed system class keeps that class's behaviour and reaches the object;
// WM_NCDESTROY unbinds it and calls OnFinalMessage.
TEST_F(WindowBase, SuperclassRoutesToObjectAndFinalMessage) {
  class SuperEdit : public CWindowWnd {
   public:
    const wchar_t* GetWndClassName() const override { return L"VeskTestSuperEdit"; }
    const wchar_t* GetSuperClassName() const override { return L"EDIT"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
      if (uMsg == WM_SETTEXT) ++setTexts;
      return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override { ++finals; }
    int setTexts = 0;
    int finals = 0;
  };
  SuperEdit edit;
  HWND hwnd = edit.Create(nullptr, L"start", WS_POPUP, 0, 0, 0, 100, 20);
  ASSERT_NE(nullptr, hwnd);
  ::SetWindowTextW(hwnd, L"typed");
  wchar_t text[16] = {};
  ::GetWindowTextW(hwnd, text, 16);
  EXPECT_STREQ(L"typed", text);
  EXPECT_EQ(1, edit.setTexts);
  ::DestroyWindow(hwnd);
  EXPECT_EQ(1, edit.finals);
  EXPECT_EQ(nullptr, edit.GetHWND());
}

// A window whose creation fails after its first message (here its WM_CREATE refuses) gets its
// final message inside CreateWindowExW, and an object that deletes itself there is gone when
// Create returns: Create must not write into it. The object lives in a buffer that its final
// message poisons, so any later write shows.
TEST_F(WindowBase, CreateLeavesAnObjectDeletedDuringCreationAlone) {
  class RefusingWindow : public CWindowWnd {
   public:
    explicit RefusingWindow(unsigned char* storage, size_t size)
        : m_storage(storage), m_size(size) {}
    const wchar_t* GetWndClassName() const override { return L"VeskTestRefusingWindow"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
      if (uMsg == WM_CREATE) return -1;
      return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    void OnFinalMessage(HWND) override {
      unsigned char* storage = m_storage;
      const size_t size = m_size;
      this->~RefusingWindow();
      std::memset(storage, 0xAB, size);
    }

   private:
    unsigned char* m_storage;
    size_t m_size;
  };
  alignas(RefusingWindow) unsigned char storage[sizeof(RefusingWindow)];
  RefusingWindow* window = new (storage) RefusingWindow(storage, sizeof(storage));
  EXPECT_EQ(nullptr, window->Create(nullptr, L"refused", WS_POPUP, 0, 0, 0, 100, 20));
  for (unsigned char byte : storage) ASSERT_EQ(0xAB, byte);
}

// A subclassed window's messages reach the object until it is unsubclassed.
TEST_F(WindowBase, SubclassAndUnsubclass) {
  class Watcher : public CWindowWnd {
   public:
    const wchar_t* GetWndClassName() const override { return L"VeskTestWatcher"; }
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override {
      if (uMsg == WM_APP + 7) ++seen;
      return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    }
    int seen = 0;
  };
  HWND hwnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(nullptr, hwnd);
  Watcher watcher;
  EXPECT_EQ(hwnd, watcher.Subclass(hwnd));
  ::SendMessageW(hwnd, WM_APP + 7, 0, 0);
  watcher.Unsubclass();
  ::SendMessageW(hwnd, WM_APP + 7, 0, 0);
  EXPECT_EQ(1, watcher.seen);
  ::DestroyWindow(hwnd);
}

// Centring puts the window in the middle of the monitor's work area without resizing it.
TEST_F(WindowBase, CenterWindowOnWorkArea) {
  ASSERT_TRUE(vesk::testing::WriteFileBytes(m_folder / L"skin.xml", kFileSkin));
  TestSkinWindow window(L"skin.xml");
  ASSERT_NE(nullptr, window.CreateShown(0, 0, 10, 10));
  window.CenterWindow();
  RECT rc = {};
  ::GetWindowRect(window.GetHWND(), &rc);
  MONITORINFO monitor = {sizeof(monitor)};
  ::GetMonitorInfoW(::MonitorFromWindow(window.GetHWND(), MONITOR_DEFAULTTONEAREST), &monitor);
  EXPECT_EQ(200, rc.right - rc.left);
  EXPECT_NEAR((monitor.rcWork.left + monitor.rcWork.right) / 2, (rc.left + rc.right) / 2, 1);
  EXPECT_NEAR((monitor.rcWork.top + monitor.rcWork.bottom) / 2, (rc.top + rc.bottom) / 2, 1);
}

// The title buttons maximise and restore (showing "maxbtn" exactly while not maximised) and
// close; the minimum tracking size is the skin's mininfo; ResizeClient sets the client size.
TEST_F(WindowBase, TitleButtonsMinInfoAndResize) {
  TestSkinWindow window(
      L"<Window size=\"300,200\" mininfo=\"120,90\"><HorizontalLayout name=\"root\">"
      L"<Button name=\"maxbtn\" width=\"40\" /><Button name=\"restorebtn\" width=\"40\" "
      L"visible=\"false\" /><Button name=\"closebtn\" width=\"40\" />"
      L"</HorizontalLayout></Window>");
  HWND hwnd = window.CreateShown(0, 0, 10, 10);
  ASSERT_NE(nullptr, hwnd);
  CPaintManagerUI& manager = window.GetPaintManager();
  MINMAXINFO info = {};
  ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(120, info.ptMinTrackSize.x);
  EXPECT_EQ(90, info.ptMinTrackSize.y);
  window.ResizeClient(150, -1);
  RECT client = {};
  ::GetClientRect(hwnd, &client);
  EXPECT_EQ(150, client.right);
  EXPECT_EQ(200, client.bottom);

  manager.FindControl(L"maxbtn")->Activate();
  EXPECT_TRUE(::IsZoomed(hwnd));
  EXPECT_FALSE(manager.FindControl(L"maxbtn")->IsVisible());
  EXPECT_TRUE(manager.FindControl(L"restorebtn")->IsVisible());
  manager.FindControl(L"restorebtn")->Activate();
  EXPECT_FALSE(::IsZoomed(hwnd));
  EXPECT_TRUE(manager.FindControl(L"maxbtn")->IsVisible());
  manager.FindControl(L"closebtn")->Activate();
  EXPECT_TRUE(testing::PumpUntil([&] { return !::IsWindow(hwnd); }));
}

// The setup skin in a real window: 640 x 460 without caption bar, rounded, no caption area with
// its caption rectangle (the right value is an inset), and on the screen the same pixels as an
// off-screen paint of its tree wherever the region shows the window; the screen (corners
// outside the region painted magenta) also matches the committed golden (tolerance 8 per
// channel for font differences).
TEST_F(WindowBase, SetupSkinWindow) {
  CPaintManagerUI::SetResourcePath(SETUP_SKIN_FOLDER);
  TestSkinWindow window(L"main.xml");
  HWND hwnd = window.CreateShown(0, 0, 10, 10);
  ASSERT_NE(nullptr, hwnd);
  RECT client = {};
  ::GetClientRect(hwnd, &client);
  ASSERT_EQ(640, client.right);
  ASSERT_EQ(460, client.bottom);
  POINT title = {300, 20};
  ::ClientToScreen(hwnd, &title);
  EXPECT_EQ(HTCLIENT, ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(title.x, title.y)));
  vesk::UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(ERROR, ::GetWindowRgn(hwnd, region.get()));
  testing::PumpFor(100);

  testing::TestCanvas screen(640, 460);
  testing::CaptureClient(hwnd, screen);
  vesk::UniqueBitmap offscreen(window.GetPaintManager().RenderToBitmap(client));
  testing::TestCanvas expected(640, 460);
  expected.CopyBitmap(offscreen.get());
  int differing = 0;
  int outside = 0;
  for (int y = 0; y < 460; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (!::PtInRegion(region.get(), x, y)) {
        ++outside;
        ::SetPixel(screen.dc(), x, y, RGB(255, 0, 255));  // whatever lies behind the corners
        continue;
      }
      if (screen.Pixel(x, y) != expected.Pixel(x, y)) ++differing;
    }
  }
  EXPECT_EQ(0, differing);
  EXPECT_GT(outside, 0);  // the rounded corners
  ::GdiFlush();
  EXPECT_TRUE(testing::MatchesGolden(screen, "setup_window", 8));
}

}  // namespace
}  // namespace SkinUI
