// CPopupWindowUI: the window folder's IPopupHostUI (uitoolkit/controls/ui_popup_host.h). A
// borderless tool window (above its owner, as every owned window is) owned by the window of the manager that made it, with a paint manager
// of its own that borrows its owner's fonts and images, hosting a root control the control
// gives it. It takes the activation, the keyboard and the mouse capture while open: keys and
// finished clicks go to the listener, a press outside it or the loss of the activation
// dismisses it. Each Open makes a new window; Close (and the object's end) destroys it.
#pragma once

#include <memory>

#include "uitoolkit/controls/ui_popup_host.h"
#include "uitoolkit/window/ui_paint_manager.h"
#include "uitoolkit/window/ui_window_wnd.h"

namespace SkinUI {

class CPopupWindowUI : public CWindowWnd, public IPopupHostUI {
 public:
  static constexpr const wchar_t* kWindowClassName = L"SkinUIPopupWindow";

  CPopupWindowUI(CPaintManagerUI& owner, IPopupListenerUI* listener)
      : m_owner(owner), m_listener(listener) {}
  ~CPopupWindowUI() override;

  bool Open(CControlUI* root, const RECT& rcScreen) override;
  void Close() override;
  HWND GetWindow() const override { return m_hWnd; }

  const wchar_t* GetWndClassName() const override { return kWindowClassName; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  void OnFinalMessage(HWND hWnd) override;

 private:
  // The paint manager's share of a message; the manager goes once no call of it is running.
  bool RouteToManager(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void TakeCapture();

  CPaintManagerUI& m_owner;
  IPopupListenerUI* m_listener;
  std::unique_ptr<CPaintManagerUI> m_pm;
  int m_managerCalls = 0;
  bool m_managerDone = false;  // the window is gone; the manager goes after the running call
};

}  // namespace SkinUI
