// CProgressUI: a bar that shows a value between a minimum and a maximum by drawing its fore
// image over the filled part (from the left, or from the bottom when vertical).
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_label.h"

namespace SkinUI {

// The filled part relative to the bar's top-left, for a bar of `size` with `minimum` <
// `maximum` and `value` in between: horizontal (0, 0, (value - min) * width / (max - min),
// height); vertical (0, (max - value) * height / (max - min), width, height). Integer arithmetic,
// truncating.
RECT ProgressFillRect(SIZE size, bool horizontal, int minimum, int maximum, int value);

class CProgressUI : public CLabelUI {
 public:
  CProgressUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // Repairs the range (maximum at least minimum + 1) and the value, then draws the fore image
  // over the filled part.
  void PaintStatusImage(HDC hDC) override;

  bool IsHorizontal() const { return m_bHorizontal; }
  void SetHorizontal(bool horizontal = true);
  int GetMinValue() const { return m_nMin; }
  void SetMinValue(int minimum);
  int GetMaxValue() const { return m_nMax; }
  void SetMaxValue(int maximum);
  int GetValue() const { return m_nValue; }
  // Stores `value` limited to [minimum, maximum].
  void SetValue(int value);
  const wchar_t* GetForeImage() const { return m_diFore.drawString; }
  void SetForeImage(const wchar_t* description);

 protected:
  bool m_bHorizontal = true;
  int m_nMin = 0;
  int m_nMax = 100;
  int m_nValue = 0;
  TDrawInfo m_diFore;
};

}  // namespace SkinUI
