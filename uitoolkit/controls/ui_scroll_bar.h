// CScrollBarUI: the scroll bar a container creates on demand. What the containers rely on is
// built: orientation, range, position and a line step, and its default thickness. Its own look
// and input (thumb, arrow buttons, dragging, paging by click) are not built: it paints as a plain
// control and ignores the mouse.
#pragma once

#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

class CContainerUI;

class CScrollBarUI : public CControlUI {
 public:
  // Thickness of a new bar: the fixed width of a vertical bar, the fixed height of a horizontal
  // one.
  static constexpr int kDefaultThickness = 16;

  CScrollBarUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  CContainerUI* GetOwner() const { return m_pOwner; }
  void SetOwner(CContainerUI* owner) { m_pOwner = owner; }
  bool IsHorizontal() const { return m_bHorizontal; }
  // Turns the bar and moves the default thickness to the other axis.
  void SetHorizontal(bool horizontal = true);
  int GetScrollRange() const { return m_nRange; }
  // Negative ranges read as 0; the position is kept inside the new range.
  void SetScrollRange(int range);
  int GetScrollPos() const { return m_nScrollPos; }
  // The position limited to [0, range].
  void SetScrollPos(int pos);
  int GetLineSize() const { return m_nLineSize; }
  void SetLineSize(int size);

  // `hor` (bool), `range`, `value`, `linesize` (decimal); others go to the control.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

 private:
  CContainerUI* m_pOwner = nullptr;
  bool m_bHorizontal = false;
  int m_nRange = 0;
  int m_nScrollPos = 0;
  int m_nLineSize = 8;
};

}  // namespace SkinUI
