// CActiveXUI: hosts an in-process COM control given by class id or program id. The host creates
// the control when it has a manager with a window (at once, or when first shown with
// `delaycreate`), gives it a client site and an in-place site, and activates it in place at the
// control's rectangle. A windowed control gets a child window of the host's window, kept at the
// control's rectangle and hidden while the control (or an ancestor) is hidden; a windowless
// control paints into the manager's buffer and gets the control's mouse, keyboard and focus
// input. "showactivex" tells that the control was created. Everything is released when the
// host goes.
//
// OLE on the thread: each host that created its control holds one OleInitialize of its thread
// (made just before the creation, balanced by OleUninitialize after the release), so the thread
// stays initialised for OLE as long as any hosted control lives, whatever the program did.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <oleidl.h>

#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

class CActiveXSite;

// The window message a windowless control receives for `event`, with its parameters (mouse
// positions in window coordinates, key states as MK_* bits); false for events it is not told.
bool ActiveXMessageForEvent(const TEventUI& event, UINT& message, WPARAM& wParam,
                            LPARAM& lParam);

// The class id `text` names: "{...}" read as a class id, anything else as a program id.
HRESULT ActiveXClassId(const wchar_t* text, CLSID& clsid);

class CActiveXUI : public CControlUI, private ITranslateAccelerator {
 public:
  static constexpr const wchar_t* kClassName = L"ActiveX";

  CActiveXUI();
  ~CActiveXUI() override;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  // A tab stop while a control is hosted: a windowless one takes its keys through the host, a
  // windowed one gets the keyboard focus in its window.
  UINT GetControlFlags() const override;
  // The hosted control's own window (windowed controls), else null.
  HWND GetNativeWindow() const override;

  // The class id ("{...}") or program id of the control; applies to a control created later.
  const CUiString& GetClsid() const { return m_sClsid; }
  void SetClsid(const wchar_t* clsid) { m_sClsid = clsid; }
  // Created only when first shown (laid out while visible) rather than at once.
  bool IsDelayCreate() const { return m_bDelayCreate; }
  void SetDelayCreate(bool delay) { m_bDelayCreate = delay; }

  // Creates the control if it is not there yet and was not tried in vain; needs a manager with
  // a window. Answers whether the control is hosted. A failure is logged once; the host then
  // stays empty.
  bool CreateControl();
  bool IsCreated() const { return m_pObject != nullptr; }
  // Whether the hosted control is active without a window of its own.
  bool IsWindowless() const;
  // Queries the hosted control for `iid` (E_NOINTERFACE when none is hosted).
  HRESULT GetControl(REFIID iid, void** object) const;
  // Releases the hosted control; the host stays empty until CreateControl() is called again
  // (the automatic creation happens only once).
  void ReleaseControl();

  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  void DoInit() override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  void Move(SIZE offset, bool needInvalidate = true) override;
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  void DoEvent(TEventUI& event) override;
  // A windowless control paints itself over the background, under the text and border.
  void PaintStatusImage(HDC hDC) override;

 protected:
  // The class id used when `clsid` is empty (none for the plain host).
  virtual const CLSID* DefaultClassId() const { return nullptr; }
  // Checks before the creation (the web browser: is its engine there?); false stops it. Logs
  // its own reason.
  virtual bool CanCreate() { return true; }
  // The control was created and activated; `showactivex` follows.
  virtual void OnControlCreated() {}
  // The control is about to be released.
  virtual void OnControlReleasing() {}

 private:
  friend class CActiveXSite;

  // The automatic creation, once: when the host has a window (and with `delaycreate` is shown).
  void CreateWhenDue();
  bool ActivateControl(const CLSID& clsid);
  // Tells the control its rectangle and shows or hides its window to match the host.
  void PlaceControl();
  RECT ClipRect() const;
  HWND HostWindow() const;
  void LogFailure(const wchar_t* what, HRESULT hr) const;
  // Keys bound for a windowed control's window go to the control first, as to any OLE control
  // (a browser moves between its links with Tab); S_OK when the control took the key.
  LRESULT TranslateAccelerator(MSG* msg) override;

  CUiString m_sClsid;
  bool m_bDelayCreate = false;
  bool m_bAutoCreated = false;   // the automatic creation happened (it happens once)
  bool m_bCreateFailed = false;  // the last creation failed (not tried again until released)
  bool m_bOleInitialized = false;
  CActiveXSite* m_pSite = nullptr;
  IOleObject* m_pObject = nullptr;
  IOleInPlaceObject* m_pInPlace = nullptr;
  IOleInPlaceObjectWindowless* m_pWindowless = nullptr;
  IViewObject* m_pView = nullptr;
  IOleInPlaceActiveObject* m_pActive = nullptr;  // a windowed control's, for its keys
  HWND m_hwndControl = nullptr;
};

}  // namespace SkinUI
