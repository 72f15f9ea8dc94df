// The elements a list or a combo box owns, each one row: ListLabelElement (one text),
// ListTextElement (one text per column), ListContainerElement (child controls in a row) and
// ListHBoxElement (one child control per column). They take their look from their owner's
// TListInfoUI and pass clicks, keys and the wheel to their owner, which selects.
#pragma once

#include <windows.h>

#include <memory>

#include "uitoolkit/controls/lists/ui_list_interfaces.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// The look of one row in its state.
struct TListRowState {
  bool selected = false;
  bool hot = false;
  bool disabled = false;
  bool alternate = false;  // every second row shown
};

// The background colour, text colour and image description a row takes from `info` in `state`
// (0 / empty: none). The defaults of an unset colour: `defaultText` for text, `defaultSelected`
// behind a selected row and a light blue behind a hot one.
DWORD ListRowBkColor(const TListInfoUI& info, const TListRowState& state, DWORD defaultSelected);
DWORD ListRowTextColor(const TListInfoUI& info, const TListRowState& state, DWORD defaultText,
                       DWORD defaultDisabled);
const wchar_t* ListRowImage(const TListInfoUI& info, const TListRowState& state);
constexpr DWORD kDefaultListHotBkColor = 0xFFE5F3FF;
constexpr DWORD kDefaultListSelectedBkColor = 0xFFCCE8FF;

// Column `column` of a ListTextElement's text, whose columns are separated by '|'; empty past
// the last.
CUiString ListColumnText(const CUiString& text, int column);
// `text` with column `column` replaced by `value` ('|' in `value` becomes a space), with empty
// columns added up to it.
CUiString WithListColumnText(const CUiString& text, int column, const wchar_t* value);
constexpr wchar_t kListColumnSeparator = L'|';

// What every element keeps and does as a row of its owner; both element bases hold one.
class CListRow {
 public:
  int index = -1;
  IListOwnerUI* owner = nullptr;
  bool selected = false;
  bool hot = false;

  // The owner of `control` as an IListOwnerUI ("IListOwner"), or null.
  void SetOwner(CControlUI* ownerControl);
  TListRowState StateOf(const CControlUI& self) const;
  // Paints the row background (colour, image, line) into `self`'s rectangle.
  void PaintBackground(CControlUI& self, HDC hDC) const;
  // Row behaviour for `event`: the click, double click, keys and wheel go to the owner (with
  // `self` as sender), hover changes the hot look. False when the event is not a row's.
  bool HandleEvent(CControlUI& self, TEventUI& event);
  // Sends "itemactivate" about `self`; false when `self` is hidden or disabled.
  bool Activate(CControlUI& self);
  // Marks the row selected or not and repaints it; false when nothing changed.
  bool Select(CControlUI& self, bool select);
};

// The row half of every element over its control base `Base` (a plain control or a horizontal
// layout): the IListItemUI answers, selection, activation, row events and the row background.
template <class Base>
class CListRowElementUI : public Base, public IListItemUI {
 public:
  bool Activate() override { return CControlUI::Activate() && m_row.Activate(*this); }
  void DoEvent(TEventUI& event) override {
    if (!m_row.HandleEvent(*this, event)) Base::DoEvent(event);
  }
  // Its own background colour when it has one, else the row's look.
  void PaintBkColor(HDC hDC) override {
    if (this->m_dwBackColor != 0) {
      CControlUI::PaintBkColor(hDC);
    } else {
      m_row.PaintBackground(*this, hDC);
    }
  }
  void PaintStatusImage(HDC) override {}

  int GetIndex() const override { return m_row.index; }
  void SetIndex(int index) override { m_row.index = index; }
  IListOwnerUI* GetOwner() override { return m_row.owner; }
  void SetOwner(CControlUI* owner) override { m_row.SetOwner(owner); }
  bool IsSelected() const override { return m_row.selected; }
  bool Select(bool select = true) override { return m_row.Select(*this, select); }

 protected:
  // `self` for its class name `className`, the IListItemUI for "ListItem", else the base's.
  void* RowInterface(const wchar_t* name, const wchar_t* className) {
    if (NameIs(name, className)) return this;
    if (NameIs(name, L"ListItem")) return static_cast<IListItemUI*>(this);
    return Base::GetInterface(name);
  }
  CListRow m_row;
};

class CListLabelElementUI : public CListRowElementUI<CControlUI> {
 public:
  static constexpr const wchar_t* kClassName = L"ListLabelElement";

  const wchar_t* GetClass() const override { return kClassName; }
  // "ListLabelElement", "ListItem" (the IListItemUI), then the control's names.
  void* GetInterface(const wchar_t* name) override { return RowInterface(name, kClassName); }
  void PaintText(HDC hDC) override;
  void DrawItemText(HDC hDC, const RECT& rcItem) override;

 protected:
  // The colour of the text in the row's state.
  DWORD TextColor() const;
  // Draws `text` into the cell `rc` less the owner's text padding, plain or as markup (then
  // its links are recorded into `linkRects`/`linkTexts`, `linkCount` at most).
  void DrawCellText(HDC hDC, RECT rc, const wchar_t* text, DWORD color, RECT* linkRects,
                    CUiString* linkTexts, int& linkCount);
};

class CListTextElementUI : public CListLabelElementUI {
 public:
  static constexpr const wchar_t* kClassName = L"ListTextElement";
  static constexpr int kMaxLinks = 8;

  const wchar_t* GetClass() const override { return kClassName; }
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;
  void DoEvent(TEventUI& event) override;
  // One text per column of the owner's header (one column without a header).
  void DrawItemText(HDC hDC, const RECT& rcItem) override;

  CUiString GetColumnText(int column) const { return ListColumnText(m_sText, column); }
  void SetColumnText(int column, const wchar_t* text);

 private:
  // Link rectangles and texts of the last paint; only a row that drew links has them.
  struct TLinks {
    int count = 0;
    RECT rects[kMaxLinks] = {};
    CUiString texts[kMaxLinks];
  };
  int LinkAt(POINT pt) const;
  std::unique_ptr<TLinks> m_links;
};

class CListContainerElementUI : public CListRowElementUI<CHorizontalLayoutUI> {
 public:
  static constexpr const wchar_t* kClassName = L"ListContainerElement";

  const wchar_t* GetClass() const override { return kClassName; }
  void* GetInterface(const wchar_t* name) override { return RowInterface(name, kClassName); }
  // Its own text, if any, in the first column (a combo box shows it in its box).
  void DrawItemText(HDC hDC, const RECT& rcItem) override;
};

class CListHBoxElementUI : public CListContainerElementUI {
 public:
  static constexpr const wchar_t* kClassName = L"ListHBoxElement";

  const wchar_t* GetClass() const override { return kClassName; }
  void* GetInterface(const wchar_t* name) override;
  // Child i fills column i of the owner's header (less its padding); children past the
  // columns get an empty rectangle. Without a header: as a horizontal layout.
  void SetPos(RECT rc, bool needInvalidate = true) override;
};

}  // namespace SkinUI
