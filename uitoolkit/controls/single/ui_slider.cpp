#include "uitoolkit/controls/single/ui_slider.h"

#include <algorithm>
#include <climits>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/controls/ui_scroll_bar.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

long long Clamp(long long value, long long low, long long high) {
  return std::max(low, std::min(value, high));
}

// value × numerator / denominator rounded to the nearest, in 64 bits; 0 without a denominator.
long long RoundedScale(long long value, long long numerator, long long denominator) {
  if (denominator <= 0) return 0;
  const long long product = value * numerator;
  const long long half = denominator / 2;
  return product >= 0 ? (product + half) / denominator : (product - half) / denominator;
}

struct TSliderAxis {
  bool horizontal;
  LONG Length(const RECT& r) const { return horizontal ? r.right - r.left : r.bottom - r.top; }
  LONG Along(SIZE s) const { return horizontal ? s.cx : s.cy; }
};

}  // namespace

// ---- Geometry ----

RECT SliderThumbRect(const RECT& bar, bool horizontal, SIZE size, int minimum, int maximum,
                     int value) {
  const TSliderAxis axis{horizontal};
  const long long travel = std::max<long long>(axis.Length(bar) - axis.Along(size), 0);
  const long long range = static_cast<long long>(maximum) - minimum;
  const long long offset =
      range > 0 ? RoundedScale(travel, Clamp(value, minimum, maximum) - minimum, range) : 0;
  if (horizontal) {
    const LONG left = bar.left + static_cast<LONG>(offset);
    const LONG top = bar.top + (bar.bottom - bar.top - size.cy) / 2;
    return RECT{left, top, left + size.cx, top + size.cy};
  }
  const LONG top = bar.bottom - size.cy - static_cast<LONG>(offset);
  const LONG left = bar.left + (bar.right - bar.left - size.cx) / 2;
  return RECT{left, top, left + size.cx, top + size.cy};
}

int SnapSliderValue(int value, int minimum, int maximum, int step) {
  if (maximum <= minimum) return minimum;
  const long long clamped = Clamp(value, minimum, maximum);
  if (step <= 1) return static_cast<int>(clamped);
  const long long low = minimum + (clamped - minimum) / step * step;
  const long long high = std::min<long long>(low + step, maximum);
  return static_cast<int>(clamped - low < high - clamped ? low : high);
}

int SliderValueAtPoint(const RECT& bar, bool horizontal, SIZE thumb, int minimum, int maximum,
                       POINT pt) {
  const TSliderAxis axis{horizontal};
  const LONG half = axis.Along(thumb) / 2;
  const long long travel = std::max<long long>(axis.Length(bar) - axis.Along(thumb), 0);
  const long long offset = horizontal ? static_cast<long long>(pt.x) - bar.left - half
                                      : static_cast<long long>(bar.bottom) - half - pt.y;
  const long long range = static_cast<long long>(maximum) - minimum;
  if (range <= 0 || travel == 0) return minimum;
  return static_cast<int>(minimum + Clamp(RoundedScale(offset, range, travel), 0, range));
}

int SliderStepToward(int value, int target, int page) {
  const long long step = std::max(page, 1);
  if (target > value) return static_cast<int>(std::min<long long>(value + step, target));
  return static_cast<int>(std::max<long long>(value - step, target));
}

// ---- The control ----

CSliderUI::CSliderUI() {
  m_cxyFixed.cy = kDefaultThickness;
  // While it has the focus, a dotted frame (the control base's focused border).
  m_rcBorderSize = CUiRect(1, 1, 1, 1);
  m_dwFocusBorderColor = kPlainFocusColor;
  m_nBorderStyle = PS_DOT;
}

const wchar_t* CSliderUI::GetClass() const { return kClassName; }

void* CSliderUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CProgressUI::GetInterface(name);
}

UINT CSliderUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP : 0u; }

void CSliderUI::SetEnabled(bool enabled) {
  CProgressUI::SetEnabled(enabled);
  if (enabled) return;
  m_bDragging = m_bThumbHot = m_bTrackPressed = false;
  SetRepeat(0);
}

void CSliderUI::SetStep(int step) { m_nStep = std::max(step, 1); }

int CSliderUI::GetPageStep() const {
  if (m_nPageStep > 0) return m_nPageStep;
  const long long fifth = (static_cast<long long>(m_nMax) - m_nMin) / 5;
  return static_cast<int>(std::max<long long>(std::min<long long>(fifth, INT_MAX), m_nStep));
}

SIZE CSliderUI::GetThumbSize() const {
  if (m_szThumb.cx > 0 && m_szThumb.cy > 0) return m_szThumb;
  return m_bHorizontal ? kDefaultThumbSize : SIZE{kDefaultThumbSize.cy, kDefaultThumbSize.cx};
}

RECT CSliderUI::GetThumbRect() const {
  return SliderThumbRect(m_rcItem, m_bHorizontal, GetThumbSize(), m_nMin, m_nMax, m_nValue);
}

TLookState CSliderUI::GetThumbState() const {
  if (!IsEnabled()) return kLookDisabled;
  if (m_bDragging) return kLookPushed;
  return m_bThumbHot ? kLookHot : kLookNormal;
}

void CSliderUI::Notify() {
  if (m_pManager != nullptr) m_pManager->SendNotify(this, L"valuechanged");
}

void CSliderUI::MoveTo(int value, bool notify) {
  const int snapped = SnapSliderValue(value, m_nMin, m_nMax, m_nStep);
  if (snapped == m_nValue) return;
  SetValue(snapped);
  if (notify) Notify();
}

void CSliderUI::MoveBy(long long delta) {
  // In 64 bits: a step from a value near the int limits must not overflow.
  MoveTo(static_cast<int>(Clamp(m_nValue + delta, INT_MIN, INT_MAX)));
}

void CSliderUI::StepTowardPress() {
  const int target =
      SliderValueAtPoint(m_rcItem, m_bHorizontal, GetThumbSize(), m_nMin, m_nMax, m_ptPress);
  MoveTo(SliderStepToward(m_nValue, target, GetPageStep()));
}

void CSliderUI::SetRepeat(UINT period) {
  if (period == m_uRepeat || m_pManager == nullptr) return;
  // A running timer keeps its period: it is stopped and started again at the new one.
  if (m_uRepeat != 0) m_pManager->KillTimer(this, kRepeatTimerId);
  m_uRepeat = period != 0 && m_pManager->SetTimer(this, kRepeatTimerId, period) ? period : 0;
}

void CSliderUI::SetThumbHot(bool hot) {
  if (hot == m_bThumbHot) return;
  m_bThumbHot = hot;
  Invalidate();
}

void CSliderUI::DoEvent(TEventUI& event) {
  if (!IsEnabled() && (IsMouseEvent(event.Type) || event.Type == UIEVENT_KEYDOWN)) return;
  const RECT thumb = GetThumbRect();
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      SetFocus();
      if (::PtInRect(&thumb, event.ptMouse)) {
        m_bDragging = true;
        m_ptDragOffset = POINT{(thumb.left + thumb.right) / 2 - event.ptMouse.x,
                               (thumb.top + thumb.bottom) / 2 - event.ptMouse.y};
        m_nDragStartValue = m_nValue;
        Invalidate();
      } else {
        m_bTrackPressed = true;
        m_ptPress = event.ptMouse;
        StepTowardPress();
        SetRepeat(CScrollBarUI::kRepeatDelay);
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_bDragging) {
        // The value under the thumb's centre when it keeps its offset from the pointer.
        const POINT centre = {event.ptMouse.x + m_ptDragOffset.x,
                              event.ptMouse.y + m_ptDragOffset.y};
        MoveTo(SliderValueAtPoint(m_rcItem, m_bHorizontal, GetThumbSize(), m_nMin, m_nMax,
                                  centre),
               m_bSendMove);
      } else {
        if (m_bTrackPressed) m_ptPress = event.ptMouse;
        SetThumbHot(::PtInRect(&thumb, event.ptMouse) != FALSE);
      }
      return;
    case UIEVENT_TIMER:
      if (event.wParam != kRepeatTimerId) break;
      if (!m_bTrackPressed) {
        SetRepeat(0);
      } else {
        StepTowardPress();
        if (m_uRepeat != CScrollBarUI::kRepeatInterval) SetRepeat(CScrollBarUI::kRepeatInterval);
      }
      return;
    case UIEVENT_BUTTONUP:
      m_bTrackPressed = false;
      SetRepeat(0);
      if (m_bDragging) {
        m_bDragging = false;
        if (!m_bSendMove && m_nValue != m_nDragStartValue) Notify();
        Invalidate();
      }
      SetThumbHot(::PtInRect(&thumb, event.ptMouse) != FALSE);
      return;
    case UIEVENT_MOUSEENTER:
      SetThumbHot(::PtInRect(&thumb, event.ptMouse) != FALSE);
      return;
    case UIEVENT_MOUSELEAVE:
      SetThumbHot(false);
      return;
    case UIEVENT_SCROLLWHEEL:
      // wParam 0: the wheel turned away from the user, which raises the value.
      MoveBy(event.wParam == 0 ? m_nStep : -m_nStep);
      return;
    case UIEVENT_KEYDOWN:
      switch (event.chKey) {
        case VK_RIGHT:
        case VK_UP: MoveBy(m_nStep); return;
        case VK_LEFT:
        case VK_DOWN: MoveBy(-m_nStep); return;
        case VK_PRIOR: MoveBy(GetPageStep()); return;
        case VK_NEXT: MoveBy(-static_cast<long long>(GetPageStep())); return;
        case VK_HOME: MoveTo(m_nMin); return;
        case VK_END: MoveTo(m_nMax); return;
        default: break;
      }
      break;
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      Invalidate();
      break;
    default:
      break;
  }
  CProgressUI::DoEvent(event);
}

void CSliderUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  int state = 0;
  bool isImage = false;
  if (NameIs(name, L"step")) {
    SetStep(ParseDecimal(value));
  } else if (NameIs(name, L"pagestep")) {
    m_nPageStep = std::max<int>(ParseDecimal(value), 0);
  } else if (NameIs(name, L"thumbsize")) {
    m_szThumb = ParseSizeValue(value);
    Invalidate();
  } else if (NameIs(name, L"railsize")) {
    m_nRailSize = std::max<int>(ParseDecimal(value), 0);
    Invalidate();
  } else if (NameIs(name, L"railcolor")) {
    m_dwRailColor = ParseColor(value);
    Invalidate();
  } else if (NameIs(name, L"sendmove")) {
    m_bSendMove = ParseBoolValue(value);
  } else if (ParseStateLookName(name, L"thumb", state, isImage)) {
    if (isImage) {
      LoadDrawInfo(m_thumb.images[state], value);
    } else {
      m_thumb.colors[state] = ParseColor(value);
      Invalidate();
    }
  } else {
    CProgressUI::SetAttribute(name, value);
    // A vertical slider of the default size stands upright.
    if (NameIs(name, L"hor") && !m_bHorizontal && m_cxyFixed.cx == 0 &&
        m_cxyFixed.cy == kDefaultThickness) {
      m_cxyFixed = SIZE{kDefaultThickness, 0};
    }
  }
}

void CSliderUI::PaintStatusImage(HDC hDC) {
  const RECT thumb = GetThumbRect();
  const TLookState state = GetThumbState();
  if (m_nRailSize > 0) {
    // The rail across the bar's middle; the part from the minimum to the thumb in the thumb's
    // colour.
    const LONG thickness = m_nRailSize;
    RECT rail = m_rcItem;
    RECT filled = m_rcItem;
    if (m_bHorizontal) {
      rail.top = (m_rcItem.top + m_rcItem.bottom - thickness) / 2;
      rail.bottom = rail.top + thickness;
      filled = RECT{rail.left, rail.top, (thumb.left + thumb.right) / 2, rail.bottom};
    } else {
      rail.left = (m_rcItem.left + m_rcItem.right - thickness) / 2;
      rail.right = rail.left + thickness;
      filled = RECT{rail.left, (thumb.top + thumb.bottom) / 2, rail.right, rail.bottom};
    }
    CRenderEngine::DrawColor(hDC, rail,
                             GetAdjustColor(m_dwRailColor != 0 ? m_dwRailColor : kPlainRailColor));
    if (GetForeImage()[0] == L'\0') {
      CRenderEngine::DrawColor(
          hDC, filled, GetAdjustColor(m_thumb.ColorFor(state, kPlainThumbColors[state])));
    }
  }
  CProgressUI::PaintStatusImage(hDC);
  m_thumb.Paint(hDC, *this, thumb, state, kPlainThumbColors[state]);
}

}  // namespace SkinUI
