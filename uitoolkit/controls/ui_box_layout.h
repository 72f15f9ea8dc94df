// CVerticalLayoutUI and CHorizontalLayoutUI: containers that arrange their children in a column
// or a row. Along the axis each child has a size (fixed, or what it estimates) or stretches, and
// the stretchable children share what is left, the last one taking the rounding remainder; across
// the axis each child fills the breadth up to its fixed or maximum size and is aligned. Float
// children are placed from their anchors instead.
#pragma once

#include "uitoolkit/controls/ui_container.h"

namespace SkinUI {

class CVerticalLayoutUI : public CContainerUI {
 public:
  // "VerticalLayout".
  const wchar_t* GetClass() const override;
  // "VerticalLayout", then the container's names.
  void* GetInterface(const wchar_t* name) override;
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // `sepheight` (int) and `sepimm` (bool); others go to the container.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Thickness of the drag strip that resizes the layout (positive: at the bottom, negative: at
  // the top, 0: none). The drag itself is not built.
  int GetSepHeight() const { return m_iSepHeight; }
  void SetSepHeight(int height);
  bool IsSepImmMode() const { return m_bImmMode; }
  void SetSepImmMode(bool immediately);

 private:
  int m_iSepHeight = 0;
  bool m_bImmMode = false;
};

class CHorizontalLayoutUI : public CContainerUI {
 public:
  // "HorizontalLayout".
  const wchar_t* GetClass() const override;
  // "HorizontalLayout", then the container's names.
  void* GetInterface(const wchar_t* name) override;
  // A child whose fixed width is 0 stretches without being asked for an estimate.
  void SetPos(RECT rc, bool needInvalidate = true) override;
  // `sepwidth` (int) and `sepimm` (bool); others go to the container.
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Thickness of the drag strip (positive: at the right, negative: at the left, 0: none). The
  // drag itself is not built.
  int GetSepWidth() const { return m_iSepWidth; }
  void SetSepWidth(int width);
  bool IsSepImmMode() const { return m_bImmMode; }
  void SetSepImmMode(bool immediately);

 private:
  int m_iSepWidth = 0;
  bool m_bImmMode = false;
};

}  // namespace SkinUI
