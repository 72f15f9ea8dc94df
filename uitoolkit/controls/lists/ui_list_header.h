// CListHeaderUI (ListHeader) and CListHeaderItemUI (ListHeaderItem): the column headings of a
// list. The header items' widths are the list's columns; dragging an item's right edge resizes
// its column.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_state_images.h"

namespace SkinUI {

// The width a header item takes when its right edge was dragged from `startWidth` by `dx`
// pixels: never below `minWidth` (nor 0).
int DraggedColumnWidth(int startWidth, int dx, int minWidth);

// A row of header items; its items' fixed widths give the columns.
class CListHeaderUI : public CHorizontalLayoutUI {
 public:
  static constexpr const wchar_t* kClassName = L"ListHeader";
  static constexpr int kDefaultHeight = 24;

  const wchar_t* GetClass() const override { return kClassName; }
  void* GetInterface(const wchar_t* name) override;
  // The items side by side from the left at their widths (an item without a width: 100).
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // The header's own look under the items: light grey by default.
  void PaintBkColor(HDC hDC) override;
  // The sum of the visible items' widths.
  int GetColumnsWidth() const;
};

class CListHeaderItemUI : public CControlUI {
 public:
  static constexpr const wchar_t* kClassName = L"ListHeaderItem";
  static constexpr int kDefaultWidth = 100;
  static constexpr int kDefaultSepWidth = 4;

  const wchar_t* GetClass() const override { return kClassName; }
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;
  void DoEvent(TEventUI& event) override;
  // `font`, `textcolor`, `align`, `textpadding`, `sepwidth`, `sepcolor`, `hotbkcolor`,
  // `pushedbkcolor`, `normalimage`, `hotimage`, `pushedimage`; others go to the control.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintBkColor(HDC hDC) override;
  void PaintStatusImage(HDC hDC) override;
  void PaintText(HDC hDC) override;

  // The width the header gives the item: its fixed width, else the default.
  int GetColumnWidth() const { return m_cxyFixed.cx > 0 ? m_cxyFixed.cx : kDefaultWidth; }

 private:
  RECT SizingStrip() const;

  int m_iFont = -1;
  DWORD m_dwTextColor = 0;
  UINT m_uTextStyle = DT_VCENTER | DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS;
  RECT m_rcTextPadding = {4, 0, 4, 0};
  int m_iSepWidth = kDefaultSepWidth;
  DWORD m_dwSepColor = 0xFFC8C8C8;
  DWORD m_dwHotBkColor = 0xFFE5F3FF;
  DWORD m_dwPushedBkColor = 0xFFCCE8FF;
  TStateImagesUI m_images;
  bool m_bHot = false;
  bool m_bPushed = false;
  bool m_bSizing = false;
  POINT m_ptDragStart = {0, 0};
  int m_iDragStartWidth = 0;
};

}  // namespace SkinUI
