#include "uitoolkit/controls/ui_label.h"

#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_label_effects.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

bool Contains(const wchar_t* value, const wchar_t* word) {
  return std::wcsstr(value, word) != nullptr;
}

// A real number as the effects write it ("2.5"); what does not parse reads as 0.
float ParseRealValue(const wchar_t* value) {
  double number = 0;
  ParseFractionList(value, &number, 1);
  return static_cast<float>(number);
}

// A memory device context for measuring when the manager has no window context.
class MeasureDC {
 public:
  explicit MeasureDC(HDC paintDc)
      : m_dc(paintDc == nullptr ? ::CreateCompatibleDC(nullptr) : nullptr) {
    m_use = paintDc != nullptr ? paintDc : m_dc.get();
  }
  HDC get() const { return m_use; }

 private:
  vesk::UniqueMemoryDC m_dc;
  HDC m_use = nullptr;
};

}  // namespace

UINT ApplyAlignValue(UINT style, const wchar_t* value) {
  if (value == nullptr) return style;
  if (Contains(value, L"left")) style &= ~(DT_CENTER | DT_RIGHT);
  if (Contains(value, L"center")) {
    style &= ~(DT_LEFT | DT_RIGHT);
    style |= DT_CENTER;
  }
  if (Contains(value, L"right")) {
    style &= ~(DT_LEFT | DT_CENTER);
    style |= DT_RIGHT;
  }
  return style;
}

UINT ApplyVerticalAlignValue(UINT style, const wchar_t* value) {
  if (value == nullptr) return style;
  // "vcenter" also contains "center" but no vertical word is a part of another.
  if (Contains(value, L"top")) style &= ~(DT_BOTTOM | DT_VCENTER);
  if (Contains(value, L"vcenter")) {
    style &= ~(DT_TOP | DT_BOTTOM);
    style |= DT_VCENTER;
  }
  if (Contains(value, L"bottom")) {
    style &= ~(DT_TOP | DT_VCENTER);
    style |= DT_BOTTOM;
  }
  return style;
}

RECT ShrinkRect(const RECT& rc, const RECT& padding) {
  return RECT{rc.left + padding.left, rc.top + padding.top, rc.right - padding.right,
              rc.bottom - padding.bottom};
}

CLabelUI::CLabelUI() = default;

const wchar_t* CLabelUI::GetClass() const { return L"Label"; }

void* CLabelUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"Label")) return this;
  return CControlUI::GetInterface(name);
}

void CLabelUI::SetText(const wchar_t* text) {
  if (m_sText == text) return;
  MakeSizeDirty();
  CControlUI::SetText(text);
}

void CLabelUI::SetTextStyle(UINT style) {
  m_uTextStyle = style;
  MakeSizeDirty();
  Invalidate();
}

void CLabelUI::SetTextColor(DWORD color) {
  m_dwTextColor = color;
  Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD color) {
  m_dwDisabledTextColor = color;
  Invalidate();
}

void CLabelUI::SetFont(int index) {
  m_iFont = index;
  MakeSizeDirty();
  Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc) {
  m_rcTextPadding = rc;
  MakeSizeDirty();
  Invalidate();
}

void CLabelUI::SetShowHtml(bool showHtml) {
  if (m_bShowHtml == showHtml) return;
  m_bShowHtml = showHtml;
  MakeSizeDirty();
  Invalidate();
}

void CLabelUI::SetTextEffects(const TTextEffects& effects) {
  m_effects = effects;
  Invalidate();
}

void CLabelUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"align")) {
    SetTextStyle(ApplyAlignValue(m_uTextStyle, value));
  } else if (NameIs(name, L"valign")) {
    SetTextStyle(ApplyVerticalAlignValue(m_uTextStyle, value));
  } else if (NameIs(name, L"endellipsis")) {
    SetTextStyle(ParseBoolValue(value) ? m_uTextStyle | DT_END_ELLIPSIS
                                       : m_uTextStyle & ~DT_END_ELLIPSIS);
  } else if (NameIs(name, L"font")) {
    SetFont(ParseDecimal(value));
  } else if (NameIs(name, L"textcolor")) {
    SetTextColor(ParseColor(value));
  } else if (NameIs(name, L"disabledtextcolor")) {
    SetDisabledTextColor(ParseColor(value));
  } else if (NameIs(name, L"textpadding")) {
    SetTextPadding(ParseRectValue(value));
  } else if (NameIs(name, L"multiline")) {
    SetTextStyle(ParseBoolValue(value) ? (m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK
                                       : m_uTextStyle | DT_SINGLELINE);
  } else if (NameIs(name, L"showhtml")) {
    SetShowHtml(ParseBoolValue(value));
  } else if (!SetEffectAttribute(name, value)) {
    CControlUI::SetAttribute(name, value);
  }
}

bool CLabelUI::SetEffectAttribute(const wchar_t* name, const wchar_t* value) {
  TTextEffects effects = m_effects;
  if (NameIs(name, L"enabledeffect")) {
    effects.enabled = ParseBoolValue(value);
  } else if (NameIs(name, L"enabledluminous")) {
    effects.luminous = ParseBoolValue(value);
  } else if (NameIs(name, L"luminousfuzzy")) {
    const float fuzzy = ParseRealValue(value);
    if (fuzzy >= 0.0001f) effects.luminousFuzzy = fuzzy;
  } else if (NameIs(name, L"gradientangle")) {
    effects.gradientAngle = ParseDecimal(value);
  } else if (NameIs(name, L"gradientlength")) {
    effects.gradientLength = ParseDecimal(value);
  } else if (NameIs(name, L"textcolor1")) {
    effects.gradientColor = ParseColor(value);
  } else if (NameIs(name, L"enabledstroke")) {
    effects.stroke = ParseBoolValue(value);
  } else if (NameIs(name, L"strokecolor")) {
    effects.strokeColor = ParseColor(value);
  } else if (NameIs(name, L"enabledshadow")) {
    effects.shadow = ParseBoolValue(value);
  } else if (NameIs(name, L"shadowoffset")) {
    effects.shadowOffset = ParseSizeValue(value);
  } else if (NameIs(name, L"textshadowcolora")) {
    effects.shadowColorA = ParseColor(value);
  } else if (NameIs(name, L"textshadowcolorb")) {
    effects.shadowColorB = ParseColor(value);
  } else {
    return false;
  }
  SetTextEffects(effects);
  return true;
}

int CLabelUI::GetFontHeight() const {
  if (m_pManager == nullptr) return 0;
  MeasureDC dc(m_pManager->GetPaintDC());
  if (dc.get() == nullptr) return 0;
  vesk::ScopedSelectObject select(dc.get(), m_pManager->GetFont(m_iFont));
  TEXTMETRICW metrics = {};
  ::GetTextMetricsW(dc.get(), &metrics);
  return metrics.tmHeight;
}

RECT CLabelUI::MeasureText(const RECT& rc, UINT style) const {
  RECT measured = rc;
  if (m_pManager == nullptr) return RECT{rc.left, rc.top, rc.left, rc.top};
  MeasureDC dc(m_pManager->GetPaintDC());
  const CUiString text = GetTextForPaint();
  if (m_bShowHtml) {
    int links = 0;
    CRenderEngine::DrawHtmlText(dc.get(), m_pManager, measured, text, 0, nullptr, nullptr, links,
                                m_iFont, style | DT_CALCRECT);
  } else {
    CRenderEngine::DrawText(dc.get(), m_pManager, measured, text, 0, m_iFont, style | DT_CALCRECT);
  }
  return measured;
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable) {
  if (m_cxyFixed.cx > 0 && m_cxyFixed.cy > 0) return m_cxyFixed;
  const bool singleLine = (m_uTextStyle & DT_SINGLELINE) != 0;
  if (!singleLine &&
      (szAvailable.cx != m_szAvailableLast.cx || szAvailable.cy != m_szAvailableLast.cy)) {
    m_bSizeDirty = true;
  }
  // A new fixed size changes the estimate as much as a new text does.
  if (m_cxyFixed.cx != m_cxyFixedLast.cx || m_cxyFixed.cy != m_cxyFixedLast.cy) {
    m_bSizeDirty = true;
  }
  if (!m_bSizeDirty) return m_szEstimateLast;

  SIZE size = m_cxyFixed;
  if (singleLine) {
    if (size.cy == 0) size.cy = GetFontHeight() + 8 + m_rcTextPadding.top + m_rcTextPadding.bottom;
    if (size.cx == 0) {
      const RECT measured = MeasureText(RECT{0, 0, 9999, size.cy}, m_uTextStyle);
      size.cx = measured.right - measured.left + m_rcTextPadding.left + m_rcTextPadding.right;
    }
  } else {
    if (size.cx == 0) size.cx = szAvailable.cx;
    const RECT measured = MeasureText(
        RECT{m_rcTextPadding.left, 0, size.cx - m_rcTextPadding.right, 9999}, m_uTextStyle);
    size.cy = measured.bottom - measured.top + m_rcTextPadding.top + m_rcTextPadding.bottom;
  }
  m_szAvailableLast = szAvailable;
  m_cxyFixedLast = m_cxyFixed;
  m_szEstimateLast = size;
  m_bSizeDirty = false;
  return size;
}

CUiString CLabelUI::GetTextForPaint() const { return m_sText; }

DWORD CLabelUI::GetBaseTextColor() const { return m_dwTextColor; }

DWORD CLabelUI::GetTextColorForPaint() const {
  return IsEnabled() ? GetBaseTextColor() : m_dwDisabledTextColor;
}

void CLabelUI::ResolveDefaultTextColors() {
  if (m_pManager == nullptr) return;
  if (m_dwTextColor == 0) m_dwTextColor = m_pManager->GetDefaultFontColor();
  if (m_dwDisabledTextColor == 0) m_dwDisabledTextColor = m_pManager->GetDefaultDisabledColor();
}

bool CLabelUI::PassOnMouseEventWhenMouseDisabled(TEventUI& event) {
  if (IsMouseEnabled() || !IsMouseEvent(event.Type)) return false;
  if (m_pParent != nullptr) {
    m_pParent->DoEvent(event);
  } else {
    CLabelUI::DoEvent(event);
  }
  return true;
}

UINT CLabelUI::WithFocusedAndDisabledBits(UINT state) const {
  state &= ~(UISTATE_FOCUSED | UISTATE_DISABLED);
  if (IsFocused()) state |= UISTATE_FOCUSED;
  if (!IsEnabled()) state |= UISTATE_DISABLED;
  return state;
}

void CLabelUI::PaintText(HDC hDC) {
  if (m_pManager == nullptr) return;
  ResolveDefaultTextColors();
  RECT rc = ShrinkRect(m_rcItem, m_rcTextPadding);
  const CUiString text = GetTextForPaint();
  if (text.IsEmpty()) return;
  DrawLabelText(hDC, rc, text, GetTextColorForPaint());
}

void CLabelUI::DrawLabelText(HDC hDC, RECT& rc, const CUiString& text, DWORD color) {
  if (m_effects.enabled && DrawTextWithEffects(hDC, m_pManager->GetFont(m_iFont), rc, text, color,
                                               m_uTextStyle, m_effects)) {
    return;
  }
  if (m_bShowHtml) {
    int links = 0;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, text, color, nullptr, nullptr, links, m_iFont,
                                m_uTextStyle);
  } else {
    CRenderEngine::DrawText(hDC, m_pManager, rc, text, color, m_iFont, m_uTextStyle);
  }
}

}  // namespace SkinUI
