#include "uitoolkit/controls/hosted/ui_activex_site.h"

#include <olectl.h>

#include "uitoolkit/controls/hosted/ui_activex.h"

namespace SkinUI {

bool AmbientProperty(DISPID dispid, OLE_COLOR backColor, VARIANT* value) {
  ::VariantInit(value);
  switch (dispid) {
    case DISPID_AMBIENT_USERMODE:
      value->vt = VT_BOOL;
      value->boolVal = VARIANT_TRUE;
      return true;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWHATCHING:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_MESSAGEREFLECT:
      value->vt = VT_BOOL;
      value->boolVal = VARIANT_FALSE;
      return true;
    case DISPID_AMBIENT_BACKCOLOR:
      value->vt = VT_I4;
      value->lVal = static_cast<LONG>(backColor);
      return true;
    case DISPID_AMBIENT_LOCALEID:
      value->vt = VT_I4;
      value->lVal = static_cast<LONG>(::GetUserDefaultLCID());
      return true;
    default:
      return false;
  }
}

STDMETHODIMP CActiveXSite::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (iid == IID_IUnknown || iid == IID_IOleClientSite) {
    *object = static_cast<IOleClientSite*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite ||
             iid == IID_IOleInPlaceSiteEx || iid == IID_IOleInPlaceSiteWindowless) {
    *object = static_cast<IOleInPlaceSiteWindowless*>(this);
  } else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame) {
    *object = static_cast<IOleInPlaceFrame*>(this);
  } else if (iid == IID_IOleControlSite) {
    *object = static_cast<IOleControlSite*>(this);
  } else if (iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) CActiveXSite::AddRef() {
  return static_cast<ULONG>(::InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) CActiveXSite::Release() {
  const LONG left = ::InterlockedDecrement(&m_references);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HWND CActiveXSite::HostWindow() const { return m_host != nullptr ? m_host->HostWindow() : nullptr; }

STDMETHODIMP CActiveXSite::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
  if (moniker != nullptr) *moniker = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::GetContainer(IOleContainer** container) {
  if (container != nullptr) *container = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP CActiveXSite::GetWindow(HWND* window) {
  if (window == nullptr) return E_POINTER;
  *window = HostWindow();
  return *window != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXSite::CanInPlaceActivate() {
  return HostWindow() != nullptr ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXSite::OnInPlaceActivate() {
  m_windowless = false;
  return m_host != nullptr ? S_OK : E_UNEXPECTED;
}

STDMETHODIMP CActiveXSite::OnInPlaceActivateEx(BOOL* noRedraw, DWORD flags) {
  if (noRedraw != nullptr) *noRedraw = FALSE;
  if (m_host == nullptr) return E_UNEXPECTED;
  m_windowless = (flags & ACTIVATE_WINDOWLESS) != 0;
  return S_OK;
}

STDMETHODIMP CActiveXSite::OnInPlaceDeactivate() {
  m_windowless = false;
  return S_OK;
}

STDMETHODIMP CActiveXSite::GetWindowContext(IOleInPlaceFrame** frame,
                                            IOleInPlaceUIWindow** document, LPRECT position,
                                            LPRECT clip, LPOLEINPLACEFRAMEINFO frameInfo) {
  if (frame == nullptr || document == nullptr || position == nullptr || clip == nullptr ||
      frameInfo == nullptr) {
    return E_POINTER;
  }
  *frame = nullptr;
  *document = nullptr;
  if (m_host == nullptr) return E_UNEXPECTED;
  *frame = this;
  AddRef();
  *position = m_host->GetPos();
  *clip = m_host->ClipRect();
  frameInfo->cb = sizeof(OLEINPLACEFRAMEINFO);
  frameInfo->fMDIApp = FALSE;
  frameInfo->hwndFrame = HostWindow();
  frameInfo->haccel = nullptr;
  frameInfo->cAccelEntries = 0;
  return S_OK;
}

STDMETHODIMP CActiveXSite::OnPosRectChange(LPCRECT) {
  // The layout decides the rectangle: the control is told it again.
  if (m_host != nullptr) m_host->PlaceControl();
  return S_OK;
}

STDMETHODIMP CActiveXSite::SetCapture(BOOL capture) {
  HWND window = HostWindow();
  if (window == nullptr) return E_UNEXPECTED;
  m_capture = capture != FALSE;
  if (m_capture) {
    ::SetCapture(window);
  } else if (::GetCapture() == window) {
    ::ReleaseCapture();
  }
  return S_OK;
}

STDMETHODIMP CActiveXSite::GetFocus() {
  return m_host != nullptr && m_host->IsFocused() ? S_OK : S_FALSE;
}

STDMETHODIMP CActiveXSite::SetFocus(BOOL focus) {
  if (m_host == nullptr) return E_UNEXPECTED;
  if (focus) m_host->SetFocus();
  return S_OK;
}

STDMETHODIMP CActiveXSite::GetDC(LPCRECT, DWORD, HDC* dc) {
  if (dc == nullptr) return E_POINTER;
  HWND window = HostWindow();
  *dc = window != nullptr ? ::GetDC(window) : nullptr;
  return *dc != nullptr ? S_OK : E_FAIL;
}

STDMETHODIMP CActiveXSite::ReleaseDC(HDC dc) {
  HWND window = HostWindow();
  if (window == nullptr) return E_UNEXPECTED;
  ::ReleaseDC(window, dc);
  return S_OK;
}

STDMETHODIMP CActiveXSite::InvalidateRect(LPCRECT rect, BOOL) {
  if (m_host == nullptr) return E_UNEXPECTED;
  CUiRect area(m_host->GetPos());
  if (rect != nullptr) area.Intersect(CUiRect(*rect));
  if (m_host->GetManagerInterface() != nullptr) m_host->GetManagerInterface()->Invalidate(area);
  return S_OK;
}

STDMETHODIMP CActiveXSite::OnDefWindowMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                              LRESULT* result) {
  if (result == nullptr) return E_POINTER;
  HWND window = HostWindow();
  *result = window != nullptr ? ::DefWindowProcW(window, message, wParam, lParam) : 0;
  return S_OK;
}

STDMETHODIMP CActiveXSite::GetExtendedControl(IDispatch** object) {
  if (object != nullptr) *object = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP CActiveXSite::OnFocus(BOOL focus) {
  if (m_host != nullptr && focus) m_host->SetFocus();
  return S_OK;
}

STDMETHODIMP CActiveXSite::GetTypeInfoCount(UINT* count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP CActiveXSite::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS*,
                                  VARIANT* result, EXCEPINFO*, UINT*) {
  if (result == nullptr) return E_POINTER;
  if (m_host == nullptr) return DISP_E_MEMBERNOTFOUND;
  // The background without its alpha, as the COLORREF an OLE colour is.
  const DWORD argb = m_host->GetBkColor();
  const OLE_COLOR back = RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  return AmbientProperty(dispid, back, result) ? S_OK : DISP_E_MEMBERNOTFOUND;
}

}  // namespace SkinUI
