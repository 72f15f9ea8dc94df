#include "uitoolkit/controls/hosted/ui_activex.h"

#include <ocidl.h>

#include "uitoolkit/controls/hosted/ui_activex_site.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/core/ui_log.h"

namespace SkinUI {
namespace {

template <class Interface>
void ReleaseInterface(Interface*& pointer) {
  if (pointer != nullptr) pointer->Release();
  pointer = nullptr;
}

WPARAM MouseKeyState(WORD keyState) {
  WPARAM bits = 0;
  if ((keyState & UIKEYSTATE_LBUTTON) != 0) bits |= MK_LBUTTON;
  if ((keyState & UIKEYSTATE_RBUTTON) != 0) bits |= MK_RBUTTON;
  if ((keyState & UIKEYSTATE_SHIFT) != 0) bits |= MK_SHIFT;
  if ((keyState & UIKEYSTATE_CONTROL) != 0) bits |= MK_CONTROL;
  return bits;
}

}  // namespace

bool ActiveXMessageForEvent(const TEventUI& event, UINT& message, WPARAM& wParam,
                            LPARAM& lParam) {
  static const struct {
    int type;
    UINT message;
  } kMessages[] = {
      {UIEVENT_MOUSEMOVE, WM_MOUSEMOVE},       {UIEVENT_BUTTONDOWN, WM_LBUTTONDOWN},
      {UIEVENT_BUTTONUP, WM_LBUTTONUP},        {UIEVENT_DBLCLICK, WM_LBUTTONDBLCLK},
      {UIEVENT_RBUTTONDOWN, WM_RBUTTONDOWN},   {UIEVENT_SCROLLWHEEL, WM_MOUSEWHEEL},
      {UIEVENT_KEYDOWN, WM_KEYDOWN},           {UIEVENT_KEYUP, WM_KEYUP},
      {UIEVENT_CHAR, WM_CHAR},                 {UIEVENT_SETFOCUS, WM_SETFOCUS},
      {UIEVENT_KILLFOCUS, WM_KILLFOCUS},
  };
  for (const auto& row : kMessages) {
    if (row.type != event.Type) continue;
    message = row.message;
    if (message == WM_MOUSEWHEEL) {
      // The manager tells the direction only (1: towards the user): one notch.
      const short delta = event.wParam != 0 ? -WHEEL_DELTA : WHEEL_DELTA;
      wParam = MAKEWPARAM(MouseKeyState(event.wKeyState), static_cast<WORD>(delta));
      lParam = MAKELPARAM(event.ptMouse.x, event.ptMouse.y);
    } else if (IsMouseEvent(event.Type)) {
      wParam = MouseKeyState(event.wKeyState);
      lParam = MAKELPARAM(event.ptMouse.x, event.ptMouse.y);
    } else if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
      wParam = 0;
      lParam = 0;
    } else {
      wParam = event.wParam != 0 ? event.wParam : static_cast<WPARAM>(event.chKey);
      lParam = event.lParam;
    }
    return true;
  }
  return false;
}

HRESULT ActiveXClassId(const wchar_t* text, CLSID& clsid) {
  if (text == nullptr || *text == L'\0') return REGDB_E_CLASSNOTREG;
  if (*text == L'{') return ::CLSIDFromString(text, &clsid);
  return ::CLSIDFromProgID(text, &clsid);
}

CActiveXUI::CActiveXUI() = default;

CActiveXUI::~CActiveXUI() { ReleaseControl(); }

const wchar_t* CActiveXUI::GetClass() const { return kClassName; }

void* CActiveXUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) {
    return this;
  }
  return CControlUI::GetInterface(name);
}

UINT CActiveXUI::GetControlFlags() const {
  return (IsWindowless() || m_hwndControl != nullptr) && IsEnabled() ? UIFLAG_TABSTOP : 0u;
}

HWND CActiveXUI::GetNativeWindow() const { return m_hwndControl; }

bool CActiveXUI::IsWindowless() const { return m_pSite != nullptr && m_pSite->IsWindowless(); }

HRESULT CActiveXUI::GetControl(REFIID iid, void** object) const {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  return m_pObject != nullptr ? m_pObject->QueryInterface(iid, object) : E_NOINTERFACE;
}

HWND CActiveXUI::HostWindow() const {
  return m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
}

RECT CActiveXUI::ClipRect() const {
  CUiRect clip(m_rcItem);
  if (!ClipToAncestors(clip, false)) clip = CUiRect();
  return clip;
}

void CActiveXUI::LogFailure(const wchar_t* what, HRESULT hr) const {
  CUiString line;
  line.Format(L"%ls \"%ls\": %ls (0x%08lX)", GetClass(), m_sName.GetData(), what,
              static_cast<unsigned long>(hr));
  LogLine(line.GetData());
}

bool CActiveXUI::CreateControl() {
  if (m_pObject != nullptr) return true;
  if (m_bCreateFailed || HostWindow() == nullptr) return false;
  m_bCreateFailed = true;  // one try: a failure is logged once and the host stays empty
  CLSID clsid = CLSID_NULL;
  HRESULT hr = S_OK;
  if (!m_sClsid.IsEmpty()) {
    hr = ActiveXClassId(m_sClsid.GetData(), clsid);
  } else if (DefaultClassId() != nullptr) {
    clsid = *DefaultClassId();
  } else {
    hr = REGDB_E_CLASSNOTREG;
  }
  if (FAILED(hr)) {
    LogFailure(L"unknown class", hr);
    return false;
  }
  if (!CanCreate()) return false;
  if (!ActivateControl(clsid)) {
    ReleaseControl();
    m_bCreateFailed = true;
    return false;
  }
  m_bCreateFailed = false;
  OnControlCreated();
  // Posted: a control created while its window is being built is announced once the window's
  // listeners are there.
  if (m_pManager != nullptr) m_pManager->SendNotify(this, L"showactivex", 0, 0, true);
  return m_pObject != nullptr;
}

bool CActiveXUI::ActivateControl(const CLSID& clsid) {
  m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
  m_pSite = new CActiveXSite(this);
  HRESULT hr = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  reinterpret_cast<void**>(&m_pObject));
  if (FAILED(hr)) {
    m_pObject = nullptr;
    LogFailure(L"cannot create the control", hr);
    return false;
  }
  DWORD status = 0;
  m_pObject->GetMiscStatus(DVASPECT_CONTENT, &status);
  const bool siteFirst = (status & OLEMISC_SETCLIENTSITEFIRST) != 0;
  if (siteFirst) m_pObject->SetClientSite(m_pSite);
  IPersistStreamInit* persist = nullptr;
  if (SUCCEEDED(m_pObject->QueryInterface(IID_IPersistStreamInit,
                                          reinterpret_cast<void**>(&persist)))) {
    persist->InitNew();
    persist->Release();
  }
  if (!siteFirst) m_pObject->SetClientSite(m_pSite);
  RECT rc = m_rcItem;
  hr = m_pObject->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, m_pSite, 0, HostWindow(), &rc);
  if (FAILED(hr)) {
    LogFailure(L"cannot activate the control", hr);
    return false;
  }
  m_pObject->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&m_pInPlace));
  m_pObject->QueryInterface(IID_IViewObject, reinterpret_cast<void**>(&m_pView));
  if (m_pSite->IsWindowless()) {
    m_pObject->QueryInterface(IID_IOleInPlaceObjectWindowless,
                              reinterpret_cast<void**>(&m_pWindowless));
  } else if (m_pInPlace != nullptr && SUCCEEDED(m_pInPlace->GetWindow(&m_hwndControl))) {
    if (m_pManager != nullptr) {
      m_pManager->AddNativeWindow(this, m_hwndControl);
      if (SUCCEEDED(m_pObject->QueryInterface(IID_IOleInPlaceActiveObject,
                                              reinterpret_cast<void**>(&m_pActive)))) {
        m_pManager->AddTranslateAccelerator(this);
      }
    }
  } else {
    m_hwndControl = nullptr;
  }
  PlaceControl();
  Invalidate();
  return true;
}

void CActiveXUI::ReleaseControl() {
  if (m_pObject != nullptr) OnControlReleasing();
  if (m_hwndControl != nullptr && m_pManager != nullptr) {
    m_pManager->RemoveNativeWindow(m_hwndControl);
    if (m_pActive != nullptr) m_pManager->RemoveTranslateAccelerator(this);
  }
  m_hwndControl = nullptr;
  if (m_pInPlace != nullptr) m_pInPlace->InPlaceDeactivate();
  if (m_pObject != nullptr) {
    m_pObject->Close(OLECLOSE_NOSAVE);
    m_pObject->SetClientSite(nullptr);
  }
  ReleaseInterface(m_pActive);
  ReleaseInterface(m_pWindowless);
  ReleaseInterface(m_pView);
  ReleaseInterface(m_pInPlace);
  ReleaseInterface(m_pObject);
  if (m_pSite != nullptr) {
    if (m_pSite->HasCapture()) m_pSite->SetCapture(FALSE);
    m_pSite->Detach();
    m_pSite->Release();
    m_pSite = nullptr;
  }
  if (m_bOleInitialized) ::OleUninitialize();
  m_bOleInitialized = false;
  m_bCreateFailed = false;
}

void CActiveXUI::CreateWhenDue() {
  if (m_bAutoCreated || HostWindow() == nullptr) return;
  if (m_bDelayCreate && (!IsVisible() || m_rcItem.IsEmpty())) return;
  m_bAutoCreated = true;
  CreateControl();
}

void CActiveXUI::PlaceControl() {
  if (m_pInPlace != nullptr) {
    const RECT clip = ClipRect();
    m_pInPlace->SetObjectRects(&m_rcItem, &clip);
  }
  if (m_hwndControl != nullptr) {
    // The window's own visibility bit: IsWindowVisible also answers false while the host's
    // window is not shown yet.
    const bool shown = IsVisible() && !m_rcItem.IsEmpty();
    const bool visible = (::GetWindowLongPtrW(m_hwndControl, GWL_STYLE) & WS_VISIBLE) != 0;
    if (shown != visible) {
      ::ShowWindow(m_hwndControl, shown ? SW_SHOWNA : SW_HIDE);
    }
  }
}

void CActiveXUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (NameIs(name, L"clsid")) {
    SetClsid(value);
  } else if (NameIs(name, L"delaycreate")) {
    SetDelayCreate(ParseBoolValue(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CActiveXUI::DoInit() {
  CControlUI::DoInit();
  CreateWhenDue();
}

void CActiveXUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  CreateWhenDue();
  PlaceControl();
}

void CActiveXUI::Move(SIZE offset, bool needInvalidate) {
  CControlUI::Move(offset, needInvalidate);
  PlaceControl();
}

void CActiveXUI::SetVisible(bool visible) {
  CControlUI::SetVisible(visible);
  PlaceControl();
}

void CActiveXUI::SetInternVisible(bool visible) {
  CControlUI::SetInternVisible(visible);
  PlaceControl();
}

LRESULT CActiveXUI::TranslateAccelerator(MSG* msg) {
  if (m_pActive == nullptr || msg == nullptr || msg->message < WM_KEYFIRST ||
      msg->message > WM_KEYLAST ||
      (msg->hwnd != m_hwndControl && !::IsChild(m_hwndControl, msg->hwnd))) {
    return S_FALSE;
  }
  return m_pActive->TranslateAccelerator(msg) == S_OK ? S_OK : S_FALSE;
}

void CActiveXUI::DoEvent(TEventUI& event) {
  if (event.Type == UIEVENT_SETFOCUS && m_hwndControl != nullptr && IsEnabled()) {
    // The keyboard focus goes into the control's window unless it is there already.
    const HWND focus = ::GetFocus();
    if (focus != m_hwndControl && !::IsChild(m_hwndControl, focus)) ::SetFocus(m_hwndControl);
  }
  if (m_pWindowless != nullptr && IsEnabled()) {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    if (event.Type == UIEVENT_BUTTONDOWN || event.Type == UIEVENT_DBLCLICK) SetFocus();
    if (ActiveXMessageForEvent(event, message, wParam, lParam)) {
      LRESULT result = 0;
      if (m_pWindowless->OnWindowMessage(message, wParam, lParam, &result) == S_OK &&
          event.Type != UIEVENT_SETFOCUS && event.Type != UIEVENT_KILLFOCUS) {
        return;
      }
    }
  }
  CControlUI::DoEvent(event);
}

void CActiveXUI::PaintStatusImage(HDC hDC) {
  CControlUI::PaintStatusImage(hDC);
  if (m_pView == nullptr || m_pWindowless == nullptr) return;
  const RECTL bounds = {m_rcItem.left, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
  m_pView->Draw(DVASPECT_CONTENT, -1, nullptr, nullptr, nullptr, hDC, &bounds, nullptr, nullptr, 0);
}

}  // namespace SkinUI
