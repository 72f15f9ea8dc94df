// CComboUI: the drop-down list combo box (`<Combo>`, `<ComboBox>`). It owns list elements (its
// children in the skin) and shows the selected one's text in its own box with a drop-down
// arrow. A click, F4 or Alt+Down opens a pop-up window below (or above) the box that hosts the
// elements as a scrolling list; choosing one there closes it and sends "itemselect". While
// closed, the wheel and the arrow keys change the selection directly.
#pragma once

#include <memory>
#include <vector>

#include "uitoolkit/controls/lists/ui_list_interfaces.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/controls/ui_popup_host.h"
#include "uitoolkit/controls/ui_state_images.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {

class CComboUI : public CContainerUI, public IListOwnerUI, public IPopupListenerUI {
 public:
  static constexpr const wchar_t* kClassName = L"Combo";
  // The drop-down's size when the skin gives none: as wide as the box, 150 pixels high at most.
  static constexpr SIZE kDefaultDropBoxSize = {0, 150};

  CComboUI();
  ~CComboUI() override;

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;

  // The elements: each one added learns its owner and index.
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  void RemoveAll() override;

  // IListOwnerUI. While the drop-down is open a new selection is only shown; it is sent when
  // the drop-down closes with it.
  TListInfoUI* GetListInfo() override { return &m_listInfo; }
  int GetCurSel() const override { return m_iCurSel; }
  bool SelectItem(int index, bool takeFocus = false) override;
  void DoEvent(TEventUI& event) override;

  // Opens the drop-down ("dropdown"); false when it is open already or cannot be made.
  bool OpenDropDown();
  // Closes it; `commit` keeps the element chosen there (and sends "itemselect" when it differs
  // from the one selected at opening), otherwise the earlier selection comes back.
  void CloseDropDown(bool commit);
  bool IsDroppedDown() const { return m_dropList != nullptr; }
  // The pop-up window while open, else null.
  HWND GetDropDownWindow() const;

  SIZE GetDropBoxSize() const { return m_szDropBox; }
  void SetDropBoxSize(SIZE size) { m_szDropBox = size; }
  RECT GetTextPadding() const { return m_rcTextPadding; }
  void SetTextPadding(RECT rc);

  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  void Move(SIZE offset, bool needInvalidate = true) override;
  SIZE EstimateSize(SIZE szAvailable) override;
  CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
  void SetEnabled(bool enabled = true) override;
  void SetVisible(bool visible = true) override;
  void SetInternVisible(bool visible = true) override;
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;
  void PaintBorder(HDC hDC) override;

  // IPopupListenerUI: the drop-down's keys and clicks.
  bool OnPopupKey(UINT vk, bool alt) override;
  void OnPopupClick(POINT pt) override;
  void OnPopupDismiss() override;
  void OnPopupClosing(CControlUI* root) override;

 private:
  // The element at `index` as a list element, or null (any control may be a child; one that is
  // no list element shows its plain text).
  IListItemUI* ItemAt(int index) const;
  // Selects `index`, marks the elements and, when `notify`, sends "itemselect".
  bool ChangeSelection(int index, bool notify);
  void Reindex(int from);
  // The drop-down's screen rectangle for the box where it is now.
  RECT DropDownRect() const;
  void EnsureSelectedVisible();
  // Moves the selection as the navigation key `vk` does (a page: the drop-down's rows).
  bool StepSelection(UINT vk, bool notify);
  bool StateImage(HDC hDC);

  TListInfoUI m_listInfo;
  int m_iCurSel = -1;
  int m_iOpenSel = -1;     // the selection when the drop-down opened
  int m_iPendingSel = -1;  // `cursel` naming an element not added yet
  UINT m_uButtonState = 0;
  RECT m_rcTextPadding = {4, 0, 2, 0};
  SIZE m_szDropBox = kDefaultDropBoxSize;
  CUiString m_sDropBoxAttributes;
  DWORD m_dwTextColor = 0;
  DWORD m_dwDisabledTextColor = 0;
  DWORD m_dwArrowColor = 0;
  TStateImagesUI m_images;
  std::unique_ptr<IPopupHostUI> m_popup;
  CContainerUI* m_dropList = nullptr;  // the pop-up's root while open (owned by the pop-up)
  std::vector<bool> m_sizedRows;       // the rows given the item height while open
};

}  // namespace SkinUI
