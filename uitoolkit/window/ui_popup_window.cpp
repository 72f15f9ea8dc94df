#include "uitoolkit/window/ui_popup_window.h"

namespace SkinUI {

namespace {

// Posted to itself when the pop-up loses the activation: dismissing it within WM_ACTIVATE
// would destroy the window in the middle of the activation change.
constexpr UINT kDismissMessage = WM_APP + 0x50;

}  // namespace

std::unique_ptr<IPopupHostUI> CPaintManagerUI::CreatePopupHost(IPopupListenerUI* listener) {
  if (listener == nullptr || m_hWndPaint == nullptr) return nullptr;
  return std::make_unique<CPopupWindowUI>(*this, listener);
}

CPopupWindowUI::~CPopupWindowUI() {
  Close();
  m_pm.reset();
}

bool CPopupWindowUI::Open(CControlUI* root, const RECT& rcScreen) {
  Close();
  m_pm.reset();
  m_pm = std::make_unique<CPaintManagerUI>();
  m_managerDone = false;
  HWND window = Create(m_owner.GetPaintWindow(), L"", WS_POPUP | WS_CLIPCHILDREN,
                       WS_EX_TOOLWINDOW, rcScreen);
  if (window == nullptr) {
    m_listener->OnPopupClosing(root);
    root->Delete();
    m_pm.reset();
    return false;
  }
  m_pm->Init(window);
  m_pm->SetResourceParent(&m_owner);
  m_pm->SetDefaultFontColor(m_owner.GetDefaultFontColor());
  m_pm->SetDefaultDisabledColor(m_owner.GetDefaultDisabledColor());
  m_pm->SetDefaultSelectedBkColor(m_owner.GetDefaultSelectedBkColor());
  m_pm->AttachDialog(root);
  ::ShowWindow(window, SW_SHOW);
  ::SetActiveWindow(window);
  ::SetFocus(window);
  ::UpdateWindow(window);
  TakeCapture();
  return true;
}

void CPopupWindowUI::Close() {
  if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

void CPopupWindowUI::TakeCapture() {
  if (m_hWnd != nullptr && ::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
}

bool CPopupWindowUI::RouteToManager(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (m_pm == nullptr || m_managerDone || m_pm->GetPaintWindow() == nullptr) return false;
  ++m_managerCalls;
  const bool handled = m_pm->MessageHandler(uMsg, wParam, lParam, result);
  if (--m_managerCalls == 0 && m_managerDone) m_pm.reset();
  return handled;
}

LRESULT CPopupWindowUI::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  HWND self = m_hWnd;
  switch (uMsg) {
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) ::PostMessageW(self, kDismissMessage, 0, 0);
      break;
    case kDismissMessage:
      m_listener->OnPopupDismiss();
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (m_listener->OnPopupKey(static_cast<UINT>(wParam), uMsg == WM_SYSKEYDOWN)) return 0;
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      // With the capture held, a press anywhere else on the screen arrives here.
      RECT client = {};
      ::GetClientRect(self, &client);
      const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (!::PtInRect(&client, pt)) {
        m_listener->OnPopupDismiss();
        return 0;
      }
      break;
    }
    case WM_LBUTTONUP: {
      LRESULT result = 0;
      RouteToManager(uMsg, wParam, lParam, result);
      if (m_hWnd != self) return 0;
      const POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      m_listener->OnPopupClick(pt);
      // Still open (a click on the scroll bar): keep watching presses outside.
      if (m_hWnd == self) TakeCapture();
      return 0;
    }
    case WM_DESTROY:
      if (m_pm != nullptr) m_listener->OnPopupClosing(m_pm->GetRoot());
      break;
    default:
      break;
  }
  LRESULT result = 0;
  if (RouteToManager(uMsg, wParam, lParam, result)) return result;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

void CPopupWindowUI::OnFinalMessage(HWND) {
  // The root (emptied by the listener) goes with the manager.
  m_managerDone = true;
  if (m_managerCalls == 0) m_pm.reset();
}

}  // namespace SkinUI
