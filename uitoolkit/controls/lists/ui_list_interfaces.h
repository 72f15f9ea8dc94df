// What the list family shares: the look every element takes from its owner (a list or a combo
// box), the owner's side that elements call, and the element's side that owners call. A list and
// a combo box both own elements (ListLabelElement, ListTextElement, ListHBoxElement,
// ListContainerElement); an element knows its owner only through IListOwnerUI. An owner answers
// GetInterface(L"IListOwner") with its IListOwnerUI and hands each element it takes
// IListItemUI::SetOwner(itself) and SetIndex; an element answers GetInterface(L"ListItem").
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_event.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// Columns a header can give the elements of its list.
constexpr int kMaxListColumns = 64;

// The item look set on a list or combo box and used by every element it owns.
struct TListInfoUI {
  // Columns of the header (item rectangles' left and right edges, in window coordinates); 0
  // columns: an element is one column as wide as itself.
  int columnCount = 0;
  RECT columns[kMaxListColumns] = {};
  int font = -1;                           // the manager's font index; -1 the default font
  UINT textStyle = DT_VCENTER | DT_SINGLELINE;
  RECT textPadding = {};
  DWORD textColor = 0;                     // 0 in a colour: the default for that state
  DWORD bkColor = 0;
  DWORD alternateBkColor = 0;              // every second row, when set
  DWORD hotTextColor = 0;
  DWORD hotBkColor = 0;
  DWORD selectedTextColor = 0;
  DWORD selectedBkColor = 0;
  DWORD disabledTextColor = 0;
  DWORD disabledBkColor = 0;
  DWORD lineColor = 0;                     // a line under each row and between columns, when set
  CUiString bkImage;
  CUiString hotImage;
  CUiString selectedImage;
  CUiString disabledImage;
  bool showHtml = false;                   // element texts take the text controls' markup
  int itemHeight = 0;                      // an element without its own height; 0: from the font
};

class IListOwnerUI {
 public:
  virtual TListInfoUI* GetListInfo() = 0;
  // The selected element's index, or -1.
  virtual int GetCurSel() const = 0;
  // Selects the element at `index` alone (-1: none); false when nothing changed or the index is
  // outside.
  virtual bool SelectItem(int index, bool takeFocus = false) = 0;
  // A click or key on an element that the element does not use itself (selection with Ctrl and
  // Shift, activation, keyboard navigation, the wheel) goes to its owner.
  virtual void DoEvent(TEventUI& event) = 0;
  // Whether the element at `index` takes the alternate background: every second row shown.
  virtual bool IsAlternateRow(int index) const { return index % 2 == 1; }

 protected:
  ~IListOwnerUI() = default;
};

class IListItemUI {
 public:
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual IListOwnerUI* GetOwner() = 0;
  virtual void SetOwner(CControlUI* owner) = 0;
  virtual bool IsSelected() const = 0;
  // Marks the element selected or not, as its owner decides; sends nothing.
  virtual bool Select(bool select = true) = 0;
  // Draws the element's text into `rcItem` with its owner's look (a combo box draws its selected
  // element into its own box this way).
  virtual void DrawItemText(HDC hDC, const RECT& rcItem) = 0;

 protected:
  ~IListItemUI() = default;
};

}  // namespace SkinUI
