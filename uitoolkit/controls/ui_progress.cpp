#include "uitoolkit/controls/ui_progress.h"

#include <algorithm>
#include <climits>
#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
RECT ProgressFillRect(SIZE size, bool horizontal, int minimum, int maximum, int value) {
  // 64-bit products: a large range times a large bar must not overflow.
  const long long range = static_cast<long long>(maximum) - minimum;
  if (range <= 0) return RECT{0, 0, 0, 0};
  if (horizontal) {
    const long long filled = (static_cast<long long>(value) - minimum) * size.cx / range;
    return RECT{0, 0, static_cast<LONG>(filled), size.cy};
  }
  const long long top = (static_cast<long long>(maximum) - value) * size.cy / range;
  return RECT{0, static_cast<LONG>(top), size.cx, size.cy};
}

CProgressUI::CProgressUI() {
  m_uTextStyle = DT_CENTER | DT_SINGLELINE;
  m_cxyFixed.cy = 12;
}

const wchar_t* CProgressUI::GetClass() const { return L"Progress"; }

void* CProgressUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"Progress")) return this;
  return CLabelUI::GetInterface(name);
}

void CProgressUI::SetHorizontal(bool horizontal) {
  if (m_bHorizontal == horizontal) return;
  m_bHorizontal = horizontal;
  Invalidate();
}

void CProgressUI::SetMinValue(int minimum) {
  m_nMin = minimum;
  Invalidate();
}

void CProgressUI::SetMaxValue(int maximum) {
  m_nMax = maximum;
  Invalidate();
}

void CProgressUI::SetValue(int value) {
  // Clamped without std::clamp, whose result is undefined while maximum < minimum.
  const int clamped = std::max(m_nMin, std::min(value, m_nMax));
  if (clamped == m_nValue) return;
  m_nValue = clamped;
  Invalidate();
  NotifyAccessible(TAccessibleChange::Value);
}

void CProgressUI::SetForeImage(const wchar_t* description) { LoadDrawInfo(m_diFore, description); }

void CProgressUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"foreimage")) {
    SetForeImage(value);
  } else if (NameIs(name, L"hor")) {
    SetHorizontal(ParseBoolValue(value));
  } else if (NameIs(name, L"min")) {
    SetMinValue(ParseDecimal(value));
  } else if (NameIs(name, L"max")) {
    SetMaxValue(ParseDecimal(value));
  } else if (NameIs(name, L"value")) {
    SetValue(ParseDecimal(value));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CProgressUI::PaintStatusImage(HDC hDC) {
  // The largest minimum leaves no room for minimum + 1.
  if (m_nMin == INT_MAX) m_nMin = INT_MAX - 1;
  if (m_nMax <= m_nMin) m_nMax = m_nMin + 1;
  m_nValue = std::max(m_nMin, std::min(m_nValue, m_nMax));
  if (m_diFore.drawString.IsEmpty()) return;
  // Loaded first: loading sets the destination from the description.
  if (!m_diFore.loaded) DrawImage(nullptr, m_diFore);
  const CUiRect item = m_rcItem;
  const RECT fill = ProgressFillRect(item.GetSize(), m_bHorizontal, m_nMin, m_nMax, m_nValue);
  // An empty fill draws nothing (an all-zero destination would mean the whole bar).
  if (fill.right <= fill.left || fill.bottom <= fill.top) return;
  m_diFore.destination = fill;
  DrawImage(hDC, m_diFore);
}

}  // namespace SkinUI
