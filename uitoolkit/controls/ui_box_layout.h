// CVerticalLayoutUI and CHorizontalLayoutUI: containers that arrange their children in a column
// or a row. Along the axis each child has a size (fixed, or what it estimates) or stretches, and
// the stretchable children share what is left, the last one taking the rounding remainder; across
// the axis each child fills the breadth up to its fixed or maximum size and is aligned. Float
// children are placed from their anchors instead.
#pragma once

#include "uitoolkit/controls/ui_container.h"

namespace SkinUI {

// What the two box layouts share: the separator, a strip of |separator| pixels at one edge that
// resizes the layout when dragged (positive: at the trailing edge, bottom or right; negative: at
// the leading edge, top or left; 0: none). Over the strip the pointer shows the sizing cursor.
// With immediate mode the layout's fixed size follows the mouse; otherwise a drag line shows the
// prospective edge and the size is applied when the button is released. The size stays within
// the layout's minimum and maximum along its axis.
class CBoxLayoutUI : public CContainerUI {
 public:
  // The separator strip wins the hit test over the children below it.
  CControlUI* FindControl(FINDCONTROLPROC proc, void* data, UINT flags) override;
  // The set-cursor flag when there is a separator.
  UINT GetControlFlags() const override;
  void DoEvent(TEventUI& event) override;
  // Draws the drag line of a drag that applies on release.
  void DoPostPaint(HDC hDC, const RECT& rcPaint) override;

  bool IsSepImmMode() const { return m_bImmMode; }
  void SetSepImmMode(bool immediately) { m_bImmMode = immediately; }
  // The colour of the drag line.
  static constexpr DWORD kDragLineColor = 0xFF404040;

 protected:
  explicit CBoxLayoutUI(bool horizontal) : m_bHorizontal(horizontal) {}
  int m_iSeparator = 0;

 private:
  RECT SeparatorStripRect() const;
  RECT DragLineRect() const;
  // The layout's size along its axis becomes `extent` (its fixed width or height).
  void ApplyExtent(LONG extent);
  void EndDrag();

  bool m_bHorizontal;
  bool m_bImmMode = false;
  bool m_bDragging = false;
  POINT m_ptDragStart = {0, 0};
  LONG m_nDragStartExtent = 0;
  LONG m_nDragExtent = 0;
};

class CVerticalLayoutUI : public CBoxLayoutUI {
 public:
  CVerticalLayoutUI() : CBoxLayoutUI(false) {}
  // "VerticalLayout".
  const wchar_t* GetClass() const override;
  // "VerticalLayout", then the container's names.
  void* GetInterface(const wchar_t* name) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // `sepheight` (int) and `sepimm` (bool); others go to the container.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Thickness of the drag strip that resizes the layout's height (positive: at the bottom,
  // negative: at the top, 0: none).
  int GetSepHeight() const { return m_iSeparator; }
  void SetSepHeight(int height) { m_iSeparator = height; }
};

class CHorizontalLayoutUI : public CBoxLayoutUI {
 public:
  CHorizontalLayoutUI() : CBoxLayoutUI(true) {}
  // "HorizontalLayout".
  const wchar_t* GetClass() const override;
  // "HorizontalLayout", then the container's names.
  void* GetInterface(const wchar_t* name) override;
  // A child whose fixed width is 0 stretches without being asked for an estimate.
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // `sepwidth` (int) and `sepimm` (bool); others go to the container.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Thickness of the drag strip that resizes the layout's width (positive: at the right,
  // negative: at the left, 0: none).
  int GetSepWidth() const { return m_iSeparator; }
  void SetSepWidth(int width) { m_iSeparator = width; }
};

}  // namespace SkinUI
