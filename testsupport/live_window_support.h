// Helpers of the live window tests: a skinned test window, a bounded message pump, real input
// (SendInput for the mouse, posted key messages with the thread's key state set), an event and
// notification log, and reading the window's pixels back from the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "uitoolkit/core/tests/render_test_support.h"
#include "uitoolkit/window/ui_window_impl_base.h"

namespace SkinUI {
namespace testing {

// A WindowImplBase whose skin is markup text (or a file, zip or resource when so set).
class TestSkinWindow : public WindowImplBase {
 public:
  // `valueTypes`: the notification types recorded into `values`.
  explicit TestSkinWindow(std::wstring skin, std::vector<std::wstring> valueTypes = {})
      : m_skin(std::move(skin)), valueTypes(std::move(valueTypes)) {}
  // A window still open goes with its object.
  ~TestSkinWindow() override {
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
  }

  const wchar_t* GetWndClassName() const override { return L"VeskTestSkinWindow"; }
  CUiString GetSkinDir() override { return CUiString(); }
  CUiString GetSkinXml() override { return CUiString(m_skin.c_str()); }
  UILIB_RESOURCETYPE GetResourceType() const override { return m_type; }
  CUiString GetZIPFileName() const override { return CUiString(m_zipName.c_str()); }
  const wchar_t* GetResourceID() const override { return m_resourceId.c_str(); }
  void InitWindow() override { ++initWindowCalls; }
  void Notify(TNotifyUI& msg) override;

  // Creates the popup window at (x, y) with the size, shows it in front and paints it once.
  HWND CreateShown(int x, int y, int width, int height);

  std::wstring m_skin;
  UILIB_RESOURCETYPE m_type = UILIB_FILE;
  std::wstring m_zipName;
  std::wstring m_resourceId;
  int initWindowCalls = 0;
  std::vector<std::wstring> notifications;  // "type:sender name"
  // The notification types also recorded into `values`, as "type wParam lParam".
  std::vector<std::wstring> valueTypes;
  std::vector<std::wstring> values;
};

// Runs the thread's messages (through the paint managers' pre-dispatch step) until `done`
// answers true or `limitMs` passed; answers `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD limitMs = 3000);
// Runs the messages that are waiting, and those arriving within `ms`.
void PumpFor(DWORD ms);

// Real mouse input at a point of the window's client area (or of the screen).
void MouseMoveTo(HWND window, POINT client);
void MouseMoveToScreen(POINT screen);
void MouseButton(bool down);
// A real turn of the wheel by `delta` (WHEEL_DELTA a notch; positive turns away from the user).
void MouseWheel(int delta);
// Posts WM_KEYDOWN and WM_KEYUP of `key` to the window with Shift held or not.
void PostKey(HWND window, WORD key, bool shift = false);

// Records the events of controls, as "kind:name".
class EventLog {
 public:
  void Watch(CControlUI* control);
  // Kinds recorded: enter 11, leave 10, move 9, hover 12, down 13, up 14, wheel 18, timer 24...
  std::vector<std::wstring> entries;

 private:
  static bool Record(void* param);
};
EventLog*& CurrentEventLog();
// The entries without repeated neighbours.
std::vector<std::wstring> Collapsed(const std::vector<std::wstring>& entries);

// The client area of the window as shown on the screen.
void CaptureClient(HWND window, TestCanvas& canvas);

}  // namespace testing
}  // namespace SkinUI
