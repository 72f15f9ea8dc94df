// CPaintManagerUI: the per-window engine of the toolkit, a front over three parts it owns:
//  - the resource tables (ui_resource_tables.h): fonts, images, default attribute lists (own and
//    shared), custom window attributes, the names of the tree and the option groups;
//  - the input router (ui_input_router.h), which turns the window's messages into control
//    events, one handler per message family;
//  - the painter (ui_window_painter.h), which paints the window buffered, layered or printed.
// The front itself keeps the process-wide state, the window settings from the skin, focus and
// Tab order, invalidation and layout bookkeeping, notifications, control timers
// (ui_paint_manager_timers.cpp) and the message loop (ui_paint_manager_messages.cpp), and paints
// the control tree into any device context (so a tree can be rendered off-screen).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <memory>
#include <utility>
#include <vector>

#include "common/unique_handle.h"
#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/controls/ui_event.h"
#include "uitoolkit/core/ui_containers.h"
#include "uitoolkit/core/ui_image_cache.h"
#include "uitoolkit/core/ui_string.h"
#include "uitoolkit/core/ui_string_table.h"
#include "uitoolkit/window/ui_input_router.h"
#include "uitoolkit/window/ui_resource_tables.h"
#include "uitoolkit/window/ui_window_painter.h"

namespace SkinUI {

// Something that wants to hear every notification of a window.
class INotifyUI {
 public:
  virtual void Notify(TNotifyUI& msg) = 0;

 protected:
  ~INotifyUI() = default;
};

class CAccessibleTable;

// A plug-in control factory: a new control for an element name, or null.
typedef CControlUI* (*LPCREATECONTROL)(const wchar_t* typeName);

class CPaintManagerUI : public IControlManagerUI {
 public:
  CPaintManagerUI();
  ~CPaintManagerUI() override;
  CPaintManagerUI(const CPaintManagerUI&) = delete;
  CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

  // ---- Process-wide state ----
  static HINSTANCE GetInstance();
  static void SetInstance(HINSTANCE instance);
  // The folder of the instance's module file, ending in a backslash; empty without an instance.
  static CUiString GetInstancePath();
  // The module whose resources hold skins and images named by resource (null: the instance).
  static HINSTANCE GetResourceDll();
  static void SetResourceDll(HINSTANCE instance);
  // The folder skin files are read from; a backslash is appended unless the path is empty or
  // already ends with a backslash or slash.
  static const CUiString& GetResourcePath();
  static void SetResourcePath(const wchar_t* path);
  static const CUiString& GetResourceZip();
  static void SetResourceZip(const wchar_t* zipName, bool cached = false);
  static void SetResourceZip(const void* data, std::size_t size);
  static bool IsCachedResourceZip();
  // Cleanup at program end: closes the cached resource zip.
  static void Term();

  // Translated strings ("%{N}" in texts), process-wide.
  static void AddMultiLanguageString(int id, const wchar_t* text);
  static bool RemoveMultiLanguageString(int id);
  static void RemoveAllMultiLanguageString();

  // Plug-in control factories, process-wide, asked in order by the skin builder for element
  // names outside its class table.
  static std::vector<LPCREATECONTROL>& GetPlugins();
  // Loads the module at `path` and appends its exported "CreateControl" unless it is listed
  // already; false for a null path, a module that does not load or has no such export. A full
  // path is loaded as it is; any other path names a file of the program's own folder (there is
  // never a search of the current or the system's folders). A loaded module stays loaded for the
  // life of the process.
  [[nodiscard]] static bool LoadPlugin(const wchar_t* path);

  // Global hue (0-360), saturation and lightness (percent) for images and colours marked HSL.
  static void SetHSL(bool useHSL, short hue, short saturation, short lightness);

  // ---- The native window (ui_paint_manager_messages.cpp) ----
  // Binds the manager to `hWnd`: the window's own tables and timers are dropped, the window's
  // device context taken and the manager entered into the process-wide list.
  void Init(HWND hWnd, const wchar_t* name = nullptr);
  // Runs the thread's messages until WM_QUIT and answers its wParam; the paint managers of the
  // target window (and its ancestors, for child windows) see each message first.
  static int MessageLoop();
  // The loop's pre-dispatch step: true when a paint manager consumed the message.
  static bool TranslateMessage(const LPMSG msg);
  // Pre-message filters, Tab navigation and the Alt shortcuts; true consumes the message.
  bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The window's messages turned into control events, painting and timers; true when handled
  // (then `result` is the answer).
  bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool AddPreMessageFilter(IMessageFilterUI* filter);
  bool RemovePreMessageFilter(IMessageFilterUI* filter);
  bool AddMessageFilter(IMessageFilterUI* filter) override;
  bool RemoveMessageFilter(IMessageFilterUI* filter) override;
  bool AddTranslateAccelerator(ITranslateAccelerator* accelerator) override;
  bool RemoveTranslateAccelerator(ITranslateAccelerator* accelerator) override;
  // Focuses the next (or previous) tab stop; while an update is pending, forward only marks
  // the focus as needed for the next paint.
  bool SetNextTabControl(bool forward = true);
  // Focuses `control` (or, when it is no tab stop, the next tab stop after it) at the next
  // paint; the old focus is taken away now.
  void SetFocusNeeded(CControlUI* control);
  // The button Enter activates while the focus is on no other button (skin attribute
  // "defaultbutton"); a new tree's first focus goes to it.
  void SetDefaultButton(const wchar_t* name) { m_sDefaultButton = name != nullptr ? name : L""; }
  const CUiString& GetDefaultButtonName() const { return m_sDefaultButton; }
  // The default button when it is a visible, enabled tab stop of this tree, else null.
  CControlUI* GetDefaultButton() const;
  void SetCapture() { m_router.SetCapture(); }
  void ReleaseCapture() { m_router.ReleaseCapture(); }
  bool IsCaptured() const { return m_router.IsCaptured(); }
  bool IsPainting() const { return m_bPainting; }
  // Per-pixel-alpha painting of a top-level window (repainted by timer 0x2000).
  void SetLayered(bool layered) { m_painter.SetLayered(layered); }
  void SetLayeredInset(const RECT& inset) { m_painter.SetLayeredInset(inset); }
  bool AddNativeWindow(CControlUI* control, HWND hChildWnd) override;
  bool RemoveNativeWindow(HWND hChildWnd) override;
  // The control hosting the registered native child window, or null.
  CControlUI* GetNativeWindowControl(HWND hChildWnd) const;
  HWND GetTooltipWindow() const { return m_router.GetTooltipWindow(); }
  int GetHoverTime() const { return m_router.GetHoverTime(); }
  void SetHoverTime(int milliseconds) { m_router.SetHoverTime(milliseconds); }
  bool AddMouseLeaveNeeded(CControlUI* control) override;

  // ---- Control timers (ui_paint_manager_timers.cpp) ----
  // Starts the control's timer `timerID`; false when it runs already or the system refuses. A
  // killed timer restarts under its native id.
  bool SetTimer(CControlUI* control, UINT timerID, UINT elapse) override;
  // Stops the timer and keeps its record for a restart; false when it is not running.
  bool KillTimer(CControlUI* control, UINT timerID) override;
  // Stops and forgets every timer of the control.
  void KillTimer(CControlUI* control);
  void RemoveAllTimers();
  // The native id of the control's timer `timerID`, or 0 when it has none.
  UINT GetNativeTimerId(CControlUI* control, UINT timerID) const;
  int GetTimerCount() const { return static_cast<int>(m_aTimers.size()); }

  // ---- Window settings (skin Window attributes) ----
  const CUiString& GetName() const { return m_sName; }
  HWND GetPaintWindow() const override { return m_hWndPaint; }
  CControlUI* GetRoot() const { return m_pRoot; }
  SIZE GetInitSize() const { return m_szInitWindowSize; }
  void SetInitSize(int cx, int cy);
  RECT GetSizeBox() const { return m_rcSizeBox; }
  void SetSizeBox(const RECT& rc) { m_rcSizeBox = rc; }
  RECT GetCaptionRect() const { return m_rcCaption; }
  void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
  SIZE GetRoundCorner() const { return m_szRoundCorner; }
  void SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }
  SIZE GetMinInfo() const { return m_szMinWindow; }
  void SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }
  SIZE GetMaxInfo() const { return m_szMaxWindow; }
  void SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }
  bool IsShowUpdateRect() const { return m_bShowUpdateRect; }
  void SetShowUpdateRect(bool show) { m_bShowUpdateRect = show; }
  bool IsNoActivate() const { return m_bNoActivate; }
  void SetNoActivate(bool noActivate) { m_bNoActivate = noActivate; }
  BYTE GetOpacity() const { return m_nOpacity; }
  void SetOpacity(BYTE opacity);
  bool IsLayered() const { return m_painter.IsLayered(); }
  BYTE GetLayeredOpacity() const { return m_painter.GetLayeredOpacity(); }
  const CUiString& GetLayeredImage() const { return m_painter.GetLayeredImage(); }
  // One attribute of the skin's Window element (see the attribute table in the README).
  void SetWindowAttribute(const wchar_t* name, const wchar_t* value);
  // Attributes no window setting claims; the first value of a name wins.
  void AddWindowCustomAttribute(const wchar_t* name, const wchar_t* value) {
    m_windowCustomAttributes.Add(name, value);
  }
  const wchar_t* GetWindowCustomAttribute(const wchar_t* name) const {
    return m_windowCustomAttributes.Find(name);
  }
  bool RemoveWindowCustomAttribute(const wchar_t* name) {
    return m_windowCustomAttributes.Remove(name);
  }
  void RemoveAllWindowCustomAttribute() { m_windowCustomAttributes.RemoveAll(); }

  // ---- Default colours (own value, or the shared one with `shared`) ----
  DWORD GetDefaultDisabledColor() override { return m_resources.dwDefaultDisabledColor; }
  void SetDefaultDisabledColor(DWORD color, bool shared = false);
  DWORD GetDefaultFontColor() override { return m_resources.dwDefaultFontColor; }
  void SetDefaultFontColor(DWORD color, bool shared = false);
  DWORD GetDefaultLinkFontColor() override { return m_resources.dwDefaultLinkFontColor; }
  void SetDefaultLinkFontColor(DWORD color, bool shared = false);
  DWORD GetDefaultLinkHoverFontColor() override { return m_resources.dwDefaultLinkHoverFontColor; }
  void SetDefaultLinkHoverFontColor(DWORD color, bool shared = false);
  DWORD GetDefaultSelectedBkColor() override { return m_resources.dwDefaultSelectedBkColor; }
  void SetDefaultSelectedBkColor(DWORD color, bool shared = false);

  // ---- Fonts ----
  // Resources registered with `shared` unset still go to the shared tables when forced.
  bool IsForceUseSharedRes() const { return m_bForceUseSharedRes; }
  void SetForceUseSharedRes(bool force) { m_bForceUseSharedRes = force; }
  // The manager's default font when it has one, else the shared default font.
  const TFontInfo* GetDefaultFontInfo() const;
  void SetDefaultFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic,
                      bool shared = false);
  // Registers a font under `id`, replacing (and deleting) one registered there before. Null for
  // a negative id or an empty face name.
  HFONT AddFont(int id, const wchar_t* faceName, int size, bool bold, bool underline, bool italic,
                bool shared = false);
  // The manager's table, then the shared one; the default font for a negative or unknown id.
  HFONT GetFont(int id) override;
  // A registered font with exactly this look, or null.
  HFONT GetFont(const wchar_t* faceName, int size, bool bold, bool underline, bool italic);
  HFONT FindOrAddFont(const wchar_t* faceName, int size, bool bold, bool underline,
                      bool italic) override;
  const TFontInfo* GetFontInfo(int id);
  bool RemoveFont(int id, bool shared = false);
  void RemoveAllFonts(bool shared = false);

  // ---- Images ----
  // Starts decoding the image `name` (a file or resource location, as AddImage without a type
  // reads it) on a worker thread; the first lookup of that name waits for it and finds it in
  // the shared table. For a large image a window will need, started before the window is built.
  static bool PreloadImage(const wchar_t* name);
  // The manager's table, then the shared one; null when in neither.
  TImageInfo* GetImage(const wchar_t* name);
  TImageInfo* GetImageEx(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0,
                         bool useHSL = false) override;
  // Loads the image now and registers it under `name` (replacing and freeing an older one).
  TImageInfo* AddImage(const wchar_t* name, const wchar_t* type = nullptr, DWORD mask = 0,
                       bool useHSL = false, bool shared = false);
  bool RemoveImage(const wchar_t* name, bool shared = false);
  void RemoveAllImages(bool shared = false);

  // ---- Default attribute lists per element name (exact) ----
  void AddDefaultAttributeList(const wchar_t* controlName, const wchar_t* list,
                               bool shared = false);
  // The manager's list, then the shared one; null when neither has one.
  const wchar_t* GetDefaultAttributeList(const wchar_t* controlName) const;
  bool RemoveDefaultAttributeList(const wchar_t* controlName, bool shared = false);
  void RemoveAllDefaultAttributeList(bool shared = false);

  // ---- The control tree ----
  // Gives the manager a new root: focus, hover and click roles are cleared, an old tree is
  // detached and deleted, and the new one attached (InitControls). False for null.
  bool AttachDialog(CControlUI* root);
  bool InitControls(CControlUI* control, CControlUI* parent = nullptr) override;
  void ReapObjects(CControlUI* control) override;
  void RenameControl(CControlUI* control, const wchar_t* oldName) override;
  // The control registered under `name`, or null.
  CControlUI* FindControl(const wchar_t* name) const override;
  // The topmost visible, mouse-enabled control containing `pt`, or null.
  CControlUI* FindControl(POINT pt) const;
  bool AddPostPaint(CControlUI* control) override;
  bool RemovePostPaint(CControlUI* control) override;
  // A borderless pop-up window owned by this manager's window (ui_popup_window.h).
  std::unique_ptr<IPopupHostUI> CreatePopupHost(IPopupListenerUI* listener) override;
  // Makes this manager serve a pop-up of `parent`'s window: fonts and images it does not have
  // are looked up in `parent` before the shared ones, and its notifications are sent through
  // `parent`, to that window's notifiers; null: none.
  void SetResourceParent(CPaintManagerUI* parent) { m_pResourceParent = parent; }
  int GetPostPaintCount() const { return m_aPostPaintControls.GetSize(); }
  void RemoveMouseLeaveNeeded(CControlUI* control) override;
  void AddDelayedCleanup(CControlUI* control) override;

  // ---- Focus ----
  CControlUI* GetFocus() const override { return m_pFocus; }
  // Moves the focus (kill focus event and "killfocus" to the old control, set focus event and
  // "setfocus" to the new one when it belongs here and is visible and enabled).
  void SetFocus(CControlUI* control, bool focusWindow = true) override;

  // ---- Invalidation, layout and painting ----
  // Adds `rcItem` (clamped to non-negative coordinates) to the area to repaint.
  void Invalidate(const RECT& rcItem) override;
  void NeedUpdate() override { m_bUpdateNeeded = true; }
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  // The area invalidated since the last paint (empty when nothing is waiting).
  RECT GetInvalidRect() const { return m_rcInvalid; }
  // Lays the tree out when an update is pending: the whole root at `rcClient` when the root
  // needs it, else each control that needs it at its own place. The first layout sends
  // "windowinit" from the root.
  void UpdateLayout(const RECT& rcClient);
  // Lays out as needed and paints the tree where it meets `rcPaint` into `hDC` (window
  // coordinates), then the post-paint controls; clears the invalidated area. Without a root the
  // area is filled with opaque black and false is answered.
  bool Render(HDC hDC, const RECT& rcClient, const RECT& rcPaint);
  // The tree laid out at `rcClient` and painted into a new 32-bit bitmap of its size; null
  // without a root or for an empty rectangle.
  [[nodiscard]] HBITMAP RenderToBitmap(const RECT& rcClient);
  HDC GetPaintDC() override { return m_hDcPaint; }
  POINT GetMousePos() override { return m_ptLastMousePos; }

  // ---- Notifications ----
  bool AddNotifier(INotifyUI* notifier);
  bool RemoveNotifier(INotifyUI* notifier);
  // Delivers at once: the sender's OnNotify listeners, then every notifier in order. With
  // `async` the record is queued for DeliverAsyncNotifications (without `allowRepeat`, a queued
  // record of the same sender and type is updated instead of queuing another).
  void SendNotify(TNotifyUI& msg, bool async = false, bool allowRepeat = true) override;
  void SendNotify(CControlUI* sender, const wchar_t* type, WPARAM wParam = 0, LPARAM lParam = 0,
                  bool async = false, bool allowRepeat = true) override;
  // Delivers the queued notifications in order (also those queued meanwhile), then deletes the
  // controls awaiting delayed deletion.
  void DeliverAsyncNotifications();
  // Posts the message that runs DeliverAsyncNotifications, unless one is pending.
  void PostAsyncNotify();
  void UsedVirtualWnd(bool used) override { m_bUsedVirtualWnd = used; }

  // ---- Accessibility (ui_accessible.h) ----
  // Raises the window event of the change for the window's accessibility clients.
  void AccessibleChanged(CControlUI* control, TAccessibleChange change) override;

  // ---- Option groups ----
  bool AddOptionGroup(const wchar_t* groupName, CControlUI* control) override;
  CUiPtrArray* GetOptionGroup(const wchar_t* groupName) override;
  void RemoveOptionGroup(const wchar_t* groupName, CControlUI* control) override;
  void RemoveAllOptionGroups();

  // ---- IRenderHost / IControlManagerUI ----
  CPaintManagerUI* GetPaintManager() override { return this; }
  const wchar_t* GetMultiLanguageString(int id) override;
  void GetHSL(short* hue, short* saturation, short* lightness) override;

 private:
  friend class CInputRouter;
  friend class CWindowPainter;

  // Posted to the window to deliver the queued notifications.
  static constexpr UINT kAsyncNotifyMessage = WM_APP + 1;

  // The full path LoadPlugin loads for `path`; empty when it is none.
  static CUiString PluginPath(const wchar_t* path);
  static TResourceSet& SharedResources();
  static void SettlePreload(const wchar_t* name);
  TResourceSet& ResourcesFor(bool shared);
  static CUiStringTable& MultiLanguageStrings();
  // The common controls (for the tooltip class), loaded from the system folder at first use.
  static void InitCommonControlsOnce();

  void DeliverNotify(TNotifyUI& msg);
  void DeleteDelayedCleanup();
  // Drops the queued notifications that name `control` as their sender.
  void DropQueuedNotifications(const CControlUI* control);

  // One control timer of this manager's window.
  struct TTimerInfo {
    CControlUI* pSender = nullptr;
    UINT nLocalID = 0;
    HWND hWnd = nullptr;
    UINT uWinTimer = 0;
    bool bKilled = false;
  };
  // The process-wide list of managers bound to a window, in binding order.
  static std::vector<CPaintManagerUI*>& PreMessages();
  static bool TranslateForManager(CPaintManagerUI* manager, LPMSG msg, bool childTarget);
  TEventUI MakeEvent(int type, CControlUI* sender, WPARAM wParam = 0, LPARAM lParam = 0) const;
  // Takes the focus from the focused control (a kill-focus event naming `sender`, then
  // "killfocus"); nothing when no control has it.
  void ReleaseFocus(CControlUI* sender);
  // The control under `pt` when it belongs to this manager, else null.
  CControlUI* FindOwnControl(POINT pt) const;
  void OnTimer(WPARAM wParam, LPARAM lParam);
  // At a paint: gives the focus a new tree or SetFocusNeeded asked for.
  void GiveNeededFocus();
  // A new tree's first focus: the default button, else the first tab stop that is not a title
  // button of the window ("closebtn", "minbtn", "maxbtn", "restorebtn"); null for none.
  CControlUI* InitialFocusControl() const;
  // Enter activates the default button unless the focused control takes Enter itself.
  bool ActivateDefaultButton();
  // WM_DESTROY: the manager leaves the message loop and gives its device context back.
  void OnWindowDestroyed();
  UINT NextTimerId() const;

  CUiString m_sName;
  HWND m_hWndPaint = nullptr;
  HDC m_hDcPaint = nullptr;
  bool m_bNoActivate = false;
  bool m_bShowUpdateRect = false;

  CControlUI* m_pRoot = nullptr;
  CControlUI* m_pFocus = nullptr;
  POINT m_ptLastMousePos = {-1, -1};

  SIZE m_szMinWindow = {0, 0};
  SIZE m_szMaxWindow = {0, 0};
  SIZE m_szInitWindowSize = {0, 0};
  RECT m_rcSizeBox = {0, 0, 0, 0};
  RECT m_rcCaption = {0, 0, 0, 0};
  SIZE m_szRoundCorner = {0, 0};

  UINT m_uTimerID = 0x1000;
  bool m_bFirstLayout = true;
  bool m_bUpdateNeeded = false;
  bool m_bFocusNeeded = false;
  bool m_bInitialFocusNeeded = false;  // the focus asked for is a new tree's first focus
  CUiString m_sDefaultButton;
  BYTE m_nOpacity = 255;
  bool m_bPainting = false;
  bool m_bUsedVirtualWnd = false;
  bool m_bAsyncNotifyPosted = false;
  bool m_bForceUseSharedRes = false;
  CUiRect m_rcInvalid;
  std::vector<TTimerInfo> m_aTimers;
  std::vector<IMessageFilterUI*> m_aPreMessageFilters;
  std::vector<IMessageFilterUI*> m_aMessageFilters;
  std::vector<ITranslateAccelerator*> m_aTranslateAccelerators;
  std::vector<std::pair<HWND, CControlUI*>> m_aNativeWindows;

  CUiPtrArray m_aNotifiers;
  CUiPtrArray m_aPostPaintControls;
  CUiPtrArray m_aDelayedCleanup;
  std::vector<std::unique_ptr<TNotifyUI>> m_aAsyncNotify;
  CUiPtrArray m_aNeedMouseLeaveNeeded;

  // The owned parts.
  TResourceSet m_resources;
  CPaintManagerUI* m_pResourceParent = nullptr;
  CControlNameTable m_names;
  CUiStringTable m_windowCustomAttributes;
  COptionGroupTable m_optionGroups;
  // The accessible objects of the controls (ui_accessible.h); declared here only, so that the
  // manager's users do not take in the COM headers.
  std::unique_ptr<CAccessibleTable> m_accessibles;
  CInputRouter m_router{*this};
  CWindowPainter m_painter{*this};
};

}  // namespace SkinUI
