#include "uitoolkit/controls/hosted/ui_rich_edit_host.h"

#include <imm.h>

#include "common/system_libraries.h"
#include "uitoolkit/controls/hosted/ui_rich_edit.h"
#include "uitoolkit/core/ui_color.h"

namespace SkinUI {
namespace {

// The interfaces of the text services and their host. Defined here so that nothing links the
// library's import library.
const IID kTextServicesId = {
    0x8d33f740, 0xcf58, 0x11ce, {0xa8, 0x9d, 0x00, 0xaa, 0x00, 0x6c, 0xad, 0xc5}};
const IID kTextHostId = {
    0x13e670f4, 0x1a5a, 0x11cf, {0xab, 0xeb, 0x00, 0xaa, 0x00, 0xb6, 0x5e, 0xa1}};

using CreateTextServicesFunction = HRESULT(WINAPI*)(IUnknown*, ITextHost*, IUnknown**);

HIMC ImmContext(HWND window) {
  static const auto function =
      vesk::SystemFunction<decltype(&::ImmGetContext)>(L"imm32.dll", "ImmGetContext");
  return function != nullptr && window != nullptr ? function(window) : nullptr;
}

void ReleaseImmContext(HWND window, HIMC context) {
  static const auto function =
      vesk::SystemFunction<decltype(&::ImmReleaseContext)>(L"imm32.dll", "ImmReleaseContext");
  if (function != nullptr && context != nullptr) function(window, context);
}

}  // namespace

CRichEditHost::CRichEditHost(CRichEditUI& owner) : m_owner(owner) {
  m_paraFormat.cbSize = sizeof(m_paraFormat);
  m_paraFormat.dwMask = PFM_ALL;
  m_paraFormat.wAlignment = PFA_LEFT;
  m_paraFormat.cTabCount = 1;
  m_paraFormat.rgxTabs[0] = lDefaultTab;
  RefreshFormats();
}

CRichEditHost::~CRichEditHost() {
  if (m_services != nullptr) {
    if (m_active) m_services->OnTxInPlaceDeactivate();
    m_services->Release();
  }
  if (m_library != nullptr) ::FreeLibrary(m_library);
}

bool CRichEditHost::Create() {
  m_library = vesk::LoadSystemLibrary(L"riched20.dll");
  if (m_library == nullptr) return false;
  const auto create = reinterpret_cast<CreateTextServicesFunction>(
      reinterpret_cast<void*>(::GetProcAddress(m_library, "CreateTextServices")));
  IUnknown* unknown = nullptr;
  if (create == nullptr || FAILED(create(nullptr, this, &unknown)) || unknown == nullptr) {
    return false;
  }
  const HRESULT found =
      unknown->QueryInterface(kTextServicesId, reinterpret_cast<void**>(&m_services));
  unknown->Release();
  if (FAILED(found)) m_services = nullptr;
  return m_services != nullptr;
}

void CRichEditHost::RefreshFormats() {
  LOGFONTW font = {};
  HFONT handle = nullptr;
  if (IControlManagerUI* manager = m_owner.GetManagerInterface()) {
    handle = manager->GetFont(m_owner.m_font);
  }
  if (handle == nullptr) handle = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  ::GetObjectW(handle, sizeof(font), &font);
  HDC screen = ::GetDC(nullptr);
  const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
  HGDIOBJ previous = ::SelectObject(screen, handle);
  TEXTMETRICW metrics = {};
  m_lineHeight = ::GetTextMetricsW(screen, &metrics) ? metrics.tmHeight : 0;
  ::SelectObject(screen, previous);
  ::ReleaseDC(nullptr, screen);
  DWORD color = m_owner.IsEnabled() ? m_owner.m_textColor : m_owner.m_disabledTextColor;
  if (color == 0 && m_owner.GetManagerInterface() != nullptr) {
    color = m_owner.IsEnabled() ? m_owner.GetManagerInterface()->GetDefaultFontColor()
                                : m_owner.GetManagerInterface()->GetDefaultDisabledColor();
  }
  if (color == 0) color = m_owner.IsEnabled() ? 0xFF000000 : 0xFFA7A6AA;
  m_charFormat = RichEditCharFormat(font, ToPlatformColor(color), dpiY);
}

void CRichEditHost::Activate() {
  if (m_active || m_services == nullptr || Window() == nullptr) return;
  const RECT rc = m_owner.TextRect();
  m_active = SUCCEEDED(m_services->OnTxInPlaceActivate(&rc));
}

HWND CRichEditHost::Window() const {
  IControlManagerUI* manager = m_owner.GetManagerInterface();
  return manager != nullptr ? manager->GetPaintWindow() : nullptr;
}

HRESULT CRichEditHost::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, kTextHostId)) {
    *object = static_cast<ITextHost*>(this);
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

HDC CRichEditHost::TxGetDC() { return ::GetDC(Window()); }

INT CRichEditHost::TxReleaseDC(HDC dc) { return ::ReleaseDC(Window(), dc); }

BOOL CRichEditHost::TxShowScrollBar(INT, BOOL) {
  m_owner.SyncScrollBars();
  return TRUE;
}

BOOL CRichEditHost::TxEnableScrollBar(INT, INT) {
  m_owner.SyncScrollBars();
  return TRUE;
}

BOOL CRichEditHost::TxSetScrollRange(INT, LONG, INT, BOOL) {
  m_owner.SyncScrollBars();
  return TRUE;
}

BOOL CRichEditHost::TxSetScrollPos(INT, INT, BOOL) {
  m_owner.SyncScrollBars();
  return TRUE;
}

void CRichEditHost::TxInvalidateRect(LPCRECT rc, BOOL) {
  IControlManagerUI* manager = m_owner.GetManagerInterface();
  if (manager == nullptr) return;
  // Only the control's own area: the text services may name more than their client rectangle.
  RECT area = m_owner.GetPos();
  if (rc != nullptr && !::IntersectRect(&area, &area, rc)) return;
  manager->Invalidate(area);
}

void CRichEditHost::TxViewChange(BOOL) {}

BOOL CRichEditHost::TxCreateCaret(HBITMAP bitmap, INT width, INT height) {
  if (!m_owner.IsFocused() || Window() == nullptr) return FALSE;
  m_caret = ::CreateCaret(Window(), bitmap, width, height) != FALSE;
  return m_caret ? TRUE : FALSE;
}

void CRichEditHost::DropCaret() {
  if (m_caret) ::DestroyCaret();
  m_caret = false;
}

BOOL CRichEditHost::TxShowCaret(BOOL show) {
  return show ? ::ShowCaret(Window()) : ::HideCaret(Window());
}

BOOL CRichEditHost::TxSetCaretPos(INT x, INT y) { return ::SetCaretPos(x, y); }

BOOL CRichEditHost::TxSetTimer(UINT id, UINT timeout) {
  IControlManagerUI* manager = m_owner.GetManagerInterface();
  return manager != nullptr && manager->SetTimer(&m_owner, id, timeout);
}

void CRichEditHost::TxKillTimer(UINT id) {
  if (IControlManagerUI* manager = m_owner.GetManagerInterface()) manager->KillTimer(&m_owner, id);
}

void CRichEditHost::TxScrollWindowEx(INT, INT, LPCRECT, LPCRECT, HRGN, LPRECT, UINT) {
  // The paint buffer is drawn again rather than moved.
  m_owner.Invalidate();
}

void CRichEditHost::TxSetCapture(BOOL capture) {
  HWND window = Window();
  if (window == nullptr) return;
  if (capture) {
    ::SetCapture(window);
  } else if (::GetCapture() == window) {
    ::ReleaseCapture();
  }
}

void CRichEditHost::TxSetFocus() { m_owner.SetFocus(); }

void CRichEditHost::TxSetCursor(HCURSOR cursor, BOOL) { ::SetCursor(cursor); }

BOOL CRichEditHost::TxScreenToClient(LPPOINT pt) { return ::ScreenToClient(Window(), pt); }

BOOL CRichEditHost::TxClientToScreen(LPPOINT pt) { return ::ClientToScreen(Window(), pt); }

HRESULT CRichEditHost::TxActivate(LONG* oldState) {
  if (oldState != nullptr) *oldState = 0;
  return S_OK;
}

HRESULT CRichEditHost::TxDeactivate(LONG) { return S_OK; }

HRESULT CRichEditHost::TxGetClientRect(LPRECT rc) {
  *rc = m_owner.TextRect();
  return S_OK;
}

HRESULT CRichEditHost::TxGetViewInset(LPRECT rc) {
  *rc = RECT{0, 0, 0, 0};
  return S_OK;
}

HRESULT CRichEditHost::TxGetCharFormat(const CHARFORMATW** format) {
  *format = reinterpret_cast<const CHARFORMATW*>(&m_charFormat);
  return S_OK;
}

HRESULT CRichEditHost::TxGetParaFormat(const PARAFORMAT** format) {
  *format = reinterpret_cast<const PARAFORMAT*>(&m_paraFormat);
  return S_OK;
}

COLORREF CRichEditHost::TxGetSysColor(int index) {
  if (index == COLOR_WINDOWTEXT) return m_charFormat.crTextColor;
  if (index == COLOR_GRAYTEXT && m_owner.m_disabledTextColor != 0) {
    return ToPlatformColor(m_owner.m_disabledTextColor);
  }
  if (index == COLOR_WINDOW && m_owner.GetBkColor() != 0) {
    return ToPlatformColor(m_owner.GetBkColor());
  }
  return ::GetSysColor(index);
}

HRESULT CRichEditHost::TxGetBackStyle(TXTBACKSTYLE* style) {
  // The control paints its own background (colours, images) under the text.
  *style = TXTBACK_TRANSPARENT;
  return S_OK;
}

HRESULT CRichEditHost::TxGetMaxLength(DWORD* length) {
  *length = m_owner.m_maxChar == 0 ? INFINITE : m_owner.m_maxChar;
  return S_OK;
}

HRESULT CRichEditHost::TxGetScrollBars(DWORD* scrollBars) {
  *scrollBars = RichEditScrollBars(m_owner.m_options, m_owner.GetVerticalScrollBar() != nullptr,
                                   m_owner.GetHorizontalScrollBar() != nullptr);
  return S_OK;
}

HRESULT CRichEditHost::TxGetPasswordChar(TCHAR* ch) {
  *ch = m_owner.m_passwordChar;
  return S_OK;
}

HRESULT CRichEditHost::TxGetAcceleratorPos(LONG* cp) {
  *cp = -1;
  return S_OK;
}

HRESULT CRichEditHost::TxGetExtent(LPSIZEL) { return E_NOTIMPL; }

HRESULT CRichEditHost::OnTxCharFormatChange(const CHARFORMATW*) { return S_OK; }

HRESULT CRichEditHost::OnTxParaFormatChange(const PARAFORMAT*) { return S_OK; }

HRESULT CRichEditHost::TxGetPropertyBits(DWORD mask, DWORD* bits) {
  *bits = RichEditPropertyBits(m_owner.m_options) & mask;
  return S_OK;
}

HRESULT CRichEditHost::TxNotify(DWORD notification, void*) {
  if (notification == EN_CHANGE) m_owner.CheckTextChanged();
  return S_OK;
}

HIMC CRichEditHost::TxImmGetContext() { return ImmContext(Window()); }

void CRichEditHost::TxImmReleaseContext(HIMC context) { ReleaseImmContext(Window(), context); }

HRESULT CRichEditHost::TxGetSelectionBarWidth(LONG* width) {
  *width = 0;
  return S_OK;
}

}  // namespace SkinUI
