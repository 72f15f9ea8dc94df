// IContainerUI and CContainerUI: a control that owns an ordered list of child controls and an
// optional pair of scroll bars. The plain container lays every child over its whole client area;
// the box layouts (ui_box_layout.h) arrange them in a column or a row.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/core/ui_containers.h"

namespace SkinUI {

class CScrollBarUI;

// Item management of a container, what GetInterface("IContainer") answers.
class IContainerUI {
 public:
  // The item at `index`, or null.
  virtual CControlUI* GetItemAt(int index) const = 0;
  // The position of `control` among the items, or -1.
  virtual int GetItemIndex(CControlUI* control) const = 0;
  // Moves `control` to `index`; false when it is not an item or `index` is outside.
  virtual bool SetItemIndex(CControlUI* control, int index) = 0;
  // Moves `count` items starting with `startControl` to start at `newStartIndex`.
  virtual bool SetMultiItemIndex(CControlUI* startControl, int count, int newStartIndex) = 0;
  virtual int GetCount() const = 0;
  // Appends / inserts a child (null is refused); the container owns it from now on.
  virtual bool Add(CControlUI* control) = 0;
  virtual bool AddAt(CControlUI* control, int index) = 0;
  // Takes an item out; with auto-destroy and unless `doNotDestroy`, it is also destroyed (now, or
  // by the manager's delayed clean-up). False when it is not an item.
  virtual bool Remove(CControlUI* control, bool doNotDestroy = false) = 0;
  virtual bool RemoveAt(int index, bool doNotDestroy = false) = 0;
  virtual void RemoveAll() = 0;

 protected:
  ~IContainerUI() = default;
};

class CContainerUI : public CControlUI, public IContainerUI {
 public:
  CContainerUI();
  // Deletes the items (with auto-destroy) and the scroll bars.
  ~CContainerUI() override;

  // "Container".
  const wchar_t* GetClass() const override;
  // "IContainer": the item interface; "Container": the container; others go to the control.
  void* GetInterface(const wchar_t* name) override;

  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  bool SetMultiItemIndex(CControlUI* startControl, int count, int newStartIndex) override;
  int GetCount() const override;
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  bool RemoveAt(int index, bool doNotDestroy = false) override;
  void RemoveAll() override;

  // Operations of the control that containers extend. With a visible, enabled vertical bar the
  // wheel scrolls the content (the system's lines per notch, 3 by default, of the bar's line
  // size) and Page Up/Down, Home and End page or go to the ends; arrows scroll by a line while
  // the container itself has the focus. What a container cannot scroll goes on to its parent.
  void DoEvent(TEventUI& event) override;
  // The base, then every item's internal visibility follows this container's visibility.
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  // Forwards to the items (with this container as parent) and to both scroll bars, then the base.
  void SetManager(IControlManagerUI* manager, CControlUI* parent, bool init = true) override;
  // Visible non-float items fill the client area (clamped to their own minimum and maximum);
  // float items are placed from their anchors.
  void SetPos(RECT rc, bool needInvalidate = true) override;
  void Move(SIZE offset, bool needInvalidate = true) override;
  // The control's rules, then the cover, the scroll bars and the items (last first with
  // UIFIND_TOP_FIRST); with a hit test a non-float item counts only inside the client area.
  CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // The container itself, then its items clipped to the client area (float items to the item
  // rectangle), then the scroll bars.
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;

  virtual RECT GetInset() const;
  virtual void SetInset(RECT rcInset);
  virtual int GetChildPadding() const;
  // Negative values are stored as 0.
  virtual void SetChildPadding(int padding);
  virtual UINT GetChildAlign() const;
  virtual void SetChildAlign(UINT align);
  virtual UINT GetChildVAlign() const;
  virtual void SetChildVAlign(UINT align);
  virtual bool IsAutoDestroy() const;
  virtual void SetAutoDestroy(bool autoDestroy);
  virtual bool IsDelayedDestroy() const;
  virtual void SetDelayedDestroy(bool delayedDestroy);
  virtual bool IsMouseChildEnabled() const;
  virtual void SetMouseChildEnabled(bool enabled = true);

  // The index of the nearest item from `index` (towards `forward`) that is visible and enabled
  // and not float, or -1.
  virtual int FindSelectable(int index, bool forward = true) const;

  // Scroll positions and ranges (horizontal in cx, vertical in cy); 0 without the bar.
  virtual SIZE GetScrollPos() const;
  virtual SIZE GetScrollRange() const;
  // Moves the bars to `pos` (kept inside their ranges) and the items with them.
  virtual void SetScrollPos(SIZE pos);
  virtual void LineUp();
  virtual void LineDown();
  virtual void PageUp();
  virtual void PageDown();
  virtual void HomeUp();
  virtual void EndDown();
  virtual void LineLeft();
  virtual void LineRight();
  virtual void PageLeft();
  virtual void PageRight();
  virtual void HomeLeft();
  virtual void EndRight();
  // Creates or destroys the two scroll bars; a new bar stays hidden until the content exceeds
  // the client area.
  virtual void EnableScrollBar(bool enableVertical = true, bool enableHorizontal = false);
  virtual CScrollBarUI* GetVerticalScrollBar() const;
  virtual CScrollBarUI* GetHorizontalScrollBar() const;

  // Places the float item at `index` from its anchors within this container.
  virtual void SetFloatPos(int index);
  // Places the scroll bars along the right and bottom of the client area `rc` and sets their
  // ranges from how far the needed size exceeds it; a bar whose content fits is hidden.
  virtual void ProcessScrollBar(RECT rc, int neededWidth, int neededHeight);

  // The item rectangle minus the inset and the visible scroll bars.
  RECT GetClientArea() const;
  // Scrolls the least that brings `rc` (window coordinates) into the client area.
  void ScrollRectIntoView(const RECT& rc);

 protected:
  bool IsVerticalBarVisible() const;
  bool IsHorizontalBarVisible() const;
  // Deletes `control` now, or hands it to the manager's delayed clean-up.
  void DestroyItem(CControlUI* control);
  // Paints the visible scroll bars meeting `rcPaint`; false when `stopControl` was reached.
  bool PaintScrollBars(HDC hDC, const RECT& rcPaint, CControlUI* stopControl);
  // The container's own child `index` (its layout, painting and lookup walk these, also in a
  // container whose item calls reach other controls, as a list's reach its elements).
  CControlUI* OwnItemAt(int index) const { return static_cast<CControlUI*>(m_items[index]); }

  CUiPtrArray m_items;
  CUiRect m_rcInset;
  int m_iChildPadding = 0;
  UINT m_iChildAlign = 0;
  UINT m_iChildVAlign = 0;
  bool m_bAutoDestroy = true;
  bool m_bDelayedDestroy = true;
  bool m_bMouseChildEnabled = true;
  CScrollBarUI* m_pVerticalScrollBar = nullptr;
  CScrollBarUI* m_pHorizontalScrollBar = nullptr;

 private:
  // Applies `attributeList` to a bar after creating it.
  void StyleScrollBar(bool vertical, const wchar_t* attributeList);
  void SetScrollPosBy(LONG dx, LONG dy);
  // The wheel or scroll key of `event`; false when this container cannot scroll that way.
  bool Scroll(const TEventUI& event);
  bool m_bScrollProcessing = false;
};

// Scrolls every scrolling ancestor of `control` so that it comes into view (innermost first).
void ScrollControlIntoView(CControlUI* control);

}  // namespace SkinUI
