#include "uitoolkit/window/ui_paint_manager.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_image_preload.h"
#include "uitoolkit/core/ui_image_sources.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_value_parsing.h"
#include "uitoolkit/window/ui_accessible.h"

namespace SkinUI {
namespace {

HINSTANCE g_instance = nullptr;

struct THslState {
  bool useHSL = false;
  short hue = 180;
  short saturation = 100;
  short lightness = 100;
};
THslState g_hsl;

CUiString IdKey(int id) {
  CUiString key;
  key.Format(L"%d", id);
  return key;
}

bool NameIsNoCase(const wchar_t* name, const wchar_t* expected) {
  return CUiString(name).CompareNoCase(expected) == 0;
}

bool NameIsExact(const wchar_t* name, const wchar_t* expected) {
  return std::wcscmp(name, expected) == 0;
}

CControlUI* FindControlFromNameHash(CControlUI* control, void* data) {
  static_cast<CControlNameTable*>(data)->Add(control->GetName(), control);
  return nullptr;  // visit every control
}

CControlUI* FindControlFromPoint(CControlUI* control, void*) { return control; }

CControlUI* FindControlFromUpdate(CControlUI* control, void*) {
  return control->IsUpdateNeeded() ? control : nullptr;
}

// Paints the manager's tree for CRenderEngine::GenerateBitmap.
class CTreePainter : public IRenderPainter {
 public:
  CTreePainter(CPaintManagerUI& manager, const RECT& rcClient)
      : m_manager(manager), m_rcClient(rcClient) {}
  void PaintInto(HDC hDC, const RECT& rcPaint) override {
    m_manager.Render(hDC, m_rcClient, rcPaint);
  }

 private:
  CPaintManagerUI& m_manager;
  RECT m_rcClient;
};

}  // namespace

CPaintManagerUI::CPaintManagerUI() : m_accessibles(std::make_unique<CAccessibleTable>(*this)) {
  const TResourceSet& shared = SharedResources();
  m_resources.dwDefaultDisabledColor = shared.dwDefaultDisabledColor;
  m_resources.dwDefaultFontColor = shared.dwDefaultFontColor;
  m_resources.dwDefaultLinkFontColor = shared.dwDefaultLinkFontColor;
  m_resources.dwDefaultLinkHoverFontColor = shared.dwDefaultLinkHoverFontColor;
  m_resources.dwDefaultSelectedBkColor = shared.dwDefaultSelectedBkColor;
}

CPaintManagerUI::~CPaintManagerUI() {
  std::vector<CPaintManagerUI*>& managers = PreMessages();
  managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
  RemoveAllTimers();
  if (m_hDcPaint != nullptr && ::IsWindow(m_hWndPaint)) ::ReleaseDC(m_hWndPaint, m_hDcPaint);
  DeleteDelayedCleanup();
  m_aAsyncNotify.clear();
  if (m_pRoot != nullptr) {
    CControlUI* root = m_pRoot;
    m_pRoot = nullptr;
    root->Delete();
  }
}

// ---- Process-wide state ----

TResourceSet& CPaintManagerUI::SharedResources() {
  // Made by the first manager: the default colours of TResourceSet and the system's default GUI
  // font with the default character set.
  static TResourceSet* shared = [] {
    TResourceSet* resources = new TResourceSet();
    LOGFONTW lf = {};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    TFontInfo& font = resources->defaultFont;
    font.hFont.reset(::CreateFontIndirectW(&lf));
    font.sFontName = lf.lfFaceName;
    font.iSize = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    font.bBold = lf.lfWeight >= FW_BOLD;
    font.bUnderline = lf.lfUnderline != 0;
    font.bItalic = lf.lfItalic != 0;
    return resources;
  }();
  return *shared;
}

CUiStringTable& CPaintManagerUI::MultiLanguageStrings() {
  static CUiStringTable* strings = new CUiStringTable();
  return *strings;
}

HINSTANCE CPaintManagerUI::GetInstance() { return g_instance; }

void CPaintManagerUI::SetInstance(HINSTANCE instance) { g_instance = instance; }

CUiString CPaintManagerUI::GetInstancePath() {
  if (g_instance == nullptr) return CUiString();
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = ::GetModuleFileNameW(g_instance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return CUiString();
  CUiString folder(path);
  return folder.Left(folder.ReverseFind(L'\\') + 1);
}

HINSTANCE CPaintManagerUI::GetResourceDll() {
  HINSTANCE module = CImageSources::GetResourceModule();
  return module != nullptr ? module : g_instance;
}

void CPaintManagerUI::SetResourceDll(HINSTANCE instance) {
  CImageSources::SetResourceModule(instance);
}

const CUiString& CPaintManagerUI::GetResourcePath() { return CResourceFiles::GetResourcePath(); }

void CPaintManagerUI::SetResourcePath(const wchar_t* path) { CResourceFiles::SetResourcePath(path); }

const CUiString& CPaintManagerUI::GetResourceZip() { return CResourceFiles::GetResourceZip(); }

void CPaintManagerUI::SetResourceZip(const wchar_t* zipName, bool cached) {
  CResourceFiles::SetResourceZip(zipName, cached);
}

void CPaintManagerUI::SetResourceZip(const void* data, std::size_t size) {
  CResourceFiles::SetResourceZip(data, size);
}

bool CPaintManagerUI::IsCachedResourceZip() {
  return CResourceFiles::GetCachedResourceZip() != nullptr;
}

void CPaintManagerUI::Term() { CResourceFiles::CloseResourceZip(); }

void CPaintManagerUI::AddMultiLanguageString(int id, const wchar_t* text) {
  if (id < 0 || text == nullptr) return;
  MultiLanguageStrings().Set(IdKey(id), text);
}

bool CPaintManagerUI::RemoveMultiLanguageString(int id) {
  return MultiLanguageStrings().Remove(IdKey(id));
}

void CPaintManagerUI::RemoveAllMultiLanguageString() { MultiLanguageStrings().RemoveAll(); }

const wchar_t* CPaintManagerUI::GetMultiLanguageString(int id) {
  return MultiLanguageStrings().Find(IdKey(id));
}

std::vector<LPCREATECONTROL>& CPaintManagerUI::GetPlugins() {
  static std::vector<LPCREATECONTROL>* plugins = new std::vector<LPCREATECONTROL>();
  return *plugins;
}

bool CPaintManagerUI::LoadPlugin(const wchar_t* path) {
  if (path == nullptr || *path == L'\0') return false;
  const CUiString fullPath = PluginPath(path);
  if (fullPath.IsEmpty()) return false;
  // Only the named file; what it imports comes from its own folder and the system folder.
  vesk::UniqueModule module(::LoadLibraryExW(
      fullPath, nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32));
  if (!module) return false;
  void* exported = reinterpret_cast<void*>(::GetProcAddress(module.get(), "CreateControl"));
  const LPCREATECONTROL factory = reinterpret_cast<LPCREATECONTROL>(exported);
  if (factory == nullptr) return false;
  std::vector<LPCREATECONTROL>& plugins = GetPlugins();
  if (std::find(plugins.begin(), plugins.end(), factory) == plugins.end()) {
    plugins.push_back(factory);
    module.release();  // the factory must stay callable
  }
  return true;
}

CUiString CPaintManagerUI::PluginPath(const wchar_t* path) {
  // A full path (drive and backslash, or a network path) is taken as it is.
  const bool drivePath = path[0] != L'\0' && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  const bool networkPath = path[0] == L'\\' && path[1] == L'\\';
  if (drivePath || networkPath) return CUiString(path);
  // Anything else is a name in the program's own folder, never a search.
  if (path[0] == L'\\' || path[0] == L'/' || path[1] == L':') return CUiString();
  wchar_t program[MAX_PATH + 1] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return CUiString();
  CUiString folder(program);
  const CUiString fullPath = folder.Left(folder.ReverseFind(L'\\') + 1) + path;
  return fullPath.GetLength() < MAX_PATH ? fullPath : CUiString();
}

void CPaintManagerUI::SetHSL(bool useHSL, short hue, short saturation, short lightness) {
  g_hsl = THslState{useHSL, hue, saturation, lightness};
  if (!useHSL) {
    hue = 180;
    saturation = 100;
    lightness = 100;
  }
  SharedResources().images.AdjustImages(hue, saturation, lightness);
}

void CPaintManagerUI::GetHSL(short* hue, short* saturation, short* lightness) {
  const bool use = g_hsl.useHSL;
  if (hue != nullptr) *hue = use ? g_hsl.hue : 180;
  if (saturation != nullptr) *saturation = use ? g_hsl.saturation : 100;
  if (lightness != nullptr) *lightness = use ? g_hsl.lightness : 100;
}

// ---- Window settings ----

void CPaintManagerUI::SetInitSize(int cx, int cy) {
  m_szInitWindowSize = SIZE{cx, cy};
  if (m_pRoot == nullptr && m_hWndPaint != nullptr) {
    ::SetWindowPos(m_hWndPaint, nullptr, 0, 0, cx, cy,
                   SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
  }
}

void CPaintManagerUI::SetOpacity(BYTE opacity) {
  m_nOpacity = opacity;
  if (m_hWndPaint == nullptr) return;
  // Constant alpha for the whole window; per-pixel layered painting is switched off.
  typedef BOOL(WINAPI * SetLayeredAttributesProc)(HWND, COLORREF, BYTE, DWORD);
  static const SetLayeredAttributesProc setAttributes = reinterpret_cast<SetLayeredAttributesProc>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"),
                                               "SetLayeredWindowAttributes")));
  if (setAttributes == nullptr) return;
  SetLayered(false);
  const LONG_PTR style = ::GetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE);
  ::SetWindowLongPtrW(m_hWndPaint, GWL_EXSTYLE, style | WS_EX_LAYERED);
  setAttributes(m_hWndPaint, 0, opacity, LWA_ALPHA);
  ::InvalidateRect(m_hWndPaint, nullptr, FALSE);
}

void CPaintManagerUI::SetWindowAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr || value == nullptr) return;
  if (NameIsNoCase(name, L"size")) {
    const SIZE size = ParseSizeValue(value);
    SetInitSize(size.cx, size.cy);
  } else if (NameIsNoCase(name, L"sizebox")) {
    SetSizeBox(ParseRectValue(value));
  } else if (NameIsNoCase(name, L"caption")) {
    SetCaptionRect(ParseRectValue(value));
  } else if (NameIsNoCase(name, L"roundcorner")) {
    const SIZE size = ParseSizeValue(value);
    SetRoundCorner(size.cx, size.cy);
  } else if (NameIsNoCase(name, L"mininfo")) {
    const SIZE size = ParseSizeValue(value);
    SetMinInfo(size.cx, size.cy);
  } else if (NameIsNoCase(name, L"maxinfo")) {
    const SIZE size = ParseSizeValue(value);
    SetMaxInfo(size.cx, size.cy);
  } else if (NameIsNoCase(name, L"showdirty")) {
    SetShowUpdateRect(NameIsNoCase(value, L"true"));
  } else if (NameIsExact(name, L"noactivate")) {
    SetNoActivate(NameIsNoCase(value, L"true"));
  } else if (NameIsNoCase(name, L"opacity")) {
    SetOpacity(static_cast<BYTE>(ParseDecimal(value)));
  } else if (NameIsExact(name, L"layeredopacity")) {
    m_painter.SetLayeredOpacity(static_cast<BYTE>(ParseDecimal(value)));
  } else if (NameIsExact(name, L"layeredimage")) {
    m_painter.SetLayeredImage(value);
  } else if (NameIsNoCase(name, L"defaultbutton")) {
    SetDefaultButton(value);
  } else if (NameIsNoCase(name, L"disabledfontcolor")) {
    SetDefaultDisabledColor(ParseColor(value));
  } else if (NameIsNoCase(name, L"defaultfontcolor")) {
    SetDefaultFontColor(ParseColor(value));
  } else if (NameIsNoCase(name, L"linkfontcolor")) {
    SetDefaultLinkFontColor(ParseColor(value));
  } else if (NameIsNoCase(name, L"linkhoverfontcolor")) {
    SetDefaultLinkHoverFontColor(ParseColor(value));
  } else if (NameIsNoCase(name, L"selectedcolor")) {
    SetDefaultSelectedBkColor(ParseColor(value));
  } else {
    AddWindowCustomAttribute(name, value);
  }
}

// ---- Default colours ----

void CPaintManagerUI::SetDefaultDisabledColor(DWORD color, bool shared) {
  (shared ? SharedResources() : m_resources).dwDefaultDisabledColor = color;
}

void CPaintManagerUI::SetDefaultFontColor(DWORD color, bool shared) {
  (shared ? SharedResources() : m_resources).dwDefaultFontColor = color;
}

void CPaintManagerUI::SetDefaultLinkFontColor(DWORD color, bool shared) {
  (shared ? SharedResources() : m_resources).dwDefaultLinkFontColor = color;
}

void CPaintManagerUI::SetDefaultLinkHoverFontColor(DWORD color, bool shared) {
  (shared ? SharedResources() : m_resources).dwDefaultLinkHoverFontColor = color;
}

void CPaintManagerUI::SetDefaultSelectedBkColor(DWORD color, bool shared) {
  (shared ? SharedResources() : m_resources).dwDefaultSelectedBkColor = color;
}

// ---- Fonts ----

TResourceSet& CPaintManagerUI::ResourcesFor(bool shared) {
  return shared || m_bForceUseSharedRes ? SharedResources() : m_resources;
}

const TFontInfo* CPaintManagerUI::GetDefaultFontInfo() const {
  if (m_resources.defaultFont.hFont) return &m_resources.defaultFont;
  if (m_pResourceParent != nullptr) return m_pResourceParent->GetDefaultFontInfo();
  return &SharedResources().defaultFont;
}

void CPaintManagerUI::SetDefaultFont(const wchar_t* faceName, int size, bool bold,
                                     bool underline, bool italic, bool shared) {
  if (faceName == nullptr || *faceName == L'\0') return;
  TFontInfo font = MakeSkinFont(faceName, size, bold, underline, italic);
  if (!font.hFont) return;
  (shared ? SharedResources() : m_resources).defaultFont = std::move(font);
}

HFONT CPaintManagerUI::AddFont(int id, const wchar_t* faceName, int size, bool bold,
                               bool underline, bool italic, bool shared) {
  if (id < 0 || faceName == nullptr || *faceName == L'\0') return nullptr;
  TFontInfo font = MakeSkinFont(faceName, size, bold, underline, italic);
  if (!font.hFont) return nullptr;
  return ResourcesFor(shared).fonts.Set(id, std::move(font)).hFont.get();
}

HFONT CPaintManagerUI::GetFont(int id) {
  if (id >= 0) {
    const TFontInfo* info = GetFontInfo(id);
    if (info != nullptr) return info->hFont.get();
  }
  return GetDefaultFontInfo()->hFont.get();
}

const TFontInfo* CPaintManagerUI::GetFontInfo(int id) {
  if (id < 0) return nullptr;
  const TFontInfo* info = m_resources.fonts.Find(id);
  if (info == nullptr && m_pResourceParent != nullptr) info = m_pResourceParent->GetFontInfo(id);
  return info != nullptr ? info : SharedResources().fonts.Find(id);
}

HFONT CPaintManagerUI::GetFont(const wchar_t* faceName, int size, bool bold, bool underline,
                               bool italic) {
  if (faceName == nullptr) return nullptr;
  HFONT font = m_resources.fonts.FindByLook(faceName, size, bold, underline, italic);
  if (font != nullptr) return font;
  return SharedResources().fonts.FindByLook(faceName, size, bold, underline, italic);
}

HFONT CPaintManagerUI::FindOrAddFont(const wchar_t* faceName, int size, bool bold,
                                     bool underline, bool italic) {
  HFONT font = GetFont(faceName, size, bold, underline, italic);
  if (font != nullptr) return font;
  // A new id after every id of the manager's table.
  const int id = m_resources.fonts.NextFreeId(0x10000);
  const bool force = m_bForceUseSharedRes;
  m_bForceUseSharedRes = false;
  font = AddFont(id, faceName, size, bold, underline, italic, false);
  m_bForceUseSharedRes = force;
  return font;
}

bool CPaintManagerUI::RemoveFont(int id, bool shared) {
  return (shared ? SharedResources() : m_resources).fonts.Remove(id);
}

void CPaintManagerUI::RemoveAllFonts(bool shared) {
  (shared ? SharedResources() : m_resources).fonts.RemoveAll();
}

// ---- Images ----

bool CPaintManagerUI::PreloadImage(const wchar_t* name) { return CImagePreloads::Start(name); }

// A preload of `name` waited for and moved into the shared table.
void CPaintManagerUI::SettlePreload(const wchar_t* name) {
  if (TImageInfo* preloaded = CImagePreloads::Take(name)) {
    SharedResources().images.Add(name, preloaded);
  }
}

TImageInfo* CPaintManagerUI::GetImage(const wchar_t* name) {
  if (name == nullptr) return nullptr;
  SettlePreload(name);
  TImageInfo* image = m_resources.images.Find(name);
  return image != nullptr ? image : SharedResources().images.Find(name);
}

TImageInfo* CPaintManagerUI::GetImageEx(const wchar_t* name, const wchar_t* type, DWORD mask,
                                        bool useHSL) {
  if (name == nullptr) return nullptr;
  SettlePreload(name);
  if (m_pResourceParent != nullptr && m_resources.images.Find(name) == nullptr) {
    if (TImageInfo* lent = m_pResourceParent->GetImage(name)) return lent;
  }
  TImageInfo* image = CImageCache::GetImageEx(m_resources.images, &SharedResources().images,
                                              name, type, mask, useHSL);
  if (image != nullptr && useHSL && g_hsl.useHSL && image->sourceBits != nullptr) {
    CRenderEngine::AdjustImage(true, image, g_hsl.hue, g_hsl.saturation, g_hsl.lightness);
  }
  return image;
}

TImageInfo* CPaintManagerUI::AddImage(const wchar_t* name, const wchar_t* type, DWORD mask,
                                      bool useHSL, bool shared) {
  if (name == nullptr || *name == L'\0') return nullptr;
  return ResourcesFor(shared).images.Load(name, type, mask, useHSL);
}

bool CPaintManagerUI::RemoveImage(const wchar_t* name, bool shared) {
  return (shared ? SharedResources() : m_resources).images.Remove(name);
}

void CPaintManagerUI::RemoveAllImages(bool shared) {
  (shared ? SharedResources() : m_resources).images.RemoveAll();
}

// ---- Default attribute lists ----

void CPaintManagerUI::AddDefaultAttributeList(const wchar_t* controlName, const wchar_t* list,
                                              bool shared) {
  if (controlName == nullptr || *controlName == L'\0' || list == nullptr) return;
  ResourcesFor(shared).attributeLists.Set(controlName, list);
}

const wchar_t* CPaintManagerUI::GetDefaultAttributeList(const wchar_t* controlName) const {
  const wchar_t* list = m_resources.attributeLists.Find(controlName);
  return list != nullptr ? list : SharedResources().attributeLists.Find(controlName);
}

bool CPaintManagerUI::RemoveDefaultAttributeList(const wchar_t* controlName, bool shared) {
  return (shared ? SharedResources() : m_resources).attributeLists.Remove(controlName);
}

void CPaintManagerUI::RemoveAllDefaultAttributeList(bool shared) {
  (shared ? SharedResources() : m_resources).attributeLists.RemoveAll();
}

// ---- The control tree ----

bool CPaintManagerUI::AttachDialog(CControlUI* root) {
  if (root == nullptr) return false;
  if (m_hWndPaint != nullptr && m_pFocus != nullptr && !m_bNoActivate &&
      ::GetFocus() != m_hWndPaint) {
    ::SetFocus(m_hWndPaint);
  }
  ReleaseFocus(root);
  m_router.ForgetAll();
  if (m_pRoot != nullptr) {
    DeleteDelayedCleanup();
    m_aAsyncNotify.clear();
    m_names.RemoveAll();
    m_aPostPaintControls.Empty();
    // The native windows of the old tree can no longer take the focus.
    m_aNativeWindows.clear();
    AddDelayedCleanup(m_pRoot);
    PostAsyncNotify();
  }
  m_pRoot = root;
  m_bFirstLayout = true;
  m_bUpdateNeeded = true;
  m_bFocusNeeded = true;
  m_bInitialFocusNeeded = true;
  return InitControls(root);
}

bool CPaintManagerUI::InitControls(CControlUI* control, CControlUI* parent) {
  if (control == nullptr) return false;
  control->SetManager(this, parent != nullptr ? parent : control->GetParent(), true);
  control->FindControl(&FindControlFromNameHash, &m_names, UIFIND_ALL);
  return true;
}

void CPaintManagerUI::ReapObjects(CControlUI* control) {
  if (control == nullptr) return;
  m_router.Forget(control);
  if (control == m_pFocus) m_pFocus = nullptr;
  if (control == m_pRoot) m_pRoot = nullptr;
  // A control that is gone must not be painted after, or sent a mouse leave.
  RemovePostPaint(control);
  RemoveMouseLeaveNeeded(control);
  KillTimer(control);
  m_aNativeWindows.erase(
      std::remove_if(m_aNativeWindows.begin(), m_aNativeWindows.end(),
                     [control](const std::pair<HWND, CControlUI*>& native) {
                       return native.second == control;
                     }),
      m_aNativeWindows.end());
  DropQueuedNotifications(control);
  m_names.RemoveIfNames(control->GetName(), control);
  m_accessibles->Forget(control);
}

void CPaintManagerUI::RenameControl(CControlUI* control, const wchar_t* oldName) {
  if (control == nullptr) return;
  m_names.RemoveIfNames(oldName, control);
  m_names.Add(control->GetName(), control);
}

CControlUI* CPaintManagerUI::FindControl(const wchar_t* name) const {
  if (name == nullptr) return nullptr;
  return m_names.Find(name);
}

CControlUI* CPaintManagerUI::FindControl(POINT pt) const {
  if (m_pRoot == nullptr) return nullptr;
  return m_pRoot->FindControl(&FindControlFromPoint, &pt,
                              UIFIND_VISIBLE | UIFIND_HITTEST | UIFIND_TOP_FIRST);
}

bool CPaintManagerUI::AddPostPaint(CControlUI* control) {
  if (control == nullptr || m_aPostPaintControls.Find(control) >= 0) return false;
  return m_aPostPaintControls.Add(control);
}

bool CPaintManagerUI::RemovePostPaint(CControlUI* control) {
  const int index = m_aPostPaintControls.Find(control);
  return index >= 0 && m_aPostPaintControls.Remove(index);
}

bool CPaintManagerUI::AddMouseLeaveNeeded(CControlUI* control) {
  if (control == nullptr || m_aNeedMouseLeaveNeeded.Find(control) >= 0) return false;
  return m_aNeedMouseLeaveNeeded.Add(control);
}

void CPaintManagerUI::RemoveMouseLeaveNeeded(CControlUI* control) {
  const int index = m_aNeedMouseLeaveNeeded.Find(control);
  if (index >= 0) m_aNeedMouseLeaveNeeded.Remove(index);
}

void CPaintManagerUI::AddDelayedCleanup(CControlUI* control) {
  if (control == nullptr || m_aDelayedCleanup.Find(control) >= 0) return;
  control->SetManager(this, nullptr, false);
  m_aDelayedCleanup.Add(control);
  PostAsyncNotify();
}

void CPaintManagerUI::DeleteDelayedCleanup() {
  while (!m_aDelayedCleanup.IsEmpty()) {
    CControlUI* control = static_cast<CControlUI*>(m_aDelayedCleanup.GetAt(0));
    m_aDelayedCleanup.Remove(0);
    control->Delete();
  }
}

// ---- Focus ----

void CPaintManagerUI::SetFocus(CControlUI* control, bool focusWindow) {
  m_bInitialFocusNeeded = false;
  if (focusWindow && m_hWndPaint != nullptr && !m_bNoActivate && ::GetFocus() != m_hWndPaint &&
      control != m_pFocus) {
    ::SetFocus(m_hWndPaint);
  }
  if (control == m_pFocus) return;
  ReleaseFocus(control);
  if (control == nullptr || control->GetManagerInterface() != this || !control->IsVisible() ||
      !control->IsEnabled()) {
    return;
  }
  m_pFocus = control;
  TEventUI event = MakeEvent(UIEVENT_SETFOCUS, control);
  control->Event(event);
  SendNotify(control, L"setfocus");
}

void CPaintManagerUI::ReleaseFocus(CControlUI* sender) {
  if (m_pFocus == nullptr) return;
  CControlUI* old = m_pFocus;
  TEventUI event = MakeEvent(UIEVENT_KILLFOCUS, sender);
  old->Event(event);
  SendNotify(old, L"killfocus");
  m_pFocus = nullptr;
}

// ---- Invalidation, layout and painting ----

void CPaintManagerUI::Invalidate(const RECT& rcItem) {
  CUiRect area(std::max<LONG>(rcItem.left, 0), std::max<LONG>(rcItem.top, 0),
               std::max<LONG>(rcItem.right, 0), std::max<LONG>(rcItem.bottom, 0));
  if (area.IsEmpty()) return;
  m_rcInvalid.Union(area);
  if (m_painter.InvalidateLayered(area)) return;
  if (m_hWndPaint != nullptr) {
    ::InvalidateRect(m_hWndPaint, &area, FALSE);
  }
}

void CPaintManagerUI::UpdateLayout(const RECT& rcClient) {
  if (!m_bUpdateNeeded || m_pRoot == nullptr) return;
  m_bUpdateNeeded = false;
  if (CUiRect(rcClient).IsEmpty()) return;
  if (m_pRoot->IsUpdateNeeded()) {
    m_pRoot->SetPos(rcClient, true);
  } else {
    // Each control that needs an update is placed again where it is; one that stays marked
    // (it belongs to another manager) ends the walk instead of repeating forever.
    CControlUI* previous = nullptr;
    CControlUI* control;
    while ((control = m_pRoot->FindControl(&FindControlFromUpdate, nullptr,
                                           UIFIND_VISIBLE | UIFIND_ME_FIRST)) != nullptr &&
           control != previous) {
      control->SetPos(control->IsFloat() ? control->GetRelativePos() : control->GetPos(), true);
      previous = control;
    }
  }
  if (m_bFirstLayout) {
    m_bFirstLayout = false;
    SendNotify(m_pRoot, L"windowinit");
  }
}

bool CPaintManagerUI::Render(HDC hDC, const RECT& rcClient, const RECT& rcPaint) {
  if (m_pRoot == nullptr) {
    CRenderEngine::DrawColor(hDC, rcPaint, 0xFF000000);
    return false;
  }
  m_bPainting = true;
  UpdateLayout(rcClient);
  m_pRoot->Paint(hDC, rcPaint, nullptr);
  for (int i = 0; i < m_aPostPaintControls.GetSize(); ++i) {
    static_cast<CControlUI*>(m_aPostPaintControls.GetAt(i))->DoPostPaint(hDC, rcPaint);
  }
  m_bPainting = false;
  m_rcInvalid.Empty();
  return true;
}

HBITMAP CPaintManagerUI::RenderToBitmap(const RECT& rcClient) {
  if (m_pRoot == nullptr) return nullptr;
  CTreePainter painter(*this, rcClient);
  return CRenderEngine::GenerateBitmap(this, &painter, rcClient);
}

// ---- Notifications ----

bool CPaintManagerUI::AddNotifier(INotifyUI* notifier) {
  if (notifier == nullptr) return false;
  return m_aNotifiers.Add(notifier);
}

bool CPaintManagerUI::RemoveNotifier(INotifyUI* notifier) {
  const int index = m_aNotifiers.Find(notifier);
  return index >= 0 && m_aNotifiers.Remove(index);
}

void CPaintManagerUI::SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam,
                                 LPARAM lParam, bool async, bool allowRepeat) {
  TNotifyUI msg;
  msg.pSender = sender;
  msg.sType = type;
  msg.wParam = wParam;
  msg.lParam = lParam;
  SendNotify(msg, async, allowRepeat);
}

void CPaintManagerUI::SendNotify(TNotifyUI& msg, bool async, bool allowRepeat) {
  if (m_pResourceParent != nullptr) {
    m_accessibles->OnNotification(msg.pSender, msg.sType, msg.wParam);
    m_pResourceParent->SendNotify(msg, async, allowRepeat);
    return;
  }
  msg.ptMouse = m_ptLastMousePos;
  msg.dwTimestamp = ::GetTickCount();
  if (m_bUsedVirtualWnd && msg.pSender != nullptr) msg.sVirtualWnd = msg.pSender->GetVirtualWnd();
  if (!async) {
    DeliverNotify(msg);
    return;
  }
  if (!allowRepeat) {
    for (auto& queued : m_aAsyncNotify) {
      if (queued->pSender == msg.pSender && queued->sType == msg.sType) {
        if (m_bUsedVirtualWnd) queued->sVirtualWnd = msg.sVirtualWnd;
        queued->wParam = msg.wParam;
        queued->lParam = msg.lParam;
        queued->ptMouse = msg.ptMouse;
        queued->dwTimestamp = msg.dwTimestamp;
        return;
      }
    }
  }
  m_aAsyncNotify.push_back(std::make_unique<TNotifyUI>(msg));
  PostAsyncNotify();
}

void CPaintManagerUI::PostAsyncNotify() {
  if (!m_bAsyncNotifyPosted && m_hWndPaint != nullptr) {
    m_bAsyncNotifyPosted = ::PostMessageW(m_hWndPaint, WM_APP + 1, 0, 0) != FALSE;
  }
}

void CPaintManagerUI::DeliverNotify(TNotifyUI& msg) {
  m_accessibles->OnNotification(msg.pSender, msg.sType, msg.wParam);
  if (msg.pSender != nullptr && msg.pSender->OnNotify) msg.pSender->OnNotify(&msg);
  // A notifier may add or remove notifiers: walk by index against the current size.
  for (int i = 0; i < m_aNotifiers.GetSize(); ++i) {
    static_cast<INotifyUI*>(m_aNotifiers.GetAt(i))->Notify(msg);
  }
}

void CPaintManagerUI::DropQueuedNotifications(const CControlUI* control) {
  m_aAsyncNotify.erase(std::remove_if(m_aAsyncNotify.begin(), m_aAsyncNotify.end(),
                                      [control](const std::unique_ptr<TNotifyUI>& queued) {
                                        return queued->pSender == control;
                                      }),
                       m_aAsyncNotify.end());
}

void CPaintManagerUI::DeliverAsyncNotifications() {
  m_bAsyncNotifyPosted = false;
  while (!m_aAsyncNotify.empty()) {
    std::unique_ptr<TNotifyUI> msg = std::move(m_aAsyncNotify.front());
    m_aAsyncNotify.erase(m_aAsyncNotify.begin());
    DeliverNotify(*msg);
  }
  DeleteDelayedCleanup();
}

// ---- Accessibility ----

void CPaintManagerUI::AccessibleChanged(CControlUI* control, TAccessibleChange change) {
  m_accessibles->OnChange(control, change);
}

// ---- Option groups ----

bool CPaintManagerUI::AddOptionGroup(const wchar_t* groupName, CControlUI* control) {
  if (groupName == nullptr || control == nullptr) return false;
  return m_optionGroups.Add(groupName, control);
}

CUiPtrArray* CPaintManagerUI::GetOptionGroup(const wchar_t* groupName) {
  if (groupName == nullptr) return nullptr;
  return m_optionGroups.Find(groupName);
}

void CPaintManagerUI::RemoveOptionGroup(const wchar_t* groupName, CControlUI* control) {
  if (groupName == nullptr) return;
  m_optionGroups.Remove(groupName, control);
}

void CPaintManagerUI::RemoveAllOptionGroups() { m_optionGroups.RemoveAll(); }

}  // namespace SkinUI
