#include "uitoolkit/window/ui_window_impl_base.h"

#include <cwchar>

namespace SkinUI {
namespace {

void WINAPI ExitThisProcess(UINT code) { ::ExitProcess(code); }

// The work area of the window's monitor, relative to the monitor.
RECT MonitorWorkArea(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  RECT work = monitor.rcWork;
  ::OffsetRect(&work, -monitor.rcMonitor.left, -monitor.rcMonitor.top);
  return work;
}

bool ClassIs(CControlUI* control, const wchar_t* name) {
  return CUiString(control->GetClass()).CompareNoCase(name) == 0;
}

}  // namespace

vesk::Seam<int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT)> g_skinFailureMessageBox{&::MessageBoxW};
vesk::Seam<void(WINAPI*)(UINT)> g_skinFailureExit{&ExitThisProcess};

std::vector<BYTE> WindowImplBase::m_lpResourceZIPBuffer;

UI_BEGIN_MESSAGE_MAP(WindowImplBase, CNotifyPump)
  UI_ON_MSGTYPE(L"click", WindowImplBase::OnClick)
UI_END_MESSAGE_MAP()

void WindowImplBase::OnFinalMessage(HWND) {
  m_pm.RemovePreMessageFilter(this);
  m_pm.RemoveNotifier(this);
  // The tree stays owned by the manager; only its roles (focus, hover, click...) are dropped.
  m_pm.SetFocus(nullptr, false);
}

void WindowImplBase::OnClick(TNotifyUI& msg) {
  if (msg.pSender == nullptr) return;
  const CUiString name = msg.pSender->GetName();
  if (name == L"closebtn") {
    Close(1);
  } else if (name == L"minbtn") {
    SendMessageW(WM_SYSCOMMAND, SC_MINIMIZE, 0);
  } else if (name == L"maxbtn") {
    SendMessageW(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  } else if (name == L"restorebtn") {
    SendMessageW(WM_SYSCOMMAND, SC_RESTORE, 0);
  }
}

LRESULT WindowImplBase::ResponseDefaultKeyEvent(WPARAM wParam) {
  if (wParam == VK_ESCAPE) {
    Close(1);
    return 1;
  }
  return 0;
}

LRESULT WindowImplBase::OnClose(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnDestroy(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnNcActivate(UINT, WPARAM wParam, LPARAM, bool& handled) {
  if (::IsIconic(m_hWnd)) handled = false;
  return wParam == 0 ? TRUE : FALSE;
}

LRESULT WindowImplBase::OnNcCalcSize(UINT, WPARAM wParam, LPARAM lParam, bool&) {
  if (!::IsZoomed(m_hWnd) || wParam == 0) return 0;
  NCCALCSIZE_PARAMS* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
  const RECT work = MonitorWorkArea(m_hWnd);
  RECT& client = params->rgrc[0];
  client.right = client.left + (work.right - work.left);
  client.bottom = client.top + (work.bottom - work.top);
  return WVR_HREDRAW | WVR_VREDRAW;
}

LRESULT WindowImplBase::OnNcPaint(UINT, WPARAM, LPARAM, bool&) { return 0; }

LRESULT WindowImplBase::OnNcHitTest(UINT, WPARAM, LPARAM lParam, bool&) {
  POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ScreenToClient(m_hWnd, &pt);
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  if (!::IsZoomed(m_hWnd)) {
    const RECT box = m_pm.GetSizeBox();
    if (pt.y < client.top + box.top) {
      if (pt.x < client.left + box.left) return HTTOPLEFT;
      if (pt.x > client.right - box.right) return HTTOPRIGHT;
      return HTTOP;
    }
    if (pt.y > client.bottom - box.bottom) {
      if (pt.x < client.left + box.left) return HTBOTTOMLEFT;
      if (pt.x > client.right - box.right) return HTBOTTOMRIGHT;
      return HTBOTTOM;
    }
    if (pt.x < client.left + box.left) return HTLEFT;
    if (pt.x > client.right - box.right) return HTRIGHT;
  }
  const RECT caption = m_pm.GetCaptionRect();
  if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
      pt.y >= caption.top && pt.y < caption.bottom) {
    CControlUI* control = m_pm.FindControl(pt);
    if (control == nullptr || ClassIs(control, L"Button") || ClassIs(control, L"Option") ||
        ClassIs(control, L"Text")) {
      return HTCLIENT;
    }
    return HTCAPTION;
  }
  return HTCLIENT;
}

LRESULT WindowImplBase::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, bool& handled) {
  MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
  const RECT work = MonitorWorkArea(m_hWnd);
  info->ptMaxPosition = POINT{work.left, work.top};
  info->ptMaxSize = POINT{work.right - work.left, work.bottom - work.top};
  info->ptMinTrackSize = POINT{m_pm.GetMinInfo().cx, m_pm.GetMinInfo().cy};
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseWheel(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseHover(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSize(UINT, WPARAM, LPARAM, bool& handled) {
  const SIZE corner = m_pm.GetRoundCorner();
  if (!::IsIconic(m_hWnd) && (corner.cx != 0 || corner.cy != 0)) {
    RECT rc = {};
    ::GetWindowRect(m_hWnd, &rc);
    ::OffsetRect(&rc, -rc.left, -rc.top);
    vesk::UniqueRegion region(
        ::CreateRoundRectRgn(rc.left, rc.top, rc.right + 1, rc.bottom + 1, corner.cx, corner.cy));
    // The system owns the region once it is the window's.
    if (region && ::SetWindowRgn(m_hWnd, region.get(), TRUE) != 0) region.release();
  }
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnChar(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool&) {
  if (wParam == SC_CLOSE) {
    SendMessageW(WM_CLOSE);
    return 0;
  }
  const bool zoomed = ::IsZoomed(m_hWnd) != FALSE;
  const LRESULT result = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
  const bool nowZoomed = ::IsZoomed(m_hWnd) != FALSE;
  if (zoomed != nowZoomed) {
    CControlUI* maxButton = m_pm.FindControl(L"maxbtn");
    CControlUI* restoreButton = m_pm.FindControl(L"restorebtn");
    if (maxButton != nullptr && restoreButton != nullptr) {
      maxButton->SetVisible(!nowZoomed);
      restoreButton->SetVisible(nowZoomed);
    }
  }
  return result;
}

LRESULT WindowImplBase::OnCreate(UINT, WPARAM, LPARAM, bool&) {
  LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  style &= ~static_cast<LONG_PTR>(WS_CAPTION);
  ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, style | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  RECT client = {};
  ::GetClientRect(m_hWnd, &client);
  ::SetWindowPos(m_hWnd, nullptr, client.left, client.top, client.right - client.left,
                 client.bottom - client.top, SWP_FRAMECHANGED);

  m_pm.Init(m_hWnd);
  m_pm.AddPreMessageFilter(this);
  if (CPaintManagerUI::GetResourcePath().IsEmpty()) {
    CUiString folder = CPaintManagerUI::GetInstancePath();
    folder += GetSkinDir();
    CPaintManagerUI::SetResourcePath(folder.GetData());
  }
  const UILIB_RESOURCETYPE type = GetResourceType();
  if (type == UILIB_ZIP) {
    CPaintManagerUI::SetResourceZip(GetZIPFileName().GetData(), true);
  } else if (type == UILIB_ZIPRESOURCE) {
    HINSTANCE module = CPaintManagerUI::GetResourceDll();
    HRSRC resource = ::FindResourceW(module, GetResourceID(), L"ZIPRES");
    if (resource == nullptr) return 0;
    HGLOBAL loaded = ::LoadResource(module, resource);
    const DWORD size = ::SizeofResource(module, resource);
    const BYTE* data = loaded != nullptr ? static_cast<const BYTE*>(::LockResource(loaded)) : nullptr;
    if (data == nullptr || size == 0) return 0;
    std::vector<BYTE> copy(data, data + size);
    CPaintManagerUI::SetResourceZip(copy.data(), copy.size());
    m_lpResourceZIPBuffer.swap(copy);  // the old copy goes only after the zip moved off it
  }

  CDialogBuilder builder;
  const CUiString skin = GetSkinXml();
  CControlUI* root = nullptr;
  if (type == UILIB_RESOURCE) {
    const WORD id = static_cast<WORD>(std::wcstoul(skin.GetData(), nullptr, 10));
    root = builder.Create(STRINGorID(id), L"xml", this, &m_pm);
  } else {
    root = builder.Create(STRINGorID(skin.GetData()), nullptr, this, &m_pm);
  }
  if (root == nullptr) {
    g_skinFailureMessageBox(nullptr, L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25",
                            L"SkinUI", MB_OK | MB_ICONERROR);
    g_skinFailureExit(1);
    return 0;
  }
  m_pm.AttachDialog(root);
  m_pm.AddNotifier(this);
  InitWindow();
  return 0;
}

LRESULT WindowImplBase::OnKeyDown(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnKillFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnSetFocus(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonDown(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnLButtonUp(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::OnMouseMove(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT WindowImplBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LONG WindowImplBase::GetStyle() {
  const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
  return static_cast<LONG>(style & ~static_cast<LONG_PTR>(WS_CAPTION));
}

void WindowImplBase::Notify(TNotifyUI& msg) { NotifyPump(msg); }

LRESULT WindowImplBase::MessageHandler(UINT uMsg, WPARAM wParam, LPARAM, bool&) {
  if (uMsg == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
    return ResponseDefaultKeyEvent(wParam);
  }
  return 0;
}

CControlUI* WindowImplBase::CreateControl(const wchar_t*) { return nullptr; }

LRESULT WindowImplBase::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  bool handled = true;
  switch (uMsg) {
    case WM_CREATE: result = OnCreate(uMsg, wParam, lParam, handled); break;
    case WM_CLOSE: result = OnClose(uMsg, wParam, lParam, handled); break;
    case WM_DESTROY: result = OnDestroy(uMsg, wParam, lParam, handled); break;
    case WM_NCACTIVATE: result = OnNcActivate(uMsg, wParam, lParam, handled); break;
    case WM_NCCALCSIZE: result = OnNcCalcSize(uMsg, wParam, lParam, handled); break;
    case WM_NCPAINT: result = OnNcPaint(uMsg, wParam, lParam, handled); break;
    case WM_NCHITTEST: result = OnNcHitTest(uMsg, wParam, lParam, handled); break;
    case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(uMsg, wParam, lParam, handled); break;
    case WM_MOUSEWHEEL: result = OnMouseWheel(uMsg, wParam, lParam, handled); break;
    case WM_MOUSEHOVER: result = OnMouseHover(uMsg, wParam, lParam, handled); break;
    case WM_SIZE: result = OnSize(uMsg, wParam, lParam, handled); break;
    case WM_CHAR: result = OnChar(uMsg, wParam, lParam, handled); break;
    case WM_SYSCOMMAND: result = OnSysCommand(uMsg, wParam, lParam, handled); break;
    case WM_KEYDOWN: result = OnKeyDown(uMsg, wParam, lParam, handled); break;
    case WM_KILLFOCUS: result = OnKillFocus(uMsg, wParam, lParam, handled); break;
    case WM_SETFOCUS: result = OnSetFocus(uMsg, wParam, lParam, handled); break;
    case WM_LBUTTONDOWN: result = OnLButtonDown(uMsg, wParam, lParam, handled); break;
    case WM_LBUTTONUP: result = OnLButtonUp(uMsg, wParam, lParam, handled); break;
    case WM_MOUSEMOVE: result = OnMouseMove(uMsg, wParam, lParam, handled); break;
    default: handled = false; break;
  }
  if (handled) return result;
  result = HandleCustomMessage(uMsg, wParam, lParam, handled);
  if (handled) return result;
  if (m_pm.MessageHandler(uMsg, wParam, lParam, result)) return result;
  return CWindowWnd::HandleMessage(uMsg, wParam, lParam);
}

}  // namespace SkinUI
