// CPaintManagerUI's native window: binding, the message loop, pre-message handling (Tab order,
// Alt shortcuts), the window's messages turned into control events, tooltips, painting through
// an off-screen buffer or a per-pixel-alpha layered window, and native child windows.
#include "uitoolkit/window/ui_paint_manager.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "uitoolkit/core/ui_multi_language.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {
namespace {

constexpr UINT kAsyncNotifyMessage = WM_APP + 1;
constexpr UINT_PTR kLayeredTimerId = 0x2000;
constexpr UINT kReflectOffset = 0x2000;

// The common controls (for the tooltip class), loaded from the system folder at first use, so
// that the programs do not import them.
void InitCommonControlsOnce() {
  static const bool done = [] {
    HMODULE comctl = ::LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (comctl == nullptr) return false;
    typedef BOOL(WINAPI * InitProc)(const INITCOMMONCONTROLSEX*);
    InitProc init = reinterpret_cast<InitProc>(
        reinterpret_cast<void*>(::GetProcAddress(comctl, "InitCommonControlsEx")));
    if (init == nullptr) return false;
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES};
    return init(&icc) != FALSE;
  }();
  (void)done;
}

typedef BOOL(WINAPI* UpdateLayeredWindowProc)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                               BLENDFUNCTION*, DWORD);

UpdateLayeredWindowProc GetUpdateLayeredWindow() {
  static const UpdateLayeredWindowProc proc = reinterpret_cast<UpdateLayeredWindowProc>(
      reinterpret_cast<void*>(
          ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "UpdateLayeredWindow")));
  return proc;
}

// The key state of TEventUI from the keyboard: 1 left, 2 right button, 4 Shift, 8 Ctrl, 0x20 Alt.
WORD KeyStateFromKeyboard() {
  WORD state = 0;
  if (::GetKeyState(VK_LBUTTON) < 0) state |= UIKEYSTATE_LBUTTON;
  if (::GetKeyState(VK_RBUTTON) < 0) state |= UIKEYSTATE_RBUTTON;
  if (::GetKeyState(VK_SHIFT) < 0) state |= UIKEYSTATE_SHIFT;
  if (::GetKeyState(VK_CONTROL) < 0) state |= UIKEYSTATE_CONTROL;
  if (::GetKeyState(VK_MENU) < 0) state |= UIKEYSTATE_ALT;
  return state;
}

POINT PointFromLParam(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// Tab search: every visible and enabled control in search order, remembering the tab stops
// before and after the focused one and the first and last of the tree.
struct TTabSearch {
  CControlUI* focus = nullptr;
  CControlUI* first = nullptr;
  CControlUI* last = nullptr;
  CControlUI* beforeFocus = nullptr;
  CControlUI* afterFocus = nullptr;
  bool focusSeen = false;
};

CControlUI* VisitTabStop(CControlUI* control, void* data) {
  TTabSearch* search = static_cast<TTabSearch*>(data);
  if (control == search->focus) {
    search->focusSeen = true;
    return nullptr;
  }
  if ((control->GetControlFlags() & UIFLAG_TABSTOP) == 0) return nullptr;
  if (search->first == nullptr) search->first = control;
  search->last = control;
  if (!search->focusSeen) {
    search->beforeFocus = control;
  } else if (search->afterFocus == nullptr) {
    search->afterFocus = control;
  }
  return nullptr;  // visit every control
}

struct TShortcutSearch {
  wchar_t ch;
};

CControlUI* FindShortcut(CControlUI* control, void* data) {
  const wchar_t ch = static_cast<TShortcutSearch*>(data)->ch;
  return control->IsEnabled() && control->GetShortcut() == ch ? control : nullptr;
}

template <typename Listener>
bool AppendListener(std::vector<Listener*>& list, Listener* listener) {
  if (listener == nullptr) return false;
  list.push_back(listener);
  return true;
}

// Removes the first occurrence; false when the listener is not in the list.
template <typename Listener>
bool RemoveListener(std::vector<Listener*>& list, Listener* listener) {
  auto found = std::find(list.begin(), list.end(), listener);
  if (found == list.end()) return false;
  list.erase(found);
  return true;
}

const wchar_t* ManagerString(int id, void* context) {
  return static_cast<CPaintManagerUI*>(context)->GetMultiLanguageString(id);
}

}  // namespace

std::vector<CPaintManagerUI*>& CPaintManagerUI::PreMessages() {
  static std::vector<CPaintManagerUI*>* managers = new std::vector<CPaintManagerUI*>();
  return *managers;
}

void CPaintManagerUI::Init(HWND hWnd, const wchar_t* name) {
  InitCommonControlsOnce();
  RemoveAllFonts();
  RemoveAllImages();
  RemoveAllDefaultAttributeList();
  RemoveAllWindowCustomAttribute();
  RemoveAllOptionGroups();
  RemoveAllTimers();
  m_sName = name != nullptr ? name : L"";
  if (m_hWndPaint == hWnd) return;
  if (m_hDcPaint != nullptr && ::IsWindow(m_hWndPaint)) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
  m_hWndPaint = hWnd;
  m_hDcPaint = hWnd != nullptr ? ::GetDC(hWnd) : nullptr;
  std::vector<CPaintManagerUI*>& managers = PreMessages();
  if (hWnd != nullptr && std::find(managers.begin(), managers.end(), this) == managers.end()) {
    managers.push_back(this);
  }
}

// ---- Message loop ----

int CPaintManagerUI::MessageLoop() {
  MSG msg = {};
  // GetMessage answers -1 on failure; that ends the loop instead of spinning on it.
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  return static_cast<int>(msg.wParam);
}

bool CPaintManagerUI::TranslateForManager(CPaintManagerUI* manager, LPMSG msg, bool childTarget) {
  for (ITranslateAccelerator* accelerator : manager->m_aTranslateAccelerators) {
    if (accelerator->TranslateAccelerator(msg) == S_OK) return true;
  }
  LRESULT result = 0;
  const bool consumed = manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
  return consumed && !childTarget;
}

bool CPaintManagerUI::TranslateMessage(const LPMSG msg) {
  if (msg == nullptr) return false;
  std::vector<CPaintManagerUI*>& managers = PreMessages();
  const bool child = msg->hwnd != nullptr &&
                     (::GetWindowLongPtrW(msg->hwnd, GWL_STYLE) & WS_CHILD) != 0;
  if (!child) {
    for (CPaintManagerUI* manager : managers) {
      if (manager->m_hWndPaint == msg->hwnd) return TranslateForManager(manager, msg, false);
    }
    return false;
  }
  // From the last manager to the first; a handler may end a window, so the index is checked
  // against the current size each time.
  for (std::size_t i = managers.size(); i-- > 0;) {
    if (i >= managers.size()) continue;
    CPaintManagerUI* manager = managers[i];
    for (HWND window = msg->hwnd; window != nullptr; window = ::GetParent(window)) {
      if (window != manager->m_hWndPaint) continue;
      for (ITranslateAccelerator* accelerator : manager->m_aTranslateAccelerators) {
        if (accelerator->TranslateAccelerator(msg) == S_OK) return true;
      }
      LRESULT result = 0;
      manager->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
      break;
    }
  }
  return false;
}

bool CPaintManagerUI::PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                        LRESULT& result) {
  const std::vector<IMessageFilterUI*> filters = m_aPreMessageFilters;
  for (IMessageFilterUI* filter : filters) {
    bool handled = false;
    const LRESULT answer = filter->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      result = answer;
      return true;
    }
  }
  switch (uMsg) {
    case WM_KEYDOWN:
      if (wParam != VK_TAB) return false;
      // A rich edit takes Tab itself.
      if (m_pFocus != nullptr && m_pFocus->IsVisible() && m_pFocus->IsEnabled() &&
          std::wcscmp(m_pFocus->GetClass(), L"RichEdit") == 0) {
        return false;
      }
      SetNextTabControl(::GetKeyState(VK_SHIFT) >= 0);
      return true;
    case WM_SYSKEYDOWN:
      if (m_pFocus != nullptr) {
        TEventUI event = MakeEvent(UIEVENT_SYSKEY, m_pFocus, wParam, lParam);
        event.chKey = static_cast<wchar_t>(wParam);
        m_pFocus->Event(event);
      }
      return false;
    case WM_SYSCHAR: {
      if (m_pRoot == nullptr) return false;
      // CharUpperW upper-cases a single character passed in the pointer's low word.
      const ULONG_PTR upper = reinterpret_cast<ULONG_PTR>(::CharUpperW(
          reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<wchar_t>(wParam)))));
      TShortcutSearch search{static_cast<wchar_t>(upper)};
      CControlUI* control = m_pRoot->FindControl(&FindShortcut, &search,
                                                 UIFIND_ENABLED | UIFIND_ME_FIRST |
                                                     UIFIND_TOP_FIRST);
      if (control == nullptr) return false;
      control->SetFocus();
      control->Activate();
      return true;
    }
    default:
      return false;
  }
}

bool CPaintManagerUI::AddPreMessageFilter(IMessageFilterUI* filter) {
  return AppendListener(m_aPreMessageFilters, filter);
}

bool CPaintManagerUI::RemovePreMessageFilter(IMessageFilterUI* filter) {
  return RemoveListener(m_aPreMessageFilters, filter);
}

bool CPaintManagerUI::AddMessageFilter(IMessageFilterUI* filter) {
  return AppendListener(m_aMessageFilters, filter);
}

bool CPaintManagerUI::RemoveMessageFilter(IMessageFilterUI* filter) {
  return RemoveListener(m_aMessageFilters, filter);
}

bool CPaintManagerUI::AddTranslateAccelerator(ITranslateAccelerator* accelerator) {
  return AppendListener(m_aTranslateAccelerators, accelerator);
}

bool CPaintManagerUI::RemoveTranslateAccelerator(ITranslateAccelerator* accelerator) {
  return RemoveListener(m_aTranslateAccelerators, accelerator);
}

// ---- Focus, Tab order, capture ----

bool CPaintManagerUI::SetNextTabControl(bool forward) {
  if (m_bUpdateNeeded && forward) {
    m_bFocusNeeded = true;
    if (m_hWndPaint != nullptr) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
    return true;
  }
  m_bFocusNeeded = false;
  if (m_pRoot == nullptr) return true;
  TTabSearch search;
  search.focus = m_pFocus;
  m_pRoot->FindControl(&VisitTabStop, &search,
                       UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  CControlUI* next = nullptr;
  if (forward) {
    next = search.afterFocus != nullptr ? search.afterFocus : search.first;
  } else {
    next = search.beforeFocus != nullptr ? search.beforeFocus : search.last;
  }
  if (next != nullptr) SetFocus(next, true);
  return true;
}

void CPaintManagerUI::SetFocusNeeded(CControlUI* control) {
  if (m_hWndPaint != nullptr && !m_bNoActivate) ::SetFocus(m_hWndPaint);
  if (control == nullptr) return;
  ReleaseFocus(control);
  // The tab stop before the control is taken, so that the forward step of the next paint lands
  // on the control itself (taking the one after would skip past it).
  TTabSearch search;
  search.focus = control;
  if (m_pRoot != nullptr) {
    m_pRoot->FindControl(&VisitTabStop, &search,
                         UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST);
  }
  m_pFocus = search.beforeFocus;
  m_bFocusNeeded = true;
  if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
}

void CPaintManagerUI::SetCapture() {
  ::SetCapture(m_hWndPaint);
  m_bMouseCapture = true;
}

void CPaintManagerUI::ReleaseCapture() {
  // Cleared first: releasing sends WM_CAPTURECHANGED, during which the flag must be off.
  m_bMouseCapture = false;
  ::ReleaseCapture();
}

// ---- Native child windows ----

bool CPaintManagerUI::AddNativeWindow(CControlUI* control, HWND hChildWnd) {
  if (control == nullptr || hChildWnd == nullptr) return false;
  for (auto& native : m_aNativeWindows) {
    if (native.first == hChildWnd) {
      native.second = control;
      return true;
    }
  }
  m_aNativeWindows.emplace_back(hChildWnd, control);
  return true;
}

bool CPaintManagerUI::RemoveNativeWindow(HWND hChildWnd) {
  for (auto it = m_aNativeWindows.begin(); it != m_aNativeWindows.end(); ++it) {
    if (it->first == hChildWnd) {
      m_aNativeWindows.erase(it);
      return true;
    }
  }
  return false;
}

CControlUI* CPaintManagerUI::GetNativeWindowControl(HWND hChildWnd) const {
  for (const auto& native : m_aNativeWindows) {
    if (native.first == hChildWnd) return native.second;
  }
  return nullptr;
}

// ---- Messages ----

TEventUI CPaintManagerUI::MakeEvent(int type, CControlUI* sender, WPARAM wParam,
                                    LPARAM lParam) const {
  TEventUI event;
  event.Type = type;
  event.pSender = sender;
  event.dwTimestamp = ::GetTickCount();
  event.ptMouse = m_ptLastMousePos;
  event.wKeyState = KeyStateFromKeyboard();
  event.wParam = wParam;
  event.lParam = lParam;
  return event;
}

CControlUI* CPaintManagerUI::FindOwnControl(POINT pt) const {
  CControlUI* control = FindControl(pt);
  return control != nullptr && control->GetManagerInterface() == this ? control : nullptr;
}

bool CPaintManagerUI::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (m_hWndPaint == nullptr) return false;
  const std::vector<IMessageFilterUI*> filters = m_aMessageFilters;
  for (IMessageFilterUI* filter : filters) {
    bool handled = false;
    const LRESULT answer = filter->MessageHandler(uMsg, wParam, lParam, handled);
    if (handled) {
      if (uMsg >= WM_MOUSEFIRST && uMsg <= WM_MOUSELAST) {
        m_ptLastMousePos = PointFromLParam(lParam);
      }
      result = answer;
      return true;
    }
  }
  if (m_bLayered) {
    switch (uMsg) {
      case WM_NCCALCSIZE:
      case WM_NCPAINT:
        result = 0;
        return true;
      case WM_NCACTIVATE:
        if (!::IsIconic(m_hWndPaint)) {
          result = wParam == 0 ? TRUE : FALSE;
          return true;
        }
        break;
      default:
        break;
    }
  }
  switch (uMsg) {
    case kAsyncNotifyMessage:
      DeliverAsyncNotifications();
      return true;
    case WM_CLOSE: {
      if (m_pEventHover != nullptr) {
        TEventUI event = MakeEvent(UIEVENT_MOUSELEAVE, m_pEventHover);
        m_pEventHover->Event(event);
      }
      if (m_pEventClick != nullptr) {
        TEventUI event = MakeEvent(UIEVENT_BUTTONUP, m_pEventClick);
        m_pEventClick->Event(event);
      }
      SetFocus(nullptr);
      if (::GetActiveWindow() == m_hWndPaint) {
        HWND parent = ::GetWindow(m_hWndPaint, GW_OWNER);
        if (parent == nullptr && (::GetWindowLongPtrW(m_hWndPaint, GWL_STYLE) & WS_CHILD)) {
          parent = ::GetParent(m_hWndPaint);
        }
        if (parent != nullptr) ::SetFocus(parent);
      }
      if (m_hwndTooltip != nullptr) {
        ::DestroyWindow(m_hwndTooltip);
        m_hwndTooltip = nullptr;
      }
      return false;
    }
    case WM_DESTROY: {
      // A gone window takes no more messages from the loop, and its device context goes back.
      std::vector<CPaintManagerUI*>& managers = PreMessages();
      managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
      DiscardPaintBuffers();
      if (m_hDcPaint != nullptr) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
      m_hDcPaint = nullptr;
      return false;
    }
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      result = 0;
      return OnPaint();
    case WM_PRINTCLIENT:
      OnPrintClient(reinterpret_cast<HDC>(wParam), lParam);
      return false;
    case WM_GETMINMAXINFO: {
      MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
      if (m_szMinWindow.cx > 0) info->ptMinTrackSize.x = m_szMinWindow.cx;
      if (m_szMinWindow.cy > 0) info->ptMinTrackSize.y = m_szMinWindow.cy;
      if (m_szMaxWindow.cx > 0) info->ptMaxTrackSize.x = m_szMaxWindow.cx;
      if (m_szMaxWindow.cy > 0) info->ptMaxTrackSize.y = m_szMaxWindow.cy;
      return false;
    }
    case WM_SIZE:
      if (m_pFocus != nullptr) {
        TEventUI event = MakeEvent(UIEVENT_WINDOWSIZE, m_pFocus, wParam, lParam);
        m_pFocus->Event(event);
      }
      if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
      if (m_bLayered) {
        RECT client;
        ::GetClientRect(m_hWndPaint, &client);
        Invalidate(client);
      }
      result = 0;
      return true;
    case WM_TIMER:
      OnTimer(wParam, lParam);
      return false;
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
    case WM_LBUTTONDBLCLK: {
      if (!m_bNoActivate) ::SetFocus(m_hWndPaint);
      const POINT pt = PointFromLParam(lParam);
      m_ptLastMousePos = pt;
      CControlUI* control = FindOwnControl(pt);
      if (control == nullptr) return false;
      m_pEventClick = control;
      if (uMsg == WM_LBUTTONDOWN) control->SetFocus();
      SetCapture();
      TEventUI event = MakeEvent(uMsg == WM_LBUTTONDOWN ? UIEVENT_BUTTONDOWN : UIEVENT_DBLCLICK,
                                 control, wParam, lParam);
      event.wKeyState = static_cast<WORD>(wParam);
      control->Event(event);
      return false;
    }
    case WM_LBUTTONUP: {
      const POINT pt = PointFromLParam(lParam);
      m_ptLastMousePos = pt;
      if (m_pEventClick == nullptr) return false;
      ReleaseCapture();
      CControlUI* control = m_pEventClick;
      m_pEventClick = nullptr;
      TEventUI event = MakeEvent(UIEVENT_BUTTONUP, control, wParam, lParam);
      event.wKeyState = static_cast<WORD>(wParam);
      control->Event(event);
      return false;
    }
    case WM_RBUTTONDOWN: {
      if (!m_bNoActivate) ::SetFocus(m_hWndPaint);
      const POINT pt = PointFromLParam(lParam);
      m_ptLastMousePos = pt;
      CControlUI* control = FindOwnControl(pt);
      if (control == nullptr) return false;
      control->SetFocus();
      m_pEventClick = control;
      TEventUI event = MakeEvent(UIEVENT_RBUTTONDOWN, control, wParam, lParam);
      event.wKeyState = static_cast<WORD>(wParam);
      control->Event(event);
      return false;
    }
    case WM_CONTEXTMENU: {
      if (m_bMouseCapture || m_pEventClick == nullptr) return false;
      POINT pt = PointFromLParam(lParam);
      ::ScreenToClient(m_hWndPaint, &pt);
      m_ptLastMousePos = pt;
      CControlUI* control = m_pEventClick;
      m_pEventClick = nullptr;
      TEventUI event = MakeEvent(UIEVENT_CONTEXTMENU, control, 0,
                                 reinterpret_cast<LPARAM>(control));
      control->Event(event);
      return false;
    }
    case WM_MOUSEWHEEL: {
      POINT pt = PointFromLParam(lParam);
      ::ScreenToClient(m_hWndPaint, &pt);
      m_ptLastMousePos = pt;
      CControlUI* control = FindOwnControl(pt);
      if (control == nullptr) return false;
      const int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      TEventUI event = MakeEvent(UIEVENT_SCROLLWHEEL, control, delta < 0 ? 1 : 0, lParam);
      control->Event(event);
      // The hover state follows what now lies under the mouse.
      ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0,
                     MAKELPARAM(m_ptLastMousePos.x, m_ptLastMousePos.y));
      return false;
    }
    case WM_CHAR: {
      if (m_pFocus == nullptr) return false;
      TEventUI event = MakeEvent(UIEVENT_CHAR, m_pFocus, wParam, lParam);
      event.chKey = static_cast<wchar_t>(wParam);
      m_pFocus->Event(event);
      return false;
    }
    case WM_KEYDOWN: {
      if (m_pFocus == nullptr) return false;
      TEventUI event = MakeEvent(UIEVENT_KEYDOWN, m_pFocus, wParam, lParam);
      event.chKey = static_cast<wchar_t>(wParam);
      m_pFocus->Event(event);
      m_pEventKey = m_pFocus;
      return false;
    }
    case WM_KEYUP: {
      if (m_pEventKey == nullptr) return false;
      CControlUI* control = m_pEventKey;
      m_pEventKey = nullptr;
      TEventUI event = MakeEvent(UIEVENT_KEYUP, control, wParam, lParam);
      event.chKey = static_cast<wchar_t>(wParam);
      control->Event(event);
      return false;
    }
    case WM_SETCURSOR:
      return OnSetCursor(lParam, result);
    case WM_KILLFOCUS: {
      CControlUI* host = GetNativeWindowControl(reinterpret_cast<HWND>(wParam));
      if (host != nullptr) m_pFocus = host;
      return false;
    }
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header == nullptr || header->hwndFrom == nullptr) return false;
      result = ::SendMessageW(header->hwndFrom, uMsg + kReflectOffset, wParam, lParam);
      return true;
    }
    case WM_COMMAND: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (child == nullptr) return false;
      result = ::SendMessageW(child, uMsg + kReflectOffset, wParam, lParam);
      return true;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      HWND child = reinterpret_cast<HWND>(lParam);
      if (child == nullptr) return false;
      result = ::SendMessageW(child, uMsg + kReflectOffset, wParam, lParam);
      return true;
    }
    case WM_MOUSEACTIVATE:
      if (!m_bNoActivate) return false;
      result = MA_NOACTIVATE;
      return true;
    default:
      return false;
  }
}

void CPaintManagerUI::OnMouseMove(LPARAM lParam) {
  if (!m_bMouseTracking) {
    TRACKMOUSEEVENT tme = {};
    tme.cbSize = sizeof(tme);
    tme.dwFlags = TME_HOVER | TME_LEAVE;
    tme.hwndTrack = m_hWndPaint;
    tme.dwHoverTime = m_hwndTooltip == nullptr
                          ? static_cast<DWORD>(m_iHoverTime)
                          : static_cast<DWORD>(::SendMessageW(m_hwndTooltip, TTM_GETDELAYTIME,
                                                              TTDT_INITIAL, 0));
    ::TrackMouseEvent(&tme);
    m_bMouseTracking = true;
  }
  const POINT pt = PointFromLParam(lParam);
  m_ptLastMousePos = pt;
  CControlUI* newHover = FindOwnControl(pt);
  if (!m_bMouseCapture && newHover != m_pEventHover) {
    if (m_pEventHover != nullptr) {
      CControlUI* oldHover = m_pEventHover;
      // Over a copy: a handler may change the list. A control that left it meanwhile, and the
      // old hover control (sent last), get no event from the list. Each event names the control
      // it is for.
      CUiPtrArray targets(m_aNeedMouseLeaveNeeded);
      for (int i = 0; i < targets.GetSize(); ++i) {
        CControlUI* target = static_cast<CControlUI*>(targets.GetAt(i));
        if (target != oldHover && m_aNeedMouseLeaveNeeded.Find(target) >= 0) {
          TEventUI event = MakeEvent(UIEVENT_MOUSELEAVE, target);
          target->Event(event);
        }
      }
      if (m_pEventHover == oldHover) {
        TEventUI event = MakeEvent(UIEVENT_MOUSELEAVE, oldHover);
        oldHover->Event(event);
        m_pEventHover = nullptr;
      }
      HideTooltip();
    }
    if (newHover != nullptr) {
      TEventUI event = MakeEvent(UIEVENT_MOUSEENTER, newHover);
      newHover->Event(event);
      m_pEventHover = newHover;
    }
  }
  CControlUI* target = m_pEventClick != nullptr ? m_pEventClick : newHover;
  if (target != nullptr) {
    TEventUI event = MakeEvent(UIEVENT_MOUSEMOVE, target, 0, lParam);
    target->Event(event);
  }
}

void CPaintManagerUI::OnMouseLeave() {
  HideTooltip();
  if (!m_bMouseTracking) return;
  LPARAM position = MAKELPARAM(-1, -1);
  POINT cursor = {};
  RECT window = {};
  ::GetCursorPos(&cursor);
  ::GetWindowRect(m_hWndPaint, &window);
  if (!::IsIconic(m_hWndPaint) && ::GetActiveWindow() == m_hWndPaint &&
      ::PtInRect(&window, cursor)) {
    const LRESULT hit =
        ::SendMessageW(m_hWndPaint, WM_NCHITTEST, 0, MAKELPARAM(cursor.x, cursor.y));
    if (hit == HTCLIENT) {
      ::ScreenToClient(m_hWndPaint, &cursor);
      position = MAKELPARAM(cursor.x, cursor.y);
    }
  }
  ::SendMessageW(m_hWndPaint, WM_MOUSEMOVE, 0, position);
  m_bMouseTracking = false;
}

void CPaintManagerUI::HideTooltip() {
  if (m_hwndTooltip != nullptr) {
    ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&m_ToolTip));
  }
}

void CPaintManagerUI::OnMouseHover(LPARAM lParam) {
  m_bMouseTracking = false;
  const POINT pt = PointFromLParam(lParam);
  CControlUI* control = FindControl(pt);
  if (control == nullptr) return;
  if (m_pEventHover != nullptr) {
    TEventUI event = MakeEvent(UIEVENT_MOUSEHOVER, m_pEventHover, 0, lParam);
    event.ptMouse = pt;
    m_pEventHover->Event(event);
  }
  const CUiString tip = control->GetToolTip();
  if (tip.IsEmpty()) return;
  // The tooltip keeps its own copy of the text.
  const CUiString text = ReplaceMultiLanguageTokens(tip.GetData(), &ManagerString, this);
  m_ToolTip = TOOLINFOW{};
  m_ToolTip.cbSize = TTTOOLINFOW_V2_SIZE;
  m_ToolTip.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE;
  m_ToolTip.hwnd = m_hWndPaint;
  m_ToolTip.uId = reinterpret_cast<UINT_PTR>(m_hWndPaint);
  m_ToolTip.hinst = GetInstance();
  m_ToolTip.lpszText = const_cast<LPWSTR>(text.GetData());
  m_ToolTip.rect = control->GetPos();
  if (m_hwndTooltip == nullptr) {
    InitCommonControlsOnce();
    m_hwndTooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr,
                                      WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWndPaint,
                                      nullptr, GetInstance(), nullptr);
    if (m_hwndTooltip == nullptr) return;
    ::SendMessageW(m_hwndTooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
    ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
    m_iLastTooltipWidth = control->GetToolTipWidth();
  } else {
    if (control != m_pLastToolTip || control->GetToolTipWidth() != m_iLastTooltipWidth) {
      ::SendMessageW(m_hwndTooltip, TTM_SETMAXTIPWIDTH, 0, control->GetToolTipWidth());
      m_iLastTooltipWidth = control->GetToolTipWidth();
    }
    ::SendMessageW(m_hwndTooltip, TTM_SETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&m_ToolTip));
  }
  m_pLastToolTip = control;
  POINT screen = pt;
  ::ClientToScreen(m_hWndPaint, &screen);
  ::SendMessageW(m_hwndTooltip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
  ::SendMessageW(m_hwndTooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&m_ToolTip));
}

bool CPaintManagerUI::OnSetCursor(LPARAM lParam, LRESULT& result) {
  if (LOWORD(lParam) != HTCLIENT) return false;
  if (m_bMouseCapture) {
    result = TRUE;
    return true;
  }
  POINT pt = {};
  ::GetCursorPos(&pt);
  ::ScreenToClient(m_hWndPaint, &pt);
  CControlUI* control = FindOwnControl(pt);
  if (control == nullptr || (control->GetControlFlags() & UIFLAG_SETCURSOR) == 0) return false;
  TEventUI event = MakeEvent(UIEVENT_SETCURSOR, control);
  event.ptMouse = pt;
  control->Event(event);
  result = TRUE;
  return true;
}

// ---- Painting ----

void CPaintManagerUI::DiscardPaintBuffers() {
  // Each context goes before the bitmap selected into it.
  m_hDcOffscreen.reset();
  m_hbmpOffscreen.reset();
  m_pOffscreenBits = nullptr;
  m_hDcBackground.reset();
  m_hbmpBackground.reset();
  m_pBackgroundBits = nullptr;
}

bool CPaintManagerUI::OnPaint() {
  if (m_pRoot == nullptr) {
    PAINTSTRUCT ps = {};
    HDC dc = ::BeginPaint(m_hWndPaint, &ps);
    CRenderEngine::DrawColor(dc, ps.rcPaint, 0xFF000000);
    ::EndPaint(m_hWndPaint, &ps);
    return true;
  }
  RECT rcClient = {};
  ::GetClientRect(m_hWndPaint, &rcClient);
  RECT rcPaint = {};
  if (m_bLayered) {
    m_bOffscreenPaint = true;
    ::IntersectRect(&rcPaint, &m_rcLayeredUpdate, &rcClient);
    if (::IsRectEmpty(&rcPaint)) {
      ::ValidateRect(m_hWndPaint, nullptr);
      return true;
    }
  } else if (!::GetUpdateRect(m_hWndPaint, &rcPaint, FALSE)) {
    return true;
  }
  if (m_bFocusNeeded) SetNextTabControl();
  if (m_bUpdateNeeded) {
    RECT rcLayout = rcClient;
    if (m_bLayered) {
      rcLayout.left += m_rcLayeredInset.left;
      rcLayout.top += m_rcLayeredInset.top;
      rcLayout.right -= m_rcLayeredInset.right;
      rcLayout.bottom -= m_rcLayeredInset.bottom;
    }
    if (!::IsRectEmpty(&rcClient) && m_pRoot->IsUpdateNeeded()) DiscardPaintBuffers();
    const bool firstLayout = m_bFirstLayout;
    m_bPainting = true;
    UpdateLayout(rcLayout);
    m_bPainting = false;
    if (firstLayout && m_bLayered) {
      // The first layered frame is painted by the next paint message.
      m_rcLayeredUpdate = rcClient;
      ::ValidateRect(m_hWndPaint, nullptr);
      return true;
    }
  }
  const int width = rcClient.right - rcClient.left;
  const int height = rcClient.bottom - rcClient.top;
  if (m_bOffscreenPaint && !m_hDcOffscreen && width > 0 && height > 0) {
    m_hDcOffscreen.reset(::CreateCompatibleDC(m_hDcPaint));
    if (m_bLayered) {
      BYTE* bits = nullptr;
      m_hbmpOffscreen.reset(CRenderEngine::CreateARGB32Bitmap(m_hDcPaint, width, height, &bits));
      m_pOffscreenBits = bits;
    } else {
      m_hbmpOffscreen.reset(::CreateCompatibleBitmap(m_hDcPaint, width, height));
    }
    if (m_hDcOffscreen && m_hbmpOffscreen) {
      ::SelectObject(m_hDcOffscreen.get(), m_hbmpOffscreen.get());
    } else {
      DiscardPaintBuffers();
    }
  }
  PAINTSTRUCT ps = {};
  HDC windowDC = ::BeginPaint(m_hWndPaint, &ps);
  if (m_bLayered) {
    ps.rcPaint = rcPaint;
  }
  if (!m_hDcOffscreen) {
    Render(windowDC, rcClient, ps.rcPaint);
  } else if (m_bLayered) {
    PaintLayered(rcClient);
  } else {
    Render(m_hDcOffscreen.get(), rcClient, ps.rcPaint);
    ::BitBlt(windowDC, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
             ps.rcPaint.bottom - ps.rcPaint.top, m_hDcOffscreen.get(), ps.rcPaint.left,
             ps.rcPaint.top, SRCCOPY);
  }
  if (m_bShowUpdateRect && !m_bLayered) {
    static const vesk::UniqueGdiObject<HPEN> pen(::CreatePen(PS_SOLID, 1, RGB(220, 0, 0)));
    vesk::ScopedSelectObject selectPen(windowDC, pen.get());
    vesk::ScopedSelectObject selectBrush(windowDC, ::GetStockObject(HOLLOW_BRUSH));
    ::Rectangle(windowDC, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
  }
  ::EndPaint(m_hWndPaint, &ps);
  m_bPainting = false;
  m_bLayeredChanged = false;
  // A focus change deferred to "after the layout" was asked for before BeginPaint validated the
  // window, so it needs one more paint.
  if (m_bUpdateNeeded || m_bFocusNeeded) ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
  return true;
}

void CPaintManagerUI::PaintLayered(const RECT& rcClient) {
  const int width = rcClient.right - rcClient.left;
  const int height = rcClient.bottom - rcClient.top;
  RECT rcPaint = {};
  ::IntersectRect(&rcPaint, &m_rcLayeredUpdate, &rcClient);
  std::uint32_t* pixels = static_cast<std::uint32_t*>(m_pOffscreenBits);
  if (pixels == nullptr) return;
  // GDI leaves the alpha byte of what it draws at 0, which would make every control drawn with
  // it invisible. So the area is painted over black here and over white in a second buffer;
  // where both agree the pixel is opaque, and the difference gives the coverage of translucent
  // drawing. Painted over black, the colours are already premultiplied as the layered update
  // wants them.
  BYTE* whiteBits = nullptr;
  vesk::UniqueBitmap whiteBitmap(
      CRenderEngine::CreateARGB32Bitmap(m_hDcPaint, width, height, &whiteBits));
  vesk::UniqueMemoryDC whiteDC(::CreateCompatibleDC(m_hDcPaint));
  std::uint32_t* white = reinterpret_cast<std::uint32_t*>(whiteBits);
  for (int y = rcPaint.top; y < rcPaint.bottom; ++y) {
    std::fill(pixels + y * width + rcPaint.left, pixels + y * width + rcPaint.right, 0u);
    if (white != nullptr) {
      std::fill(white + y * width + rcPaint.left, white + y * width + rcPaint.right, 0xFFFFFFu);
    }
  }
  Render(m_hDcOffscreen.get(), rcClient, rcPaint);
  if (whiteBitmap && whiteDC && white != nullptr) {
    vesk::ScopedSelectObject select(whiteDC.get(), whiteBitmap.get());
    Render(whiteDC.get(), rcClient, rcPaint);
    ::GdiFlush();
    for (int y = rcPaint.top; y < rcPaint.bottom; ++y) {
      for (int x = rcPaint.left; x < rcPaint.right; ++x) {
        std::uint32_t& pixel = pixels[y * width + x];
        const std::uint32_t overWhite = white[y * width + x];
        const int difference = static_cast<int>((overWhite >> 8) & 0xFF) -
                               static_cast<int>((pixel >> 8) & 0xFF);
        const std::uint32_t alpha = static_cast<std::uint32_t>(255 - std::clamp(difference, 0, 255));
        pixel = (pixel & 0x00FFFFFFu) | (alpha << 24);
      }
    }
  }
  // Native child windows are printed into the frame; their painted pixels become opaque.
  for (const auto& native : m_aNativeWindows) {
    HWND child = native.first;
    if (!::IsWindowVisible(child)) continue;
    RECT rcChild = {};
    ::GetWindowRect(child, &rcChild);
    ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&rcChild), 2);
    const int childWidth = rcChild.right - rcChild.left;
    const int childHeight = rcChild.bottom - rcChild.top;
    if (childWidth <= 0 || childHeight <= 0) continue;
    BYTE* childBits = nullptr;
    vesk::UniqueBitmap childBitmap(
        CRenderEngine::CreateARGB32Bitmap(m_hDcPaint, childWidth, childHeight, &childBits));
    vesk::UniqueMemoryDC childDC(::CreateCompatibleDC(m_hDcPaint));
    if (!childBitmap || !childDC || childBits == nullptr) continue;
    vesk::ScopedSelectObject select(childDC.get(), childBitmap.get());
    ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(childDC.get()),
                   PRF_CHECKVISIBLE | PRF_CHILDREN | PRF_CLIENT | PRF_OWNED);
    std::uint32_t* childPixels = reinterpret_cast<std::uint32_t*>(childBits);
    for (int i = 0; i < childWidth * childHeight; ++i) {
      if (childPixels[i] != 0) childPixels[i] |= 0xFF000000u;
    }
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(m_hDcOffscreen.get(), rcChild.left, rcChild.top, childWidth, childHeight,
                    childDC.get(), 0, 0, childWidth, childHeight, blend);
  }
  // The layered image's alpha shapes the window: each pixel's channels are scaled by it.
  if (!m_sLayeredImage.IsEmpty() && pixels != nullptr) {
    if (!m_hDcBackground) {
      BYTE* bits = nullptr;
      m_hbmpBackground.reset(CRenderEngine::CreateARGB32Bitmap(m_hDcPaint, width, height, &bits));
      m_hDcBackground.reset(::CreateCompatibleDC(m_hDcPaint));
      if (m_hbmpBackground && m_hDcBackground) {
        ::SelectObject(m_hDcBackground.get(), m_hbmpBackground.get());
        m_pBackgroundBits = bits;
        TDrawInfo shapeImage(m_sLayeredImage.GetData());
        CRenderEngine::DrawImage(m_hDcBackground.get(), this, rcClient, rcClient, shapeImage);
      }
    }
    const BYTE* shape = static_cast<const BYTE*>(m_pBackgroundBits);
    if (shape != nullptr) {
      BYTE* frame = static_cast<BYTE*>(m_pOffscreenBits);
      for (int i = 0; i < width * height; ++i) {
        const unsigned alpha = shape[i * 4 + 3];
        for (int channel = 0; channel < 4; ++channel) {
          frame[i * 4 + channel] = static_cast<BYTE>(frame[i * 4 + channel] * alpha / 255);
        }
      }
    }
  }
  UpdateLayeredWindowProc update = GetUpdateLayeredWindow();
  if (update != nullptr) {
    RECT rcWindow = {};
    ::GetWindowRect(m_hWndPaint, &rcWindow);
    POINT destination = {rcWindow.left, rcWindow.top};
    SIZE size = {width, height};
    POINT source = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_nOpacity, AC_SRC_ALPHA};
    update(m_hWndPaint, nullptr, &destination, &size, m_hDcOffscreen.get(), &source, 0, &blend,
           ULW_ALPHA);
  }
  m_rcLayeredUpdate = RECT{0, 0, 0, 0};
}

void CPaintManagerUI::SetLayered(bool layered) {
  if (m_hWndPaint == nullptr || layered == m_bLayered) return;
  if ((::GetWindowLongPtrW(m_hWndPaint, GWL_STYLE) & WS_CHILD) != 0) return;
  if (GetUpdateLayeredWindow() == nullptr) return;
  m_bLayered = layered;
  const LONG_PTR style = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
  if (layered) {
    ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, style | WS_EX_LAYERED);
    ::SetTimer(m_hWndPaint, kLayeredTimerId, 10, nullptr);
  } else {
    ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, style & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    ::KillTimer(m_hWndPaint, kLayeredTimerId);
  }
  DiscardPaintBuffers();
  if (m_pRoot != nullptr) m_pRoot->NeedUpdate();
  NeedUpdate();
  RECT client = {};
  ::GetClientRect(m_hWndPaint, &client);
  m_rcLayeredUpdate = client;
  ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::OnPrintClient(HDC hDC, LPARAM flags) {
  if (m_pRoot == nullptr || hDC == nullptr) return;
  RECT client = {};
  ::GetClientRect(m_hWndPaint, &client);
  Render(hDC, client, client);
  if ((flags & PRF_CHILDREN) == 0) return;
  for (HWND child = ::GetWindow(m_hWndPaint, GW_CHILD); child != nullptr;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    RECT rcChild = {};
    ::GetWindowRect(child, &rcChild);
    ::MapWindowPoints(HWND_DESKTOP, m_hWndPaint, reinterpret_cast<POINT*>(&rcChild), 2);
    POINT origin = {};
    ::SetWindowOrgEx(hDC, -rcChild.left, -rcChild.top, &origin);
    ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(hDC),
                   PRF_CHECKVISIBLE | PRF_CHILDREN | PRF_CLIENT | PRF_NONCLIENT);
    ::SetWindowOrgEx(hDC, origin.x, origin.y, nullptr);
  }
}

}  // namespace SkinUI
