// CControlUI: the base of every element of a skinned window. A rectangle in window coordinates
// with fixed or computed size, background colours and image, border, text, tooltip, visibility
// and input flags, a name, custom attributes and hooks. It owns no native window; the paint
// manager of its window routes input to it as events and paints it.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/controls/ui_delegate.h"
#include "uitoolkit/controls/ui_event.h"
#include "uitoolkit/core/ui_containers.h"
#include "uitoolkit/core/ui_geometry.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_render_host.h"
#include "uitoolkit/core/ui_string.h"
#include "uitoolkit/core/ui_string_table.h"

namespace SkinUI {

class CControlUI {
 public:
  CControlUI();
  CControlUI(const CControlUI&) = delete;
  CControlUI& operator=(const CControlUI&) = delete;

  // The manager forgets the control as a mouse-leave target, then the control destroys itself.
  virtual void Delete();
  // Deletes the cover, clears the custom attributes, raises OnDestroy and has the manager drop
  // its references to the control.
  virtual ~CControlUI();

  virtual CUiString GetName() const;
  // Stores a new name and has the manager re-index the control under it.
  virtual void SetName(const wchar_t* name);
  // The element name: "Control".
  virtual const wchar_t* GetClass() const;
  // `this` for "Control", else null; derived classes add their names.
  virtual void* GetInterface(const wchar_t* name);
  // UIFLAG_* bits; 0 in the base.
  virtual UINT GetControlFlags() const;
  virtual HWND GetNativeWindow() const;

  // True when visible and enabled; derived buttons add their action.
  virtual bool Activate();
  virtual CPaintManagerUI* GetManager() const;
  // Passes the call to the cover (as its parent), stores both pointers and runs Init() when
  // `init` is set and a parent is given.
  virtual void SetManager(IControlManagerUI* manager, CControlUI* parent, bool init = true);
  virtual CControlUI* GetParent() const;
  virtual CControlUI* GetCover() const;
  // Replaces (and deletes) the cover; the control takes ownership of `child`.
  virtual void SetCover(CControlUI* child);

  virtual CUiString GetText() const;
  virtual void SetText(const wchar_t* text);

  // Item rectangle, window coordinates.
  virtual const RECT& GetPos() const;
  // The item rectangle relative to the parent's top-left; empty without a parent.
  virtual RECT GetRelativePos() const;
  virtual RECT GetClientPos() const;
  // Places the control at `rc` (relative to the parent's item rectangle for a float control).
  virtual void SetPos(RECT rc, bool needInvalidate = true);
  // Shifts the item rectangle (and the cover) by `offset`.
  virtual void Move(SIZE offset, bool needInvalidate = true);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual int GetX() const;
  virtual int GetY() const;
  virtual RECT GetPadding() const;
  virtual void SetPadding(RECT rcPadding);
  virtual SIZE GetFixedXY() const;
  virtual void SetFixedXY(SIZE szXY);
  virtual TPercentInfo GetFloatPercent() const;
  virtual void SetFloatPercent(TPercentInfo piFloatPercent);
  virtual int GetFixedWidth() const;
  virtual void SetFixedWidth(int cx);
  virtual int GetFixedHeight() const;
  virtual void SetFixedHeight(int cy);
  virtual int GetMinWidth() const;
  virtual void SetMinWidth(int cx);
  virtual int GetMaxWidth() const;
  virtual void SetMaxWidth(int cx);
  virtual int GetMinHeight() const;
  virtual void SetMinHeight(int cy);
  virtual int GetMaxHeight() const;
  virtual void SetMaxHeight(int cy);

  virtual CUiString GetToolTip() const;
  // Stores the text with every "<n>" replaced by CR LF.
  virtual void SetToolTip(const wchar_t* text);
  virtual void SetToolTipWidth(int width);
  virtual int GetToolTipWidth() const;

  // The name and description screen readers give the control: the skin's `accname` and
  // `accdescription` (empty by default: then the name is the control's text, or its tooltip).
  const CUiString& GetAccessibleName() const { return m_sAccName; }
  void SetAccessibleName(const wchar_t* name);
  const CUiString& GetAccessibleDescription() const { return m_sAccDescription; }
  void SetAccessibleDescription(const wchar_t* description) { m_sAccDescription = description; }

  virtual wchar_t GetShortcut() const;
  virtual void SetShortcut(wchar_t ch);
  virtual bool IsContextMenuUsed() const;
  virtual void SetContextMenuUsed(bool menuUsed);
  virtual const CUiString& GetUserData() const;
  virtual void SetUserData(const wchar_t* text);
  virtual UINT_PTR GetTag() const;
  virtual void SetTag(UINT_PTR tag);

  // Own visibility and the visibility imposed by an ancestor, both.
  virtual bool IsVisible() const;
  virtual void SetVisible(bool visible = true);
  virtual void SetInternVisible(bool visible = true);
  virtual bool IsEnabled() const;
  virtual void SetEnabled(bool enabled = true);
  virtual bool IsMouseEnabled() const;
  virtual void SetMouseEnabled(bool enabled = true);
  virtual bool IsKeyboardEnabled() const;
  virtual void SetKeyboardEnabled(bool enabled = true);
  virtual bool IsFocused() const;
  // Asks the manager to give this control the focus.
  virtual void SetFocus();
  virtual bool IsFloat() const;
  virtual void SetFloat(bool isFloat = true);

  // Tests this control (and its cover) with `proc`; see the UIFIND_* flags.
  virtual CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags);

  // DoInit(), then OnInit.
  virtual void Init();
  virtual void DoInit();

  // Raises OnEvent and, unless a handler answers false, DoEvent.
  virtual void Event(TEventUI& event);
  virtual void DoEvent(TEventUI& event);

  // No reverse mapping: empty.
  virtual CUiString GetAttribute(const wchar_t* name);
  // Applies one skin attribute; names no handler claims become custom attributes.
  virtual void SetAttribute(const wchar_t* name, const wchar_t* value);
  virtual CUiString GetAttributeList(bool ignoreDefault = true);
  // Applies `name="value" name="value"` up to the first deviation from that form.
  virtual void SetAttributeList(const wchar_t* list);

  // The fixed size, whatever is available.
  virtual SIZE EstimateSize(SIZE szAvailable);

  // Paints the control and its cover where they meet `rcPaint`; false when `stopControl` was
  // reached (painting of the tree stops there).
  virtual bool Paint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl);
  // Background colour, background image, status image, text, border, under the rounded clip.
  virtual bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl);
  virtual void PaintBkColor(HDC hDC);
  virtual void PaintBkImage(HDC hDC);
  virtual void PaintStatusImage(HDC hDC);
  virtual void PaintText(HDC hDC);
  virtual void PaintBorder(HDC hDC);
  // Raises OnPostPaint.
  virtual void DoPostPaint(HDC hDC, const RECT& rcPaint);

  // Non-virtual state and helpers.
  IControlManagerUI* GetManagerInterface() const { return m_pManager; }
  CUiString GetVirtualWnd() const;
  void SetVirtualWnd(const wchar_t* value);
  bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
  // Repaints the visible part of the item rectangle.
  void Invalidate();
  // Marks the control for layout, repaints it and asks for a layout pass (visible only).
  void NeedUpdate();
  // NeedUpdate for the parent (or this control without one); always asks for a layout pass.
  void NeedParentUpdate();
  RECT GetPaintRect() const { return m_rcPaint; }

  // The first value of a name wins; empty names or values are ignored.
  void AddCustomAttribute(const wchar_t* name, const wchar_t* value) {
    m_customAttributes.Add(name, value);
  }
  // The value, or null.
  const wchar_t* GetCustomAttribute(const wchar_t* name) const {
    return m_customAttributes.Find(name);
  }
  bool RemoveCustomAttribute(const wchar_t* name) { return m_customAttributes.Remove(name); }
  void RemoveAllCustomAttribute() { m_customAttributes.RemoveAll(); }

  DWORD GetBkColor() const { return m_dwBackColor; }
  void SetBkColor(DWORD color);
  DWORD GetBkColor2() const { return m_dwBackColor2; }
  void SetBkColor2(DWORD color);
  DWORD GetBkColor3() const { return m_dwBackColor3; }
  void SetBkColor3(DWORD color);
  const wchar_t* GetBkImage() const { return m_diBk.drawString; }
  // Loads the image at once; a float control without fixed size takes the image's size.
  void SetBkImage(const wchar_t* description);
  DWORD GetBorderColor() const { return m_dwBorderColor; }
  void SetBorderColor(DWORD color);
  DWORD GetFocusBorderColor() const { return m_dwFocusBorderColor; }
  void SetFocusBorderColor(DWORD color);
  bool IsColorHSL() const { return m_bColorHSL; }
  void SetColorHSL(bool colorHSL);
  RECT GetBorderSize() const { return m_rcBorderSize; }
  void SetBorderSize(RECT rc);
  void SetBorderSize(int size);
  SIZE GetBorderRound() const { return m_cxyBorderRound; }
  void SetBorderRound(SIZE cxyRound);
  int GetBorderStyle() const { return m_nBorderStyle; }
  void SetBorderStyle(int style);
  // The colour after the manager's global hue/saturation/lightness when colorhsl is set.
  DWORD GetAdjustColor(DWORD color) const;
  // Draws an image description into the item rectangle, limited to the paint rectangle.
  bool DrawImage(HDC hDC, TDrawInfo& drawInfo);

  CEventSource OnInit;
  CEventSource OnDestroy;
  CEventSource OnSize;
  CEventSource OnEvent;
  CEventSource OnNotify;
  CEventSource OnPaint;
  CEventSource OnPostPaint;

 protected:
  // The lookup's checks of the control itself: false when the flags rule it out with everything
  // below it. `candidate` tells whether the control itself may be answered (a hit test skips a
  // control that takes no mouse input, but not its children).
  bool PassesFindFilters(FINDCONTROLPROC proc, void* data, UINT flags, bool& candidate);
  // The control itself when it is looked at first, then its cover.
  CControlUI* FindSelfFirstOrInCover(FINDCONTROLPROC proc, void* data, UINT flags,
                                     bool candidate);

  IControlManagerUI* m_pManager = nullptr;
  CControlUI* m_pParent = nullptr;
  CControlUI* m_pCover = nullptr;
  CUiString m_sVirtualWnd;
  CUiString m_sName;
  bool m_bUpdateNeeded = true;
  CUiRect m_rcItem;
  CUiRect m_rcPadding;
  SIZE m_cXY = {0, 0};
  SIZE m_cxyFixed = {0, 0};
  SIZE m_cxyMin = {0, 0};
  SIZE m_cxyMax = {9999, 9999};
  bool m_bVisible = true;
  bool m_bInternVisible = true;
  bool m_bEnabled = true;
  bool m_bMouseEnabled = true;
  bool m_bKeyboardEnabled = true;
  bool m_bFocused = false;
  bool m_bFloat = false;
  TPercentInfo m_piFloatPercent;
  bool m_bSetPos = false;  // OnSize is being raised
  bool m_bMenuUsed = false;

  CUiString m_sText;
  CUiString m_sToolTip;
  CUiString m_sAccName;
  CUiString m_sAccDescription;
  wchar_t m_chShortcut = 0;
  CUiString m_sUserData;
  UINT_PTR m_pTag = 0;

  DWORD m_dwBackColor = 0;
  DWORD m_dwBackColor2 = 0;
  DWORD m_dwBackColor3 = 0;
  TDrawInfo m_diBk;
  DWORD m_dwBorderColor = 0;
  DWORD m_dwFocusBorderColor = 0;
  bool m_bColorHSL = false;
  int m_nBorderStyle = PS_SOLID;
  int m_nTooltipWidth = 300;
  SIZE m_cxyBorderRound = {0, 0};
  CUiRect m_rcPaint;
  CUiRect m_rcBorderSize;
  CUiStringTable m_customAttributes;

  // Clips `rc` to the item rectangle of every ancestor; false when an ancestor is hidden (with
  // `stopAtHidden`) or nothing is left.
  bool ClipToAncestors(CUiRect& rc, bool stopAtHidden) const;
  // Gives `drawInfo` a new description and loads its image at once (nothing when the same
  // description is already loaded); a float control without fixed size takes `imageSize`, or
  // the image's size when that is empty; then invalidates. False when nothing was loaded.
  bool LoadDrawInfo(TDrawInfo& drawInfo, const wchar_t* description, SIZE imageSize = {0, 0});
  // Tells the window's accessibility clients about a change of this control.
  void NotifyAccessible(TAccessibleChange change) {
    if (m_pManager != nullptr) m_pManager->AccessibleChanged(this, change);
  }

 private:
  // Places the cover over the control after the control moved.
  void PositionCover();
};

// Paints a control (and its cover) for CRenderEngine::GenerateBitmap.
class CControlPainter : public IRenderPainter {
 public:
  explicit CControlPainter(CControlUI* control) : m_control(control) {}
  void PaintInto(HDC hDC, const RECT& rcPaint) override {
    if (m_control != nullptr) m_control->Paint(hDC, rcPaint, nullptr);
  }

 private:
  CControlUI* m_control;
};

}  // namespace SkinUI
