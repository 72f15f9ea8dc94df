#include "uitoolkit/controls/ui_scroll_bar.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {

CScrollBarUI::CScrollBarUI() { m_cxyFixed.cx = kDefaultThickness; }

const wchar_t* CScrollBarUI::GetClass() const { return L"ScrollBar"; }

void* CScrollBarUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && std::wcscmp(name, L"ScrollBar") == 0) return this;
  return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
  if (m_bHorizontal == horizontal) return;
  m_bHorizontal = horizontal;
  if (horizontal) {
    if (m_cxyFixed.cy == 0) {
      m_cxyFixed.cx = 0;
      m_cxyFixed.cy = kDefaultThickness;
    }
  } else if (m_cxyFixed.cx == 0) {
    m_cxyFixed.cx = kDefaultThickness;
    m_cxyFixed.cy = 0;
  }
  NeedParentUpdate();
}

void CScrollBarUI::SetScrollRange(int range) {
  m_nRange = std::max(range, 0);
  SetScrollPos(m_nScrollPos);
}

void CScrollBarUI::SetScrollPos(int pos) {
  const int clamped = std::min(std::max(pos, 0), m_nRange);
  if (clamped == m_nScrollPos) return;
  m_nScrollPos = clamped;
  Invalidate();
}

void CScrollBarUI::SetLineSize(int size) { m_nLineSize = std::max(size, 1); }

void CScrollBarUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (std::wcscmp(name, L"hor") == 0) {
    SetHorizontal(ParseBoolValue(value));
  } else if (std::wcscmp(name, L"range") == 0) {
    SetScrollRange(ParseDecimal(value));
  } else if (std::wcscmp(name, L"value") == 0) {
    SetScrollPos(ParseDecimal(value));
  } else if (std::wcscmp(name, L"linesize") == 0) {
    SetLineSize(ParseDecimal(value));
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
