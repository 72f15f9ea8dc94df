// Helpers of the leaf-control tests: a recording manager that also keeps option groups, timers,
// mouse-leave requests and a native parent window, and short event makers.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "uitoolkit/controls/tests/control_test_support.h"

namespace SkinUI {
namespace testing {

class LeafManager : public RecordingManager {
 public:
  bool AddOptionGroup(const wchar_t* groupName, CControlUI* control) override;
  CUiPtrArray* GetOptionGroup(const wchar_t* groupName) override;
  void RemoveOptionGroup(const wchar_t* groupName, CControlUI* control) override;
  HWND GetPaintWindow() const override { return window; }
  bool AddMouseLeaveNeeded(CControlUI* control) override {
    mouseLeaveNeeded.push_back(control);
    return true;
  }
  bool SetTimer(CControlUI*, UINT timerID, UINT elapse) override {
    timers.push_back(L"set " + std::to_wstring(timerID) + L" " + std::to_wstring(elapse));
    return true;
  }
  bool KillTimer(CControlUI*, UINT timerID) override {
    timers.push_back(L"kill " + std::to_wstring(timerID));
    return true;
  }
  bool AddNativeWindow(CControlUI*, HWND hwnd) override {
    nativeWindows.push_back(hwnd);
    return true;
  }
  bool RemoveNativeWindow(HWND hwnd) override;

  // "type:name" of every notification so far, in order.
  std::vector<std::wstring> NotificationLog() const;

  HWND window = nullptr;
  std::vector<CControlUI*> mouseLeaveNeeded;
  std::vector<std::wstring> timers;
  std::vector<HWND> nativeWindows;

 private:
  std::map<std::wstring, std::unique_ptr<CUiPtrArray>> m_groups;
};

using LeafBoard = ControlBoard<LeafManager>;

// An image description of slice `index` of the five-slice test image "five.png" (10 x 10 each,
// coloured inside a white 2-pixel frame), shrunk by `inset` pixels on each side.
std::wstring FiveSlice(int index, int inset = 0);

// An event of `type` at (x, y).
TEventUI MakeEvent(int type, int x = 0, int y = 0, WPARAM wParam = 0);

// Sends `control` the events in order.
void SendEvents(CControlUI& control, std::initializer_list<TEventUI> events);

}  // namespace testing
}  // namespace SkinUI
