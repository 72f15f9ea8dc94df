#include "uitoolkit/controls/hosted/ui_web_browser.h"

#include <exdispid.h>
#include <ocidl.h>

#include "common/system_libraries.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/core/ui_log.h"

namespace SkinUI {
namespace {

// The argument `index` counted from the first one the event declares (the browser passes them
// last first), with a by-reference variant followed; null when there is no such argument.
const VARIANT* Argument(const DISPPARAMS* params, UINT count, UINT index) {
  if (params == nullptr || params->cArgs != count || params->rgvarg == nullptr) return nullptr;
  const VARIANT* arg = &params->rgvarg[count - 1 - index];
  if (arg->vt == (VT_BYREF | VT_VARIANT) && arg->pvarVal != nullptr) arg = arg->pvarVal;
  return arg;
}

const wchar_t* ArgumentText(const DISPPARAMS* params, UINT count, UINT index) {
  const VARIANT* arg = Argument(params, count, index);
  if (arg == nullptr) return L"";
  if (arg->vt == VT_BSTR && arg->bstrVal != nullptr) return arg->bstrVal;
  if (arg->vt == (VT_BYREF | VT_BSTR) && arg->pbstrVal != nullptr && *arg->pbstrVal != nullptr) {
    return *arg->pbstrVal;
  }
  return L"";
}

long ArgumentLong(const DISPPARAMS* params, UINT count, UINT index) {
  const VARIANT* arg = Argument(params, count, index);
  if (arg == nullptr) return 0;
  if (arg->vt == VT_I4 || arg->vt == VT_INT) return arg->lVal;
  if (arg->vt == VT_BOOL) return arg->boolVal != VARIANT_FALSE ? 1 : 0;
  return 0;
}

// Runs `ask` with a cancel flag and writes the answer into the event's VARIANT_BOOL* argument.
template <class Ask>
void WithCancel(DISPPARAMS* params, UINT count, UINT index, Ask ask) {
  bool cancel = false;
  ask(cancel);
  const VARIANT* arg = Argument(params, count, index);
  if (arg != nullptr && arg->vt == (VT_BYREF | VT_BOOL) && arg->pboolVal != nullptr) {
    *arg->pboolVal = cancel ? VARIANT_TRUE : VARIANT_FALSE;
  }
}

}  // namespace

bool DispatchWebBrowserEvent(DISPID dispid, DISPPARAMS* params, CWebBrowserUI* browser,
                             IWebBrowserEventHandlerUI& handler) {
  switch (dispid) {
    case DISPID_BEFORENAVIGATE2:  // (frame, url, flags, target, post data, headers, cancel)
      WithCancel(params, 7, 6, [&](bool& cancel) {
        handler.BeforeNavigate2(browser, ArgumentText(params, 7, 1), cancel);
      });
      return true;
    case DISPID_NAVIGATECOMPLETE2:  // (frame, url)
      handler.NavigateComplete2(browser, ArgumentText(params, 2, 1));
      return true;
    case DISPID_DOCUMENTCOMPLETE:  // (frame, url)
      handler.DocumentComplete(browser, ArgumentText(params, 2, 1));
      return true;
    case DISPID_NAVIGATEERROR:  // (frame, url, target, status, cancel)
      WithCancel(params, 5, 4, [&](bool& cancel) {
        handler.NavigateError(browser, ArgumentText(params, 5, 1), ArgumentLong(params, 5, 3),
                              cancel);
      });
      return true;
    case DISPID_TITLECHANGE:  // (text)
      handler.TitleChange(browser, ArgumentText(params, 1, 0));
      return true;
    case DISPID_NEWWINDOW2:  // (new browser, cancel)
      WithCancel(params, 2, 1, [&](bool& cancel) { handler.NewWindow(browser, L"", cancel); });
      return true;
    case DISPID_NEWWINDOW3:  // (new browser, cancel, flags, opener's url, url)
      WithCancel(params, 5, 1, [&](bool& cancel) {
        handler.NewWindow(browser, ArgumentText(params, 5, 4), cancel);
      });
      return true;
    case DISPID_COMMANDSTATECHANGE:  // (command, enabled)
      handler.CommandStateChange(browser, ArgumentLong(params, 2, 0),
                                 ArgumentLong(params, 2, 1) != 0);
      return true;
    default:
      return false;
  }
}

// The connection point sink of DWebBrowserEvents2: passes the events to the browser host's
// handler while it is attached.
class CWebBrowserEvents final : public IDispatch {
 public:
  explicit CWebBrowserEvents(CWebBrowserUI* browser) : m_browser(browser) {}
  void Detach() { m_browser = nullptr; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != DIID_DWebBrowserEvents2) {
      return E_NOINTERFACE;
    }
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    return static_cast<ULONG>(::InterlockedIncrement(&m_references));
  }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (count != nullptr) *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                      EXCEPINFO*, UINT*) override {
    IWebBrowserEventHandlerUI* handler =
        m_browser != nullptr ? m_browser->GetWebBrowserEventHandler() : nullptr;
    if (handler != nullptr) DispatchWebBrowserEvent(dispid, params, m_browser, *handler);
    return S_OK;
  }

 private:
  ~CWebBrowserEvents() = default;
  LONG m_references = 1;
  CWebBrowserUI* m_browser;
};

CWebBrowserUI::~CWebBrowserUI() {
  // The browser's events must stop reaching this object before it goes.
  ReleaseControl();
}

const wchar_t* CWebBrowserUI::GetClass() const { return kClassName; }

void* CWebBrowserUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) {
    return this;
  }
  return CActiveXUI::GetInterface(name);
}

void CWebBrowserUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (NameIs(name, L"homepage")) {
    SetHomePage(value);
  } else {
    CActiveXUI::SetAttribute(name, value);
  }
}

bool CWebBrowserUI::CanCreate() {
  // The browser control renders with the system's HTML engine. Without it the browser object
  // may still be created and fail on the first page, so the engine is checked first.
  HMODULE engine = vesk::LoadSystemLibrary(L"mshtml.dll");
  if (engine == nullptr) {
    CUiString line;
    line.Format(L"WebBrowser \"%ls\": the browser engine (mshtml.dll) is not available (%lu)",
                m_sName.GetData(), static_cast<unsigned long>(::GetLastError()));
    LogLine(line.GetData());
    return false;
  }
  ::FreeLibrary(engine);
  return true;
}

void CWebBrowserUI::OnControlCreated() {
  if (FAILED(GetControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pBrowser)))) {
    m_pBrowser = nullptr;
    return;
  }
  IConnectionPointContainer* container = nullptr;
  if (SUCCEEDED(GetControl(IID_IConnectionPointContainer,
                           reinterpret_cast<void**>(&container)))) {
    if (SUCCEEDED(container->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_pConnection))) {
      m_pEvents = new CWebBrowserEvents(this);
      if (FAILED(m_pConnection->Advise(m_pEvents, &m_dwCookie))) m_dwCookie = 0;
    }
    container->Release();
  }
  if (!m_sHomePage.IsEmpty()) Navigate(m_sHomePage.GetData());
}

void CWebBrowserUI::OnControlReleasing() {
  if (m_pConnection != nullptr) {
    if (m_dwCookie != 0) m_pConnection->Unadvise(m_dwCookie);
    m_pConnection->Release();
    m_pConnection = nullptr;
    m_dwCookie = 0;
  }
  if (m_pEvents != nullptr) {
    m_pEvents->Detach();
    m_pEvents->Release();
    m_pEvents = nullptr;
  }
  if (m_pBrowser != nullptr) {
    m_pBrowser->Release();
    m_pBrowser = nullptr;
  }
}

bool CWebBrowserUI::Navigate(const wchar_t* url) {
  if (m_pBrowser == nullptr || url == nullptr) return false;
  BSTR address = ::SysAllocString(url);
  VARIANT empty;
  ::VariantInit(&empty);
  const HRESULT hr = m_pBrowser->Navigate(address, &empty, &empty, &empty, &empty);
  ::SysFreeString(address);
  return SUCCEEDED(hr);
}

bool CWebBrowserUI::GoBack() { return m_pBrowser != nullptr && SUCCEEDED(m_pBrowser->GoBack()); }

bool CWebBrowserUI::GoForward() {
  return m_pBrowser != nullptr && SUCCEEDED(m_pBrowser->GoForward());
}

bool CWebBrowserUI::Refresh() { return m_pBrowser != nullptr && SUCCEEDED(m_pBrowser->Refresh()); }

}  // namespace SkinUI
