#include "uitoolkit/window/ui_input_router.h"

#include <windowsx.h>

#include "uitoolkit/core/ui_multi_language.h"
#include "uitoolkit/window/ui_paint_manager.h"

namespace SkinUI {
namespace {

POINT PointFromLParam(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

const wchar_t* ManagerString(int id, void* context) {
  return static_cast<CPaintManagerUI*>(context)->GetMultiLanguageString(id);
}

// A point outside every control: a press that ends there activates nothing.
constexpr POINT kNowhere = {-1, -1};

}  // namespace

CInputRouter::~CInputRouter() {
  if (m_hwndTooltip != nullptr && ::IsWindow(m_hwndTooltip)) ::DestroyWindow(m_hwndTooltip);
}

// The message families in turn; each handler answers only the messages of its family.
bool CInputRouter::Route(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return RouteMouse(uMsg, wParam, lParam, result) ||
         RouteKeyboardAndFocus(uMsg, wParam, lParam) ||
         RouteCaptureAndCursor(uMsg, wParam, lParam, result) ||
         RouteSizeAndPaint(uMsg, wParam, lParam, result) ||
         RouteTimersAndNotifications(uMsg, wParam, lParam, result) || RouteWindowLife(uMsg);
}

void CInputRouter::SendEvent(int type, CControlUI* target, WPARAM wParam, LPARAM lParam) {
  TEventUI event = m_manager.MakeEvent(type, target, wParam, lParam);
  target->Event(event);
}

// ---- Mouse ----

bool CInputRouter::RouteMouse(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (uMsg) {
    case WM_MOUSEHOVER:
      OnMouseHover(lParam);
      result = 0;
      return true;
    case WM_MOUSELEAVE:
      OnMouseLeave();
      return false;
    case WM_MOUSEMOVE:
      OnMouseMove(lParam);
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(uMsg, wParam, lParam);
      return false;
    case WM_LBUTTONUP:
      OnButtonUp(wParam, lParam);
      return false;
    case WM_RBUTTONDOWN:
      OnRightButtonDown(wParam, lParam);
      return false;
    case WM_CONTEXTMENU:
      OnContextMenu(lParam);
      return false;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wParam, lParam);
      return false;
    case WM_MOUSEACTIVATE:
      if (!m_manager.m_bNoActivate) return false;
      result = MA_NOACTIVATE;
      return true;
    default:
      return false;
  }
}

void CInputRouter::OnButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  if (!m_manager.m_bNoActivate) ::SetFocus(m_manager.m_hWndPaint);
  const POINT pt = PointFromLParam(lParam);
  m_manager.m_ptLastMousePos = pt;
  CControlUI* control = m_manager.FindOwnControl(pt);
  if (control == nullptr) return;
  m_pEventClick = control;
  if (uMsg == WM_LBUTTONDOWN) control->SetFocus();
  SetCapture();
  TEventUI event = m_manager.MakeEvent(
      uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK, control, wParam, lParam);
  event.wKeyState = static_cast<WORD>(wParam);
  control->Event(event);
}

void CInputRouter::OnButtonUp(WPARAM wParam, LPARAM lParam) {
  m_manager.m_ptLastMousePos = PointFromLParam(lParam);
  if (m_pEventClick == nullptr) return;
  ReleaseCapture();
  CControlUI* control = m_pEventClick;
  m_pEventClick = nullptr;
  TEventUI event = m_manager.MakeEvent(UIEVENT_BUTTONUP, control, wParam, lParam);
  event.wKeyState = static_cast<WORD>(wParam);
  control->Event(event);
}

void CInputRouter::OnRightButtonDown(WPARAM wParam, LPARAM lParam) {
  if (!m_manager.m_bNoActivate) ::SetFocus(m_manager.m_hWndPaint);
  const POINT pt = PointFromLParam(lParam);
  m_manager.m_ptLastMousePos = pt;
  CControlUI* control = m_manager.FindOwnControl(pt);
  if (control == nullptr) return;
  control->SetFocus();
  m_pEventClick = control;
  TEventUI event = m_manager.MakeEvent(UIEVENT_RBUTTONDOWN, control, wParam, lParam);
  event.wKeyState = static_cast<WORD>(wParam);
  control->Event(event);
}

void CInputRouter::OnContextMenu(LPARAM lParam) {
  if (m_bMouseCapture || m_pEventClick == nullptr) return;
  POINT pt = PointFromLParam(lParam);
  ::ScreenToClient(m_manager.m_hWndPaint, &pt);
  m_manager.m_ptLastMousePos = pt;
  CControlUI* control = m_pEventClick;
  m_pEventClick = nullptr;
  SendEvent(UIEVENT_CONTEXTMENU, control, 0, reinterpret_cast<LPARAM>(control));
}

void CInputRouter::OnMouseWheel(WPARAM wParam, LPARAM lParam) {
  POINT pt = PointFromLParam(lParam);
  ::ScreenToClient(m_manager.m_hWndPaint, &pt);
  m_manager.m_ptLastMousePos = pt;
  CControlUI* control = m_manager.FindOwnControl(pt);
  if (control == nullptr) return;
  const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
  SendEvent(UIEVENT_SCROLLWHEEL, control, delta < 0 ? 1 : 0, lParam);
  // The hover state follows what now lies under the mouse.
  ::SendMessageW(m_manager.m_hWndPaint, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
}

void CInputRouter::TrackMouse() {
  if (m_bMouseTracking) return;
  TRACKMOUSEEVENT tme = {};
  tme.cbSize = sizeof(tme);
  tme.dwFlags = TME_HOVER | TME_LEAVE;
  tme.hwndTrack = m_manager.m_hWndPaint;
  tme.dwHoverTime = m_hwndTooltip == nullptr
                        ? static_cast<DWORD>(m_iHoverTime)
                        : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME,
                                                            TTDT_INITIAL, 0));
  ::TrackMouseEvent(&tme);
  m_bMouseTracking = true;
}

void CInputRouter::OnMouseMove(LPARAM lParam) {
  TrackMouse();
  const POINT pt = PointFromLParam(lParam);
  m_manager.m_ptLastMousePos = pt;
  CControlUI* newHover = m_manager.FindOwnControl(pt);
  if (!m_bMouseCapture && newHover != m_pEventHover) MoveHover(newHover);
  CControlUI* target = m_pEventClick != nullptr ? m_pEventClick : newHover;
  if (target != nullptr) SendEvent(UIEVENT_MOUSEMOVE, target, 0, lParam);
}

void CInputRouter::MoveHover(CControlUI* newHover) {
  if (m_pEventHover != nullptr) {
    CControlUI* oldHover = m_pEventHover;
    // Over a copy: a handler may change the list. A control that left it meanwhile, and the old
    // hover control (sent last), get no event from the list. Each event names the control it is
    // for.
    CUiPtrArray& needed = m_manager.m_aNeedMouseLeaveNeeded;
    CUiPtrArray targets(needed);
    for (int i = 0; i < targets.GetSize(); ++i) {
      CControlUI* target = static_cast<CControlUI*>(targets.GetAt(i));
      if (target != oldHover && needed.Find(target) >= 0) SendEvent(UIEVENT_MOUSELEAVE, target);
    }
    if (m_pEventHover == oldHover) {
      SendEvent(UIEVENT_MOUSELEAVE, oldHover);
      m_pEventHover = nullptr;
    }
    HideTooltip();
  }
  if (newHover != nullptr) {
    SendEvent(UIEVENT_MOUSEENTER, newHover);
    m_pEventHover = newHover;
  }
}

void CInputRouter::OnMouseLeave() {
  HideTooltip();
  if (!m_bMouseTracking) return;
  const HWND window = m_manager.m_hWndPaint;
  LPARAM position = MAKELPARAM(-1, -1);
  POINT cursor = {};
  RECT bounds = {};
  ::GetCursorPos(&cursor);
  ::GetWindowRect(window, &bounds);
  if (!::IsIconic(window) && ::GetActiveWindow() == window && ::PtInRect(&bounds, cursor)) {
    const LRESULT hit = ::SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y));
    if (hit == HTCLIENT) {
      ::ScreenToClient(window, &cursor);
      position = MAKELPARAM(cursor.x, cursor.y);
    }
  }
  ::SendMessageW(window, WM_MOUSEMOVE, 0, position);
  m_bMouseTracking = false;
}

void CInputRouter::OnMouseHover(LPARAM lParam) {
  m_bMouseTracking = false;
  const POINT pt = PointFromLParam(lParam);
  CControlUI* control = m_manager.FindControl(pt);
  if (control == nullptr) return;
  if (m_pEventHover != nullptr) {
    TEventUI event = m_manager.MakeEvent(UIEVENT_MOUSEHOVER, m_pEventHover, 0, lParam);
    event.ptMouse = pt;
    m_pEventHover->Event(event);
  }
  ShowTooltip(control, pt);
}

void CInputRouter::ShowTooltip(CControlUI* control, POINT pt) {
  const CUiString tip = control->GetToolTip();
  if (tip.IsEmpty()) return;
  const HWND window = m_manager.m_hWndPaint;
  // The tooltip keeps its own copy of the text.
  const CUiString text = ReplaceMultiLanguageTokens(tip.GetData(), &ManagerString, &m_manager);
  m_ToolTip = TOOLINFOW{};
  m_ToolTip.cbSize = TTTOOLINFOW_V2_SIZE;
  m_ToolTip.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  m_ToolTip.hwnd = window;
  m_ToolTip.uId = reinterpret_cast<UINT_PTR>(window);
  m_ToolTip.hinst = CPaintManagerUI::GetInstance();
  m_ToolTip.lpszText = const_cast<LPWSTR>(text.GetData());
  m_ToolTip.rect = control->GetPos();
  const int width = control->GetToolTipWidth();
  if (m_hwndTooltip == nullptr) {
    CPaintManagerUI::InitCommonControlsOnce();
    m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, window,
                                      nullptr, CPaintManagerUI::GetInstance(), nullptr);
    if (m_hwndTooltip == nullptr) return;
    ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, width);
    m_iLastTooltipWidth = width;
  } else {
    if (control != m_pLastToolTip || width != m_iLastTooltipWidth) {
      ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, width);
      m_iLastTooltipWidth = width;
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
  }
  m_pLastToolTip = control;
  POINT screen = pt;
  ::ClientToScreen(window, &screen);
  ::SendMessageW(m_hwndTooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
  ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

void CInputRouter::HideTooltip() {
  if (m_hwndTooltip != nullptr) {
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
  }
}

void CInputRouter::DestroyTooltip() {
  if (m_hwndTooltip == nullptr) return;
  ::DestroyWindow(m_hwndTooltip);
  m_hwndTooltip = nullptr;
}

// ---- Keyboard and focus ----

bool CInputRouter::RouteKeyboardAndFocus(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  CControlUI* focus = m_manager.m_pFocus;
  switch (uMsg) {
    case WM_CHAR:
    case WM_KEYDOWN: {
      if (focus == nullptr) return false;
      TEventUI event = m_manager.MakeEvent(uMsg == WM_CHAR ? UIEVENT_CHAR : UIEVENT_KEYDOWN,
                                           focus, wParam, lParam);
      event.chKey = static_cast<wchar_t>(wParam);
      focus->Event(event);
      if (uMsg == WM_KEYDOWN) m_pEventKey = focus;
      return false;
    }
    case WM_KEYUP: {
      if (m_pEventKey == nullptr) return false;
      CControlUI* control = m_pEventKey;
      m_pEventKey = nullptr;
      TEventUI event = m_manager.MakeEvent(UIEVENT_KEYUP, control, wParam, lParam);
      event.chKey = static_cast<wchar_t>(wParam);
      control->Event(event);
      return false;
    }
    case WM_KILLFOCUS: {
      CControlUI* host = m_manager.GetNativeWindowControl(reinterpret_cast<HWND>(wParam));
      if (host != nullptr) m_manager.m_pFocus = host;
      return false;
    }
    default:
      return false;
  }
}

// ---- Capture and cursor ----

bool CInputRouter::RouteCaptureAndCursor(UINT uMsg, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (uMsg) {
    case WM_SETCURSOR:
      return OnSetCursor(lParam, result);
    case WM_CAPTURECHANGED:
      OnCaptureLost(reinterpret_cast<HWND>(lParam));
      return false;
    default:
      return false;
  }
}

void CInputRouter::SetCapture() {
  ::SetCapture(m_manager.m_hWndPaint);
  m_bMouseCapture = true;
}

void CInputRouter::ReleaseCapture() {
  // Cleared first: releasing sends WM_CAPTURECHANGED, during which the flag must be off.
  m_bMouseCapture = false;
  ::ReleaseCapture();
}

void CInputRouter::OnCaptureLost(HWND newOwner) {
  if (!m_bMouseCapture || newOwner == m_manager.m_hWndPaint) return;
  m_bMouseCapture = false;
  CControlUI* control = m_pEventClick;
  m_pEventClick = nullptr;
  if (control == nullptr) return;
  // The press ends as a release where no control is, so nothing is clicked by it.
  TEventUI event = m_manager.MakeEvent(UIEVENT_BUTTONUP, control);
  event.ptMouse = kNowhere;
  control->Event(event);
}

bool CInputRouter::OnSetCursor(LPARAM lParam, LRESULT& result) {
  if (LOWORD(lParam) != HTCLIENT) return false;
  if (m_bMouseCapture) {
    result = TRUE;
    return true;
  }
  POINT pt = {};
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_manager.m_hWndPaint, &pt);
  CControlUI* control = m_manager.FindOwnControl(pt);
  if (control == nullptr || (control->GetControlFlags() & UIFLAG_SETCURSOR) == 0) return false;
  TEventUI event = m_manager.MakeEvent(UIEVENT_SETCURSOR, control);
  event.ptMouse = pt;
  control->Event(event);
  result = TRUE;
  return true;
}

// ---- Size and paint ----

bool CInputRouter::RouteSizeAndPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  CWindowPainter& painter = m_manager.m_painter;
  switch (uMsg) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      result = 0;
      return painter.Paint();
    case WM_PRINTCLIENT:
      painter.PrintClient(reinterpret_cast<HDC>(wParam), lParam);
      return false;
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      const SIZE minimum = m_manager.m_szMinWindow;
      const SIZE maximum = m_manager.m_szMaxWindow;
      if (minimum.cx > 0) info->ptMinTrackSize.x = minimum.cx;
      if (minimum.cy > 0) info->ptMinTrackSize.y = minimum.cy;
      if (maximum.cx > 0) info->ptMaxTrackSize.x = maximum.cx;
      if (maximum.cy > 0) info->ptMaxTrackSize.y = maximum.cy;
      return false;
    }
    case WM_SIZE:
      if (m_manager.m_pFocus != nullptr) {
        SendEvent(UIEVENT_WINDOWSIZE, m_manager.m_pFocus, wParam, lParam);
      }
      if (m_manager.m_pRoot != nullptr) m_manager.m_pRoot->NeedUpdate();
      painter.OnSize();
      result = 0;
      return true;
    default:
      return painter.AnswerLayeredFrame(uMsg, wParam, result);
  }
}

// ---- Timers and notifications ----

bool CInputRouter::RouteTimersAndNotifications(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                               LRESULT& result) {
  switch (uMsg) {
    case CPaintManagerUI::kAsyncNotifyMessage:
      m_manager.DeliverAsyncNotifications();
      return true;
    case WM_TIMER:
      m_manager.OnTimer(wParam, lParam);
      return false;
    case WM_NOTIFY: {
      // Reflected to the native child window that sent it.
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header == nullptr || header->hwndFrom == nullptr) return false;
      result = ::SendMessageW(header->hwndFrom, uMsg + kReflectedMessageBase, wParam, lParam);
      return true;
    }
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (child == nullptr) return false;
      result = ::SendMessageW(child, uMsg + kReflectedMessageBase, wParam, lParam);
      return true;
    }
    default:
      return false;
  }
}

// ---- The window's close and destruction ----

bool CInputRouter::RouteWindowLife(UINT uMsg) {
  if (uMsg == WM_CLOSE) {
    OnClose();
  } else if (uMsg == WM_DESTROY) {
    m_manager.OnWindowDestroyed();
  }
  return false;
}

void CInputRouter::OnClose() {
  if (m_pEventHover != nullptr) SendEvent(UIEVENT_MOUSELEAVE, m_pEventHover);
  if (m_pEventClick != nullptr) SendEvent(UIEVENT_BUTTONUP, m_pEventClick);
  m_manager.SetFocus(nullptr);
  const HWND window = m_manager.m_hWndPaint;
  if (::GetActiveWindow() == window) {
    HWND parent = ::GetWindow(window, GW_OWNER);
    if (parent == nullptr && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD)) {
      parent = ::GetParent(window);
    }
    if (parent != nullptr) ::SetFocus(parent);
  }
  DestroyTooltip();
}

void CInputRouter::Forget(const CControlUI* control) {
  if (control == m_pEventKey) m_pEventKey = nullptr;
  if (control == m_pEventHover) m_pEventHover = nullptr;
  if (control == m_pEventClick) m_pEventClick = nullptr;
  if (control == m_pLastToolTip) m_pLastToolTip = nullptr;
}

void CInputRouter::ForgetAll() {
  m_pEventKey = nullptr;
  m_pEventHover = nullptr;
  m_pEventClick = nullptr;
  m_pLastToolTip = nullptr;
}

}  // namespace SkinUI
