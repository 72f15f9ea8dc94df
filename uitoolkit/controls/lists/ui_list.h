// CListUI (List): a vertical, scrolling list of elements with an optional header, single or
// multiple selection, keyboard navigation and a list-wide item look. Its elements live in its
// body (a scrolling vertical layout that lays out and paints only what it must); the item calls
// of IContainerUI reach the elements, a ListHeader child becomes the header.
#pragma once

#include <windows.h>

#include <vector>

#include "uitoolkit/controls/lists/ui_list_header.h"
#include "uitoolkit/controls/lists/ui_list_interfaces.h"
#include "uitoolkit/controls/ui_box_layout.h"

namespace SkinUI {

class CListUI;

// The scrolling body of a list: its rows top to bottom at their heights, as wide as the
// client area or the header's columns, whichever is wider.
class CListBodyUI : public CVerticalLayoutUI {
 public:
  explicit CListBodyUI(CListUI* owner) : m_pOwner(owner) {}

  void SetPos(RECT rc, bool needInvalidate = true) override;
  // Only the rows meeting the paint rectangle are painted.
  bool DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) override;
  // A hit test looks only at the row under the point.
  CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
  // The header follows a horizontal scroll.
  void SetScrollPos(SIZE pos) override;
  // Orders the rows by `compare` (stable).
  void SortRows(int (*compare)(CControlUI*, CControlUI*, UINT_PTR), UINT_PTR data);
  // Takes `count` rows from `first` on out of the body without destroying them.
  void DetachRows(int first, int count);
  // Whether the row at `index` was an odd one among the rows shown at the last layout.
  bool IsAlternateRow(int index) const;

 private:
  // The first row whose bottom is below `y` (the count when none is).
  int FirstRowBelow(LONG y) const;
  CListUI* m_pOwner;
  std::vector<bool> m_alternate;  // per row, from the last layout
};

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
 public:
  static constexpr const wchar_t* kClassName = L"List";
  // Compares two elements for SortItems: negative, 0 or positive.
  using CompareItems = int (*)(CControlUI* first, CControlUI* second, UINT_PTR data);

  CListUI();

  const wchar_t* GetClass() const override { return kClassName; }
  // "List", "IListOwner" (the IListOwnerUI), then the layout's names.
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;
  void DoEvent(TEventUI& event) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // The list attributes (see the README); the scroll-bar attributes go to the body.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Items are the elements (the header is not an item).
  CControlUI* GetItemAt(int index) const override;
  int GetItemIndex(CControlUI* control) const override;
  bool SetItemIndex(CControlUI* control, int index) override;
  bool SetMultiItemIndex(CControlUI* startControl, int count, int newStartIndex) override;
  int GetCount() const override;
  // A ListHeader becomes the header (the first one; a second is refused); anything else is an
  // element.
  bool Add(CControlUI* control) override;
  bool AddAt(CControlUI* control, int index) override;
  bool Remove(CControlUI* control, bool doNotDestroy = false) override;
  bool RemoveAt(int index, bool doNotDestroy = false) override;
  void RemoveAll() override;
  SIZE GetScrollPos() const override;
  SIZE GetScrollRange() const override;
  void SetScrollPos(SIZE pos) override;

  // IListOwnerUI
  TListInfoUI* GetListInfo() override { return &m_listInfo; }
  // The caret element's index when it is selected, else -1.
  int GetCurSel() const override;
  bool SelectItem(int index, bool takeFocus = false) override;
  // Every second row shown, hidden rows not counted.
  bool IsAlternateRow(int index) const override { return m_pBody->IsAlternateRow(index); }

  bool IsMultiSelect() const { return m_bMultiSelect; }
  // Leaving multiple selection keeps only the current selection.
  void SetMultiSelect(bool multiSelect);
  // Indexes of the selected elements, ascending.
  std::vector<int> GetSelectedIndexes() const;
  // Scrolls the least that shows the element at `index` whole.
  void EnsureVisible(int index);
  // Orders the elements by `compare`; the selection stays with its elements.
  bool SortItems(CompareItems compare, UINT_PTR data);
  CListHeaderUI* GetHeader() const { return m_pHeader; }
  CListBodyUI* GetBody() const { return m_pBody; }
  // The header's columns width (0 without a header).
  int GetColumnsWidth() const;
  // Places the header above the body, scrolled with it, and records its columns.
  void LayOutHeader();
  // The height of an element in this list.
  int ElementHeight(CControlUI* element);

 protected:
  // The element last clicked or moved to (selected or not), or null.
  CControlUI* GetCaret() const { return m_pCaret; }
  // Takes `count` elements from `first` on out of the list without destroying them; the
  // selection forgets them ("itemselect" when the current selection changed).
  void DetachElements(int first, int count);

 private:
  IListItemUI* ItemOf(CControlUI* control) const;
  int IndexOf(CControlUI* control) const;
  // Numbers the elements from `first` on.
  void Renumber(int first);
  // Clears every selected element but `keep`.
  void ClearSelection(CControlUI* keep = nullptr);
  void SetSelected(CControlUI* element, bool selected);
  // Selects by `mode` at `index`, moves the caret there, shows it and sends "itemselect" when
  // the current selection changed. False when nothing changed.
  bool SelectWithMode(int index, int mode);
  // Sends "itemselect" when GetCurSel() moved from `previous`.
  void NotifySelection(int previous);
  void DropElement(CControlUI* element);
  // The row `steps` visible rows from `from` (towards the end when `steps` > 0), or the last
  // visible row on the way.
  int StepVisibleRows(int from, int steps) const;

  CListHeaderUI* m_pHeader = nullptr;
  CListBodyUI* m_pBody = nullptr;
  TListInfoUI m_listInfo;
  bool m_bMultiSelect = false;
  CControlUI* m_pCaret = nullptr;
  CControlUI* m_pAnchor = nullptr;
  std::vector<CControlUI*> m_selection;
  int m_iFontHeight = -1;
  bool m_bForwarding = false;
};

}  // namespace SkinUI
