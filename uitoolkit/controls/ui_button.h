// CButtonUI: a label that reacts to the mouse and the keyboard. It keeps a state (hot, pushed,
// focused, disabled), paints the image and text colour of that state, fades between its normal
// and hot images, and sends "click" when activated.
#pragma once

#include <windows.h>

#include "uitoolkit/controls/ui_label.h"

namespace SkinUI {

// The button's default text style: centred both ways, single line.
constexpr UINT kButtonTextStyle = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// The timer that steps the fade between normal and hot images, and its period.
constexpr UINT kFadeTimerId = 11;
constexpr UINT kFadeTimerElapse = 30;

// Slice `index` (0 normal, 1 pushed, 2 hot, 3 focused, 4 disabled) of an image of `width` x
// `height` holding five equal slices side by side, each width / 5 wide (truncated).
RECT FiveStatusSlice(int width, int height, int index);

// One step of the fade: while hot the alpha falls by `delta` towards 0, otherwise it rises
// towards 255. `finished` tells whether the end was reached.
BYTE NextFadeAlpha(BYTE alpha, BYTE delta, bool hot, bool& finished);

class CButtonUI : public CLabelUI {
 public:
  CButtonUI();

  const wchar_t* GetClass() const override;
  void* GetInterface(const wchar_t* name) override;
  UINT GetControlFlags() const override;

  // Sends "click" (synchronously) when visible and enabled, then shows the tab page it names.
  bool Activate() override;
  void SetEnabled(bool enabled = true) override;
  void DoEvent(TEventUI& event) override;
  void SetAttribute(const wchar_t* name, const wchar_t* value) override;
  void PaintStatusImage(HDC hDC) override;

  UINT GetButtonState() const { return m_uButtonState; }

  // Image descriptions of the states; each is loaded at once, and a float button without fixed
  // size takes the image's size.
  const wchar_t* GetNormalImage() const { return m_diNormal.drawString; }
  void SetNormalImage(const wchar_t* description);
  const wchar_t* GetHotImage() const { return m_diHot.drawString; }
  void SetHotImage(const wchar_t* description);
  const wchar_t* GetPushedImage() const { return m_diPushed.drawString; }
  void SetPushedImage(const wchar_t* description);
  const wchar_t* GetFocusedImage() const { return m_diFocused.drawString; }
  void SetFocusedImage(const wchar_t* description);
  const wchar_t* GetDisabledImage() const { return m_diDisabled.drawString; }
  void SetDisabledImage(const wchar_t* description);
  const wchar_t* GetForeImage() const { return m_diFore.drawString; }
  void SetForeImage(const wchar_t* description);
  const wchar_t* GetHotForeImage() const { return m_diHotFore.drawString; }
  void SetHotForeImage(const wchar_t* description);
  // Drawn over the pushed image instead of the fore image.
  const wchar_t* GetPushedForeImage() const { return m_diPushedFore.drawString; }
  void SetPushedForeImage(const wchar_t* description);
  // One image of five slices: normal, pushed, hot, focused, disabled.
  void SetFiveStatusImage(const wchar_t* description);

  DWORD GetHotBkColor() const { return m_dwHotBkColor; }
  void SetHotBkColor(DWORD color);
  DWORD GetHotTextColor() const { return m_dwHotTextColor; }
  void SetHotTextColor(DWORD color);
  DWORD GetPushedTextColor() const { return m_dwPushedTextColor; }
  void SetPushedTextColor(DWORD color);
  DWORD GetFocusedTextColor() const { return m_dwFocusedTextColor; }
  void SetFocusedTextColor(DWORD color);

  // The tab layout (by name) and its page that activating the button shows; no layout: none.
  const CUiString& GetTabLayoutName() const { return m_sTabLayoutName; }
  void SetTabLayoutName(const wchar_t* name) { m_sTabLayoutName = name != nullptr ? name : L""; }
  int GetTabPage() const { return m_iTabPage; }
  void SetTabPage(int page) { m_iTabPage = page; }
  // Shows the named tab layout's page; false without one.
  bool SelectTabPage();

  BYTE GetFadeDelta() const { return m_uFadeDelta; }
  // 0 = no fading.
  void SetFadeDelta(BYTE delta);
  BYTE GetFadeAlpha() const { return m_uFadeAlpha; }

 protected:
  DWORD GetTextColorForPaint() const override;
  // Draws an image description at `alpha` times its own fade.
  bool DrawImageFaded(HDC hDC, TDrawInfo& drawInfo, BYTE alpha);
  void StartFadeTimer();

  UINT m_uButtonState = 0;
  TDrawInfo m_diNormal;
  TDrawInfo m_diHot;
  TDrawInfo m_diPushed;
  TDrawInfo m_diFocused;
  TDrawInfo m_diDisabled;
  TDrawInfo m_diFore;
  TDrawInfo m_diHotFore;
  TDrawInfo m_diPushedFore;
  DWORD m_dwHotBkColor = 0;
  DWORD m_dwHotTextColor = 0;
  DWORD m_dwPushedTextColor = 0;
  DWORD m_dwFocusedTextColor = 0;
  BYTE m_uFadeDelta = 0;
  BYTE m_uFadeAlpha = 255;
  bool m_bFadeTimerRunning = false;
  CUiString m_sTabLayoutName;
  int m_iTabPage = 0;

 private:
  bool PaintHotImage(HDC hDC);
  void PaintNormalImage(HDC hDC);
  // The pointer left: the hot state ends (unless a control over the button took the pointer).
  void OnMouseLeave(POINT pt);
  // One step of the hot-state fade; the timer stops at its end.
  void StepFade();
};

}  // namespace SkinUI
