// WindowImplBase: a borderless skinned window. It builds its control tree from a skin (a file in
// the resource folder, a zip file, a module resource or a zip held in a module resource) when
// the window is created, routes window messages to overridable handlers and its paint manager,
// and implements caption dragging, resizing borders, rounded corners, the title buttons and the
// Enter and Escape keys.
#pragma once

#include <windows.h>

#include <vector>

#include "common/seam.h"
#include "uitoolkit/window/ui_dialog_builder.h"
#include "uitoolkit/window/ui_notify_pump.h"
#include "uitoolkit/window/ui_paint_manager.h"
#include "uitoolkit/window/ui_window_wnd.h"

namespace SkinUI {

// Where WindowImplBase reads its skin from (GetResourceType).
enum UILIB_RESOURCETYPE {
  UILIB_FILE = 1,         // a file in the resource folder
  UILIB_ZIP = 2,          // a zip file in the resource folder (GetZIPFileName)
  UILIB_RESOURCE = 3,     // a module resource of type "xml" whose id is the skin file name
  UILIB_ZIPRESOURCE = 4,  // a zip in a module resource of type "ZIPRES" (GetResourceID)
};

// A skin that cannot be built shows a message box and ends the process with exit code 1;
// tests replace both to watch it happen.
extern vesk::Seam<int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT)> g_skinFailureMessageBox;
extern vesk::Seam<void(WINAPI*)(UINT)> g_skinFailureExit;

class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
 public:
  WindowImplBase() = default;

  const wchar_t* GetSuperClassName() const override { return nullptr; }
  UINT GetClassStyle() const override { return CS_DBLCLKS; }
  LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
  // Removes the window as pre-message filter and notifier and drops the tree's roles.
  void OnFinalMessage(HWND hWnd) override;
  ~WindowImplBase() override = default;

  // After the skin is attached.
  virtual void InitWindow() {}
  // "click": "closebtn" closes with code 1; "minbtn", "maxbtn", "restorebtn" minimise,
  // maximise and restore.
  virtual void OnClick(TNotifyUI& msg);
  // The skin's folder relative to the program folder (used while no resource folder is set).
  virtual CUiString GetSkinDir() = 0;
  virtual CUiString GetSkinXml() = 0;
  // Escape closes the window with code 1 and answers 1; other keys answer 0.
  virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
  virtual UILIB_RESOURCETYPE GetResourceType() const { return UILIB_FILE; }
  virtual CUiString GetZIPFileName() const { return CUiString(); }
  virtual const wchar_t* GetResourceID() const { return L""; }

  virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  // Loads the skin (see the README for the steps).
  virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled);
  // The window's current style without WS_CAPTION.
  virtual LONG GetStyle();

  // INotifyUI: the notification goes through the message maps.
  void Notify(TNotifyUI& msg) override;
  // IMessageFilterUI (pre-message filter): Enter and Escape reach ResponseDefaultKeyEvent.
  LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& handled) override;
  // IDialogBuilderCallback: no classes of its own.
  CControlUI* CreateControl(const wchar_t* className) override;

  CPaintManagerUI& GetPaintManager() { return m_pm; }

 protected:
  CPaintManagerUI m_pm;
  // A copy of the zipped skin read from a module resource, shared by the process.
  static std::vector<BYTE> m_lpResourceZIPBuffer;

  UI_DECLARE_MESSAGE_MAP()
};

}  // namespace SkinUI
