#include "uitoolkit/window/ui_window_wnd.h"

#include "uitoolkit/window/ui_paint_manager.h"

namespace SkinUI {
namespace {

constexpr wchar_t kObjectProperty[] = L"WndX";

// Rounds a system icon size up to a multiple of 16.
int IconSize(int metric) {
  const int size = ::GetSystemMetrics(metric);
  return (size + 15) / 16 * 16;
}

}  // namespace

bool CWindowWnd::RegisterWindowClass() {
  WNDCLASSW wc = {};
  wc.style = GetClassStyle();
  wc.lpfnWndProc = &CWindowWnd::WindowProcedure;
  wc.hInstance = CPaintManagerUI::GetInstance();
  wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = GetWndClassName();
  return ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool CWindowWnd::RegisterSuperclass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  if (!::GetClassInfoExW(nullptr, GetSuperClassName(), &wc) &&
      !::GetClassInfoExW(CPaintManagerUI::GetInstance(), GetSuperClassName(), &wc)) {
    return false;
  }
  m_OldWndProc = wc.lpfnWndProc;
  wc.lpfnWndProc = &CWindowWnd::ControlProcedure;
  wc.hInstance = CPaintManagerUI::GetInstance();
  wc.lpszClassName = GetWndClassName();
  return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle,
                        const RECT& rc, HMENU hMenu) {
  return Create(hwndParent, pstrName, dwStyle, dwExStyle, rc.left, rc.top, rc.right - rc.left,
                rc.bottom - rc.top, hMenu);
}

HWND CWindowWnd::Create(HWND hwndParent, const wchar_t* pstrName, DWORD dwStyle, DWORD dwExStyle,
                        int x, int y, int cx, int cy, HMENU hMenu) {
  if (GetSuperClassName() != nullptr ? !RegisterSuperclass() : !RegisterWindowClass()) {
    return nullptr;
  }
  // The window procedure sets m_hWnd on WM_NCCREATE and clears it on WM_NCDESTROY. Nothing of
  // the object is touched once the call returns: a window that ended during its creation (its
  // WM_CREATE failed, or the system could not give it a display) has had its final message,
  // which may have deleted the object.
  m_hWnd = nullptr;
  return ::CreateWindowExW(dwExStyle, GetWndClassName(), pstrName, dwStyle, x, y, cx, cy,
                           hwndParent, hMenu, CPaintManagerUI::GetInstance(), this);
}

HWND CWindowWnd::CreateUiWindow(HWND hwndParent, const wchar_t* pstrWindowName, DWORD dwStyle,
                                DWORD dwExStyle) {
  return Create(hwndParent, pstrWindowName, dwStyle, dwExStyle, 0, 0, 0, 0, nullptr);
}

HWND CWindowWnd::Subclass(HWND hWnd) {
  if (hWnd == nullptr || !::IsWindow(hWnd)) return nullptr;
  m_OldWndProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
      hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWindowWnd::ControlProcedure)));
  if (m_OldWndProc == nullptr) return nullptr;
  m_bSubclassed = true;
  m_hWnd = hWnd;
  // The object goes into the window property the control procedure reads; the window's own
  // user data stays the window's.
  ::SetPropW(hWnd, kObjectProperty, this);
  return m_hWnd;
}

void CWindowWnd::Unsubclass() {
  if (!m_bSubclassed || m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_OldWndProc));
  ::RemovePropW(m_hWnd, kObjectProperty);
  m_OldWndProc = ::DefWindowProcW;
  m_bSubclassed = false;
}

void CWindowWnd::ShowWindow(bool show, bool takeFocus) {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  ::ShowWindow(m_hWnd, show ? (takeFocus ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE) : SW_HIDE);
}

UINT CWindowWnd::ShowModal() {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return 0;
  // Only the handle is used from here on: a window may delete its object on its final message.
  const HWND window = m_hWnd;
  UINT result = 0;
  HWND owner = ::GetWindow(window, GW_OWNER);
  ::ShowWindow(window, SW_SHOWNORMAL);
  if (owner != nullptr) ::EnableWindow(owner, FALSE);
  MSG msg = {};
  bool quit = false;
  while (::IsWindow(window)) {
    if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    if (msg.hwnd == window && msg.message == WM_CLOSE) {
      result = static_cast<UINT>(msg.wParam);
      if (owner != nullptr) {
        ::EnableWindow(owner, TRUE);
        ::SetFocus(owner);
      }
    }
    if (!CPaintManagerUI::TranslateMessage(&msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }
  if (owner != nullptr) {
    ::EnableWindow(owner, TRUE);
    ::SetFocus(owner);
  }
  if (quit) ::PostQuitMessage(static_cast<int>(msg.wParam));
  return result;
}

void CWindowWnd::Close(UINT nRet) {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  ::PostMessageW(m_hWnd, WM_CLOSE, static_cast<WPARAM>(nRet), 0);
}

void CWindowWnd::CenterWindow() {
  if (m_hWnd == nullptr || !::IsWindow(m_hWnd)) return;
  RECT rcWindow = {};
  ::GetWindowRect(m_hWnd, &rcWindow);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT area = monitor.rcWork;
  RECT center = area;
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (owner != nullptr && !::IsIconic(owner)) ::GetWindowRect(owner, &center);
  const int width = rcWindow.right - rcWindow.left;
  const int height = rcWindow.bottom - rcWindow.top;
  int x = (center.left + center.right) / 2 - width / 2;
  int y = (center.top + center.bottom) / 2 - height / 2;
  if (x + width > area.right) x = area.right - width;
  if (x < area.left) x = area.left;
  if (y + height > area.bottom) y = area.bottom - height;
  if (y < area.top) y = area.top;
  ::SetWindowPos(m_hWnd, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT nRes) {
  HINSTANCE instance = CPaintManagerUI::GetInstance();
  HICON big = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON,
                                              IconSize(SM_CXICON), IconSize(SM_CYICON),
                                              LR_DEFAULTCOLOR));
  if (big != nullptr) ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  HICON small = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(nRes), IMAGE_ICON,
                                                IconSize(SM_CXSMICON), IconSize(SM_CYSMICON),
                                                LR_DEFAULTCOLOR));
  if (small != nullptr) {
    ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
}

void CWindowWnd::ResizeClient(int cx, int cy) {
  if (m_hWnd == nullptr) return;
  RECT rc = {};
  if (!::GetClientRect(m_hWnd, &rc)) return;
  if (cx != -1) rc.right = cx;
  if (cy != -1) rc.bottom = cy;
  const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE));
  const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
  const bool menu = (style & WS_CHILD) == 0 && ::GetMenu(m_hWnd) != nullptr;
  if (!::AdjustWindowRectEx(&rc, style, menu ? TRUE : FALSE, exStyle)) return;
  ::SetWindowPos(m_hWnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

LRESULT CWindowWnd::SendMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::PostMessageW(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::PostMessageW(m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return ::CallWindowProcW(m_OldWndProc, m_hWnd, uMsg, wParam, lParam);
}

LRESULT CWindowWnd::Route(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, bool inProperty) {
  CWindowWnd* window = nullptr;
  if (uMsg == WM_NCCREATE) {
    const CREATESTRUCTW* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    window = static_cast<CWindowWnd*>(create->lpCreateParams);
    if (window != nullptr) {
      window->m_hWnd = hWnd;
      if (inProperty) {
        ::SetPropW(hWnd, kObjectProperty, window);
      } else {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
      }
    }
  } else {
    window = inProperty
                 ? static_cast<CWindowWnd*>(::GetPropW(hWnd, kObjectProperty))
                 : reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCDESTROY && window != nullptr) {
      const LRESULT result = ::CallWindowProcW(window->m_OldWndProc, hWnd, uMsg, wParam, lParam);
      if (inProperty) {
        ::RemovePropW(hWnd, kObjectProperty);
      } else {
        ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, 0);
      }
      if (window->m_bSubclassed) window->Unsubclass();
      window->m_hWnd = nullptr;
      window->OnFinalMessage(hWnd);
      return result;
    }
  }
  if (window != nullptr) return window->HandleMessage(uMsg, wParam, lParam);
  return ::DefWindowProcW(hWnd, uMsg, wParam, lParam);
}

LRESULT CALLBACK CWindowWnd::WindowProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return Route(hWnd, uMsg, wParam, lParam, false);
}

LRESULT CALLBACK CWindowWnd::ControlProcedure(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  return Route(hWnd, uMsg, wParam, lParam, true);
}

}  // namespace SkinUI
