// A small in-process COM control for the ActiveX host: a windowless class and a windowed class
// that fill their rectangle with one colour and switch to a second colour at each click. It
// notes what its container told it (client site, activation, rectangles, messages, close) and
// counts its live objects; both are readable through exported functions, so the toolkit's tests
// can check the host from the control's side. DllRegisterServer registers both classes for the
// current user only (HKCU\Software\Classes), DllUnregisterServer removes them; DllInstall
// does either for the current user or the machine.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include <cwchar>
#include <string>

namespace {

// {5E1A7C10-3B2D-4C8E-9F11-6A2B3C4D5E01} and ...02.
const CLSID kWindowlessClass = {0x5e1a7c10, 0x3b2d, 0x4c8e,
                                {0x9f, 0x11, 0x6a, 0x2b, 0x3c, 0x4d, 0x5e, 0x01}};
const CLSID kWindowedClass = {0x5e1a7c10, 0x3b2d, 0x4c8e,
                              {0x9f, 0x11, 0x6a, 0x2b, 0x3c, 0x4d, 0x5e, 0x02}};
const wchar_t* const kWindowlessProgId = L"Vesk.SampleControl";
const wchar_t* const kWindowedProgId = L"Vesk.SampleControl.Windowed";
const COLORREF kColors[2][2] = {{RGB(0x3C, 0x6F, 0xD8), RGB(0xE0, 0x8A, 0x1E)},   // windowless
                                {RGB(0x2E, 0xA0, 0x5A), RGB(0xC0, 0x39, 0x2B)}};  // windowed
const wchar_t* const kWindowClass = L"VeskSampleControlWindow";

HMODULE g_module = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;
std::wstring g_records;

void Record(const std::wstring& line) { g_records += line + L"\n"; }

std::wstring RectText(const RECT& rc) {
  wchar_t text[64];
  std::swprintf(text, 64, L"%ld,%ld,%ld,%ld", rc.left, rc.top, rc.right, rc.bottom);
  return text;
}

class SampleControl final : public IOleObject, public IOleInPlaceObjectWindowless,
                            public IOleInPlaceActiveObject, public IViewObject {
 public:
  explicit SampleControl(bool windowed) : m_windowed(windowed) { ::InterlockedIncrement(&g_objects); }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleObject) {
      *object = static_cast<IOleObject*>(this);
    } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject ||
               (iid == IID_IOleInPlaceObjectWindowless && !m_windowed)) {
      *object = static_cast<IOleInPlaceObjectWindowless*>(this);
    } else if (iid == IID_IOleInPlaceActiveObject && m_windowed) {
      *object = static_cast<IOleInPlaceActiveObject*>(this);
    } else if (iid == IID_IViewObject) {
      *object = static_cast<IViewObject*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ::InterlockedIncrement(&m_references); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG left = ::InterlockedDecrement(&m_references);
    if (left == 0) delete this;
    return left;
  }

  // IOleObject
  STDMETHODIMP SetClientSite(IOleClientSite* site) override {
    Record(site != nullptr ? L"site" : L"site none");
    if (site != nullptr) site->AddRef();
    if (m_site != nullptr) m_site->Release();
    m_site = site;
    return S_OK;
  }
  STDMETHODIMP GetClientSite(IOleClientSite** site) override {
    *site = m_site;
    if (m_site != nullptr) m_site->AddRef();
    return S_OK;
  }
  STDMETHODIMP SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  STDMETHODIMP Close(DWORD) override {
    Record(L"close");
    return InPlaceDeactivate();
  }
  STDMETHODIMP SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  STDMETHODIMP DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND, LPCRECT) override {
    if (verb != OLEIVERB_INPLACEACTIVATE && verb != OLEIVERB_SHOW) return OLEOBJ_E_NOVERBS;
    return Activate(site != nullptr ? site : m_site);
  }
  STDMETHODIMP EnumVerbs(IEnumOLEVERB**) override { return OLEOBJ_E_NOVERBS; }
  STDMETHODIMP Update() override { return S_OK; }
  STDMETHODIMP IsUpToDate() override { return S_OK; }
  STDMETHODIMP GetUserClassID(CLSID* clsid) override {
    *clsid = m_windowed ? kWindowedClass : kWindowlessClass;
    return S_OK;
  }
  STDMETHODIMP GetUserType(DWORD, LPOLESTR*) override { return OLE_S_USEREG; }
  STDMETHODIMP SetExtent(DWORD, SIZEL*) override { return S_OK; }
  STDMETHODIMP GetExtent(DWORD, SIZEL*) override { return E_NOTIMPL; }
  STDMETHODIMP Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unadvise(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  STDMETHODIMP GetMiscStatus(DWORD, DWORD* status) override {
    *status = OLEMISC_RECOMPOSEONRESIZE | OLEMISC_INSIDEOUT | OLEMISC_ACTIVATEWHENVISIBLE;
    return S_OK;
  }
  STDMETHODIMP SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IOleInPlaceObjectWindowless
  STDMETHODIMP GetWindow(HWND* window) override {
    *window = m_window;
    return m_window != nullptr ? S_OK : E_FAIL;
  }
  STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP InPlaceDeactivate() override {
    if (m_inPlaceSite == nullptr) return S_OK;
    Record(L"deactivate");
    if (m_window != nullptr) ::DestroyWindow(m_window);
    m_window = nullptr;
    m_inPlaceSite->OnInPlaceDeactivate();
    m_inPlaceSite->Release();
    m_inPlaceSite = nullptr;
    return S_OK;
  }
  STDMETHODIMP UIDeactivate() override { return S_OK; }
  STDMETHODIMP SetObjectRects(LPCRECT position, LPCRECT) override {
    m_rect = *position;
    Record(L"rects " + RectText(m_rect));
    if (m_window != nullptr) {
      ::MoveWindow(m_window, m_rect.left, m_rect.top, m_rect.right - m_rect.left,
                   m_rect.bottom - m_rect.top, TRUE);
    }
    return S_OK;
  }
  STDMETHODIMP ReactivateAndUndo() override { return E_NOTIMPL; }
  STDMETHODIMP OnWindowMessage(UINT message, WPARAM, LPARAM, LRESULT* result) override {
    Record(L"message " + std::to_wstring(message));
    *result = 0;
    if (message != WM_LBUTTONDOWN) return S_FALSE;
    Toggle();
    return S_OK;
  }
  STDMETHODIMP GetDropTarget(IDropTarget**) override { return E_NOTIMPL; }

  // IOleInPlaceActiveObject (the windowed class): the window holds two stops, so the first Tab
  // in it stays inside (S_OK) and the next one leaves it to the container.
  STDMETHODIMP TranslateAccelerator(LPMSG msg) override {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return S_FALSE;
    Record(L"accelerator " + std::to_wstring(msg->wParam));
    if (msg->wParam != VK_TAB) return S_FALSE;
    m_secondStop = !m_secondStop;
    return m_secondStop ? S_OK : S_FALSE;
  }
  STDMETHODIMP OnFrameWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP OnDocWindowActivate(BOOL) override { return S_OK; }
  STDMETHODIMP ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  STDMETHODIMP EnableModeless(BOOL) override { return S_OK; }

  // IViewObject
  STDMETHODIMP Draw(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                    BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override {
    if (dc == nullptr || bounds == nullptr) return E_INVALIDARG;
    const RECT rc = {bounds->left, bounds->top, bounds->right, bounds->bottom};
    Fill(dc, rc);
    return S_OK;
  }
  STDMETHODIMP GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
    return E_NOTIMPL;
  }
  STDMETHODIMP Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
  STDMETHODIMP Unfreeze(DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetAdvise(DWORD, DWORD, IAdviseSink*) override { return S_OK; }
  STDMETHODIMP GetAdvise(DWORD*, DWORD*, IAdviseSink**) override { return E_NOTIMPL; }

  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SampleControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == WM_LBUTTONDOWN) {
      Record(L"message " + std::to_wstring(message));
      self->Toggle();
      return 0;
    }
    RECT client;
    ::GetClientRect(window, &client);
    if (self != nullptr && message == WM_PAINT) {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window, &paint);
      self->Fill(dc, client);
      ::EndPaint(window, &paint);
      return 0;
    }
    if (self != nullptr && message == WM_PRINTCLIENT) {  // a picture of the window
      self->Fill(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  }

 private:
  ~SampleControl() {
    InPlaceDeactivate();
    if (m_site != nullptr) m_site->Release();
    ::InterlockedDecrement(&g_objects);
  }

  HRESULT Activate(IOleClientSite* site) {
    if (m_inPlaceSite != nullptr) return S_OK;
    if (site == nullptr) return E_UNEXPECTED;
    IOleInPlaceSiteWindowless* windowless = nullptr;
    if (!m_windowed &&
        SUCCEEDED(site->QueryInterface(IID_IOleInPlaceSiteWindowless,
                                       reinterpret_cast<void**>(&windowless)))) {
      BOOL noRedraw = FALSE;
      if (windowless->CanWindowlessActivate() == S_OK &&
          SUCCEEDED(windowless->OnInPlaceActivateEx(&noRedraw, ACTIVATE_WINDOWLESS))) {
        m_inPlaceSite = windowless;
        Record(L"activate windowless");
        return ContextRects();
      }
      windowless->Release();
    }
    IOleInPlaceSite* inPlace = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&inPlace)))) {
      return E_NOINTERFACE;
    }
    HWND parent = nullptr;
    if (inPlace->CanInPlaceActivate() != S_OK || FAILED(inPlace->GetWindow(&parent))) {
      inPlace->Release();
      return E_FAIL;
    }
    inPlace->OnInPlaceActivate();
    m_inPlaceSite = inPlace;
    const HRESULT hr = ContextRects();
    m_window = ::CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_CLIPSIBLINGS, m_rect.left,
                                 m_rect.top, m_rect.right - m_rect.left,
                                 m_rect.bottom - m_rect.top, parent, nullptr, g_module, nullptr);
    if (m_window == nullptr) return E_FAIL;
    ::SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Record(L"activate windowed");
    return hr;
  }

  // Asks the site for the window context: the position the control starts at.
  HRESULT ContextRects() {
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT clip;
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof(info);
    const HRESULT hr = m_inPlaceSite->GetWindowContext(&frame, &document, &m_rect, &clip, &info);
    if (frame != nullptr) frame->Release();
    if (document != nullptr) document->Release();
    Record(L"context " + RectText(m_rect));
    return hr;
  }

  void Toggle() {
    m_clicked = !m_clicked;
    if (m_window != nullptr) {
      ::InvalidateRect(m_window, nullptr, FALSE);
    } else {
      static_cast<IOleInPlaceSiteWindowless*>(m_inPlaceSite)->InvalidateRect(nullptr, FALSE);
    }
  }

  void Fill(HDC dc, const RECT& rc) const {
    HBRUSH brush = ::CreateSolidBrush(kColors[m_windowed ? 1 : 0][m_clicked ? 1 : 0]);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
  }

  LONG m_references = 1;
  const bool m_windowed;
  bool m_clicked = false;
  bool m_secondStop = false;
  IOleClientSite* m_site = nullptr;
  IOleInPlaceSite* m_inPlaceSite = nullptr;  // the windowless site when active windowless
  HWND m_window = nullptr;
  RECT m_rect = {0, 0, 0, 0};
};

class Factory final : public IClassFactory {
 public:
  explicit Factory(bool windowed) : m_windowed(windowed) {}
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = (iid == IID_IUnknown || iid == IID_IClassFactory) ? this : nullptr;
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // static objects
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* control = new SampleControl(m_windowed);
    const HRESULT hr = control->QueryInterface(iid, object);
    control->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ::InterlockedIncrement(&g_locks) : ::InterlockedDecrement(&g_locks);
    return S_OK;
  }

 private:
  const bool m_windowed;
};

Factory g_windowlessFactory(false);
Factory g_windowedFactory(true);

std::wstring GuidText(const CLSID& clsid) {
  wchar_t text[40];
  ::StringFromGUID2(clsid, text, 40);
  return text;
}

bool SetValue(HKEY root, const std::wstring& key, const wchar_t* name,
              const std::wstring& value) {
  return ::RegSetKeyValueW(root, key.c_str(), name, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
         ERROR_SUCCESS;
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &SampleControl::WindowProc;
    windowClass.hInstance = module;
    windowClass.lpszClassName = kWindowClass;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&windowClass);
  } else if (reason == DLL_PROCESS_DETACH) {
    ::UnregisterClassW(kWindowClass, module);
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (clsid == kWindowlessClass) return g_windowlessFactory.QueryInterface(iid, object);
  if (clsid == kWindowedClass) return g_windowedFactory.QueryInterface(iid, object);
  *object = nullptr;
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }

// Writes (or with `add` false deletes) both classes and their program ids under
// `root`\Software\Classes: HKEY_CURRENT_USER for the current user, HKEY_LOCAL_MACHINE for every
// user of the machine.
static HRESULT RegisterClasses(HKEY root, bool add) {
  wchar_t path[MAX_PATH * 4];
  const DWORD length = ::GetModuleFileNameW(g_module, path, MAX_PATH * 4);
  if (length == 0 || length >= MAX_PATH * 4) return SELFREG_E_CLASS;
  const struct {
    const CLSID& clsid;
    const wchar_t* progId;
  } classes[] = {{kWindowlessClass, kWindowlessProgId}, {kWindowedClass, kWindowedProgId}};
  for (const auto& entry : classes) {
    const std::wstring classKey = L"Software\\Classes\\CLSID\\" + GuidText(entry.clsid);
    const std::wstring progKey = std::wstring(L"Software\\Classes\\") + entry.progId;
    if (!add) {
      ::RegDeleteTreeW(root, classKey.c_str());
      ::RegDeleteTreeW(root, progKey.c_str());
    } else if (!SetValue(root, classKey, nullptr, entry.progId) ||
               !SetValue(root, classKey + L"\\InprocServer32", nullptr, path) ||
               !SetValue(root, classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment") ||
               !SetValue(root, classKey + L"\\ProgID", nullptr, entry.progId) ||
               !SetValue(root, progKey + L"\\CLSID", nullptr, GuidText(entry.clsid))) {
      return SELFREG_E_CLASS;
    }
  }
  return S_OK;
}

// regsvr32 registers the control for the current user only.
STDAPI DllRegisterServer() { return RegisterClasses(HKEY_CURRENT_USER, true); }
STDAPI DllUnregisterServer() { return RegisterClasses(HKEY_CURRENT_USER, false); }

// `regsvr32 /n /i:machine` registers it for every user of the machine (COM under Wine 8 reads no
// per-user classes); any other command line, for the current user.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  const bool machine = commandLine != nullptr && std::wcscmp(commandLine, L"machine") == 0;
  return RegisterClasses(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, install != FALSE);
}

// The number of control objects alive.
extern "C" LONG WINAPI SampleControlObjects() { return g_objects; }

// What the controls were told, one line a call ("site", "activate windowless", "rects l,t,r,b",
// "message 513", "close"...); valid until the next call into the library.
extern "C" const wchar_t* WINAPI SampleControlRecords() { return g_records.c_str(); }

extern "C" void WINAPI SampleControlClearRecords() { g_records.clear(); }
