// CLabelUI: a control that shows its text in a font, colour and alignment, optionally through
// the markup text renderer or, with text effects, through GDI+ (shadow, outline, glow, gradient).
// It estimates its size from the text and caches the estimate.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// Control state bits kept by buttons and edits.
enum : UINT {
  UISTATE_FOCUSED = 0x01,
  UISTATE_SELECTED = 0x02,
  UISTATE_DISABLED = 0x04,
  UISTATE_HOT = 0x08,
  UISTATE_PUSHED = 0x10,
  UISTATE_CAPTURED = 0x40,
};

// The label's default text style: vertically centred, single line.
constexpr UINT kLabelTextStyle = DT_VCENTER | DT_SINGLELINE;

// The `align` attribute applied to a text style: the words left, center and right are searched
// in the value; left clears the horizontal bits, center sets centre, right sets right and wins.
UINT ApplyAlignValue(UINT style, const wchar_t* value);
// The `valign` attribute: top clears the vertical bits, vcenter sets vcenter, bottom sets
// bottom and wins.
UINT ApplyVerticalAlignValue(UINT style, const wchar_t* value);
// `rc` shrunk by the margins `padding` (left, top, right, bottom).
RECT ShrinkRect(const RECT& rc, const RECT& padding);

// GDI+ text-effect options of a label.
struct TTextEffects {
  bool enabled = false;        // draw the text through GDI+
  bool luminous = false;       // glow around the text
  float luminousFuzzy = 3.0f;  // glow radius in pixels
  DWORD gradientColor = 0;     // text colour 1: the fill runs from the text colour to it
  int gradientAngle = 0;       // degrees, clockwise from the x axis
  int gradientLength = 0;      // pixels; 0 = the height of the text rectangle
  bool stroke = false;         // outline
  DWORD strokeColor = 0;
  bool shadow = false;  // drop shadow
  SIZE shadowOffset = {0, 0};
  DWORD shadowColorA = 0;  // shadow colour at the top ...
  DWORD shadowColorB = 0;  // ... and at the bottom (0 = plain colour A)
};

class CLabelUI : public CControlUI {
 public:
  CLabelUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;

  void SetText(const wchar_t* text) override;
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  // Fixed size when both are set; otherwise measured from the text (see the README), cached
  // until text, font, padding, style, HTML mode or (multi-line) the available size change.
  SIZE EstimateSize(SIZE szAvailable) override;
  void PaintText(HDC hDC) override;

  UINT GetTextStyle() const { return m_uTextStyle; }
  void SetTextStyle(UINT style);
  DWORD GetTextColor() const { return m_dwTextColor; }
  void SetTextColor(DWORD color);
  DWORD GetDisabledTextColor() const { return m_dwDisabledTextColor; }
  void SetDisabledTextColor(DWORD color);
  int GetFont() const { return m_iFont; }
  void SetFont(int index);
  RECT GetTextPadding() const { return m_rcTextPadding; }
  void SetTextPadding(RECT rc);
  bool IsShowHtml() const { return m_bShowHtml; }
  void SetShowHtml(bool showHtml = true);
  const TTextEffects& GetTextEffects() const { return m_effects; }
  void SetTextEffects(const TTextEffects& effects);

  // The character height (text metrics) of the label's font; 0 without a manager.
  int GetFontHeight() const;

 protected:
  // The text as painted (an edit in password mode shows password characters).
  virtual CUiString GetTextForPaint() const;
  // The colour the text is painted in; the text colour, or the disabled one when disabled.
  virtual DWORD GetTextColorForPaint() const;
  // The label's own text colour (an option while selected uses its selected colour).
  virtual DWORD GetBaseTextColor() const;
  // Draws `text` into `rc` with the label's font and style: text effects, markup or plain.
  virtual void DrawLabelText(HDC hDC, RECT& rc, const CUiString& text, DWORD color);
  // Replaces unset text colours with the manager's defaults.
  void ResolveDefaultTextColors();
  // A mouse event for a control that is not mouse enabled goes to the parent (or, without one,
  // to the label's own handling). True when `event` was such an event and has been passed on.
  bool PassOnMouseEventWhenMouseDisabled(TEventUI& event);
  // `state` with the focused and disabled bits refreshed from IsFocused() and IsEnabled().
  UINT WithFocusedAndDisabledBits(UINT state) const;
  // Measures `text` in `rc` (the label's font and style plus calc-rect).
  RECT MeasureText(const RECT& rc, UINT style) const;
  void MakeSizeDirty() { m_bSizeDirty = true; }
  // Applies one of the text-effect attributes; false for other names.
  bool SetEffectAttribute(const wchar_t* name, const wchar_t* value);

  DWORD m_dwTextColor = 0;
  DWORD m_dwDisabledTextColor = 0;
  int m_iFont = -1;
  UINT m_uTextStyle = kLabelTextStyle;
  CUiRect m_rcTextPadding;
  bool m_bShowHtml = false;
  TTextEffects m_effects;

 private:
  bool m_bSizeDirty = true;
  SIZE m_szAvailableLast = {0, 0};
  SIZE m_cxyFixedLast = {0, 0};
  SIZE m_szEstimateLast = {0, 0};
};

}  // namespace SkinUI
