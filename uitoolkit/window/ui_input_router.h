// CInputRouter: the part of a paint manager that turns its window's messages into control events.
// One small handler per message family (mouse; keyboard and focus; capture and cursor; size and
// paint; timers and notifications; the window's close and destruction). It owns the roles the
// input gives controls (hover, pressed, key target, tooltip) and the tooltip window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

class CPaintManagerUI;

class CInputRouter {
 public:
  explicit CInputRouter(CPaintManagerUI& manager) : m_manager(manager) {}
  ~CInputRouter();
  CInputRouter(const CInputRouter&) = delete;
  CInputRouter& operator=(const CInputRouter&) = delete;

  // Handles one message of the window; true when handled (then `result` is the answer).
  bool Route(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);

  void SetCapture();
  void ReleaseCapture();
  [[nodiscard]] bool IsCaptured() const { return m_bMouseCapture; }
  [[nodiscard]] HWND GetTooltipWindow() const { return m_hwndTooltip; }
  [[nodiscard]] int GetHoverTime() const { return m_iHoverTime; }
  void SetHoverTime(int milliseconds) { m_iHoverTime = milliseconds; }
  // Forgets every role `control` has (it is being deleted, or its tree replaced).
  void Forget(const CControlUI* control);
  // Forgets every role of every control.
  void ForgetAll();
  // Destroys the tooltip window.
  void DestroyTooltip();

 private:
  bool RouteMouse(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool RouteKeyboardAndFocus(UINT uMsg, WPARAM wParam, LPARAM lParam);
  bool RouteCaptureAndCursor(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool RouteSizeAndPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool RouteTimersAndNotifications(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool RouteWindowLife(UINT uMsg);

  void OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam);
  void OnButtonUp(WPARAM wParam, LPARAM lParam);
  void OnRightButtonDown(WPARAM wParam, LPARAM lParam);
  void OnContextMenu(LPARAM lParam);
  void OnMouseWheel(WPARAM wParam, LPARAM lParam);
  void OnMouseMove(LPARAM lParam);
  void TrackMouse();
  void MoveHover(CControlUI* newHover);
  void OnMouseLeave();
  void OnMouseHover(LPARAM lParam);
  void ShowTooltip(CControlUI* control, POINT pt);
  void HideTooltip();
  bool OnSetCursor(LPARAM lParam, LRESULT& result);
  // The capture went to another window (or was released): the press ends without a click.
  void OnCaptureLost(HWND newOwner);
  void OnClose();
  void SendEvent(int type, CControlUI* target, WPARAM wParam = 0, LPARAM lParam = 0);

  CPaintManagerUI& m_manager;
  CControlUI* m_pEventHover = nullptr;
  CControlUI* m_pEventClick = nullptr;
  CControlUI* m_pEventKey = nullptr;
  CControlUI* m_pLastToolTip = nullptr;
  bool m_bMouseTracking = false;
  bool m_bMouseCapture = false;
  int m_iHoverTime = 1000;
  int m_iLastTooltipWidth = -1;
  HWND m_hwndTooltip = nullptr;  // owned by the paint window, destroyed on WM_CLOSE
  TOOLINFOW m_ToolTip = {};
};

}  // namespace SkinUI
