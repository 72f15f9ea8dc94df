#include "uitoolkit/controls/ui_button.h"

#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_tab_pages.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

bool Inside(const RECT& rc, POINT pt) { return ::PtInRect(&rc, pt) != FALSE; }

}  // namespace

RECT FiveStatusSlice(int width, int height, int index) {
  const int slice = width / 5;
  return RECT{slice * index, 0, slice * (index + 1), height};
}

BYTE NextFadeAlpha(BYTE alpha, BYTE delta, bool hot, bool& finished) {
  if (hot) {
    const int next = alpha > delta ? alpha - delta : 0;
    finished = next == 0;
    return static_cast<BYTE>(next);
  }
  const int next = 255 - alpha > delta ? alpha + delta : 255;
  finished = next == 255;
  return static_cast<BYTE>(next);
}

CButtonUI::CButtonUI() { m_uTextStyle = kButtonTextStyle; }

const wchar_t* CButtonUI::GetClass() const { return L"Button"; }

void* CButtonUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"Button")) return this;
  return CLabelUI::GetInterface(name);
}

UINT CButtonUI::GetControlFlags() const {
  return UIFLAG_TABSTOP | (IsEnabled() ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u);
}

bool CButtonUI::Activate() {
  if (!CLabelUI::Activate()) return false;
  if (m_pManager != nullptr) m_pManager->SendNotify(this, L"click");
  // Options show their page when they become selected instead.
  if (GetInterface(L"Option") == nullptr) SelectTabPage();
  return true;
}

bool CButtonUI::SelectTabPage() {
  return SelectNamedTabPage(m_pManager, m_sTabLayoutName, m_iTabPage);
}

void CButtonUI::SetEnabled(bool enabled) {
  CLabelUI::SetEnabled(enabled);
  // A disabled button is neither hot nor pushed; it keeps only its selection.
  if (!enabled) m_uButtonState &= UISTATE_SELECTED;
}

void CButtonUI::StartFadeTimer() {
  if (m_uFadeDelta == 0 || m_pManager == nullptr) return;
  // A running fade turns round by itself: each step moves towards the current hover state.
  if (m_bFadeTimerRunning) return;
  m_bFadeTimerRunning = m_pManager->SetTimer(this, kFadeTimerId, kFadeTimerElapse);
  if (m_bFadeTimerRunning) return;
  // Without a timer the fade would never move: the button shows the end of it at once.
  m_uFadeAlpha = (m_uButtonState & UISTATE_HOT) != 0 ? 0 : 255;
}

void CButtonUI::DoEvent(TEventUI& event) {
  if (PassOnMouseEventWhenMouseDisabled(event)) return;
  switch (event.Type) {
    case UIEVENT_KEYDOWN:
      if ((event.chKey == VK_SPACE || event.chKey == VK_RETURN) && IsKeyboardEnabled() &&
          IsEnabled()) {
        Activate();
        return;
      }
      break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (Inside(m_rcItem, event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        if (Inside(m_rcItem, event.ptMouse)) {
          m_uButtonState |= UISTATE_PUSHED;
        } else {
          m_uButtonState &= ~UISTATE_PUSHED;
        }
        Invalidate();
        return;
      }
      break;
    case UIEVENT_BUTTONUP:
      if ((m_uButtonState & UISTATE_CAPTURED) != 0) {
        if (Inside(m_rcItem, event.ptMouse) && IsEnabled()) Activate();
        m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
        Invalidate();
        return;
      }
      break;
    case UIEVENT_CONTEXTMENU:
      if (IsContextMenuUsed() && IsEnabled() && m_pManager != nullptr) {
        m_pManager->SendNotify(this, L"menu", event.wParam, event.lParam);
      }
      return;
    case UIEVENT_MOUSEENTER:
      if (Inside(m_rcItem, event.ptMouse) && IsEnabled()) {
        m_uButtonState |= UISTATE_HOT;
        Invalidate();
        StartFadeTimer();
      }
      return;
    case UIEVENT_MOUSELEAVE:
      OnMouseLeave(event.ptMouse);
      return;
    case UIEVENT_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return;
    case UIEVENT_TIMER:
      if (event.wParam == kFadeTimerId) {
        StepFade();
        return;
      }
      break;
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CButtonUI::OnMouseLeave(POINT pt) {
  if (Inside(m_rcItem, pt)) {
    // The pointer left for a control lying over the button: keep listening for the leave.
    if (m_pManager != nullptr) m_pManager->AddMouseLeaveNeeded(this);
    return;
  }
  if (IsEnabled()) {
    m_uButtonState &= ~UISTATE_HOT;
    Invalidate();
  }
  if (m_pManager != nullptr) m_pManager->RemoveMouseLeaveNeeded(this);
  if (IsEnabled()) StartFadeTimer();
}

void CButtonUI::StepFade() {
  bool finished = false;
  m_uFadeAlpha =
      NextFadeAlpha(m_uFadeAlpha, m_uFadeDelta, (m_uButtonState & UISTATE_HOT) != 0, finished);
  Invalidate();
  if (finished && m_pManager != nullptr) {
    (void)m_pManager->KillTimer(this, kFadeTimerId);  // a stopped timer is all that matters
    m_bFadeTimerRunning = false;
  }
}

void CButtonUI::SetNormalImage(const wchar_t* description) {
  LoadDrawInfo(m_diNormal, description);
}
void CButtonUI::SetHotImage(const wchar_t* description) { LoadDrawInfo(m_diHot, description); }
void CButtonUI::SetPushedImage(const wchar_t* description) {
  LoadDrawInfo(m_diPushed, description);
}
void CButtonUI::SetFocusedImage(const wchar_t* description) {
  LoadDrawInfo(m_diFocused, description);
}
void CButtonUI::SetDisabledImage(const wchar_t* description) {
  LoadDrawInfo(m_diDisabled, description);
}
void CButtonUI::SetForeImage(const wchar_t* description) { LoadDrawInfo(m_diFore, description); }
void CButtonUI::SetHotForeImage(const wchar_t* description) {
  LoadDrawInfo(m_diHotFore, description);
}
void CButtonUI::SetPushedForeImage(const wchar_t* description) {
  LoadDrawInfo(m_diPushedFore, description);
}

void CButtonUI::SetFiveStatusImage(const wchar_t* description) {
  // The five state images share the description and the cached image; each draws its slice.
  TDrawInfo* states[] = {&m_diNormal, &m_diPushed, &m_diHot, &m_diFocused, &m_diDisabled};
  for (int index = 0; index < 5; ++index) {
    TDrawInfo& state = *states[index];
    state.Clear();
    state.drawString = description;
    DrawImage(nullptr, state);
    if (state.image == nullptr) continue;
    state.source = FiveStatusSlice(state.image->width, state.image->height, index);
    if (index == 0 && m_bFloat && m_cxyFixed.cx == 0 && m_cxyFixed.cy == 0) {
      m_cxyFixed.cx = state.source.right - state.source.left;
      m_cxyFixed.cy = state.source.bottom;
    }
  }
  Invalidate();
}

void CButtonUI::SetHotBkColor(DWORD color) {
  m_dwHotBkColor = color;
  Invalidate();
}

void CButtonUI::SetHotTextColor(DWORD color) {
  m_dwHotTextColor = color;
  Invalidate();
}

void CButtonUI::SetPushedTextColor(DWORD color) {
  m_dwPushedTextColor = color;
  Invalidate();
}

void CButtonUI::SetFocusedTextColor(DWORD color) {
  m_dwFocusedTextColor = color;
  Invalidate();
}

void CButtonUI::SetFadeDelta(BYTE delta) { m_uFadeDelta = delta; }

void CButtonUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"normalimage")) {
    SetNormalImage(value);
  } else if (NameIs(name, L"hotimage")) {
    SetHotImage(value);
  } else if (NameIs(name, L"pushedimage")) {
    SetPushedImage(value);
  } else if (NameIs(name, L"focusedimage")) {
    SetFocusedImage(value);
  } else if (NameIs(name, L"disabledimage")) {
    SetDisabledImage(value);
  } else if (NameIs(name, L"foreimage")) {
    SetForeImage(value);
  } else if (NameIs(name, L"hotforeimage")) {
    SetHotForeImage(value);
  } else if (NameIs(name, L"fivestatusimage")) {
    SetFiveStatusImage(value);
  } else if (NameIs(name, L"fadedelta")) {
    SetFadeDelta(static_cast<BYTE>(ParseDecimal(value)));
  } else if (NameIs(name, L"hotbkcolor")) {
    SetHotBkColor(ParseColor(value));
  } else if (NameIs(name, L"hottextcolor")) {
    SetHotTextColor(ParseColor(value));
  } else if (NameIs(name, L"pushedtextcolor")) {
    SetPushedTextColor(ParseColor(value));
  } else if (NameIs(name, L"focusedtextcolor")) {
    SetFocusedTextColor(ParseColor(value));
  } else if (NameIs(name, L"tablayout")) {
    SetTabLayoutName(value);
  } else if (NameIs(name, L"tabpage")) {
    SetTabPage(ParseDecimal(value));
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

bool CButtonUI::DrawImageFaded(HDC hDC, TDrawInfo& drawInfo, BYTE alpha) {
  if (alpha == 255) return DrawImage(hDC, drawInfo);
  if (!drawInfo.loaded) DrawImage(nullptr, drawInfo);
  const BYTE own = drawInfo.fade;
  drawInfo.fade = static_cast<BYTE>(own * alpha / 255);
  const bool drawn = DrawImage(hDC, drawInfo);
  drawInfo.fade = own;
  return drawn;
}

bool CButtonUI::PaintHotImage(HDC hDC) {
  if (m_uFadeDelta > 0) {
    if (m_uFadeAlpha == 0) return DrawImage(hDC, m_diHot);
    const bool normal = DrawImageFaded(hDC, m_diNormal, m_uFadeAlpha);
    const bool hot = DrawImageFaded(hDC, m_diHot, static_cast<BYTE>(255 - m_uFadeAlpha));
    return normal || hot;
  }
  return DrawImage(hDC, m_diHot) || DrawImage(hDC, m_diNormal);
}

void CButtonUI::PaintNormalImage(HDC hDC) {
  if (m_uFadeDelta > 0 && m_uFadeAlpha != 255) {
    DrawImageFaded(hDC, m_diHot, m_uFadeAlpha);
    DrawImageFaded(hDC, m_diNormal, static_cast<BYTE>(255 - m_uFadeAlpha));
    return;
  }
  DrawImage(hDC, m_diNormal);
}

void CButtonUI::PaintStatusImage(HDC hDC) {
  m_uButtonState = WithFocusedAndDisabledBits(m_uButtonState);

  bool normalNeeded = true;
  if ((m_uButtonState & UISTATE_DISABLED) != 0) {
    normalNeeded = !DrawImage(hDC, m_diDisabled);
  } else if ((m_uButtonState & UISTATE_PUSHED) != 0) {
    if (!DrawImage(hDC, m_diPushed)) DrawImage(hDC, m_diNormal);
    if (DrawImage(hDC, m_diPushedFore)) return;
    normalNeeded = false;
  } else if ((m_uButtonState & UISTATE_HOT) != 0) {
    PaintHotImage(hDC);
    if (DrawImage(hDC, m_diHotFore)) return;
    if (m_dwHotBkColor != 0) {
      CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwHotBkColor));
      return;
    }
    normalNeeded = false;
  } else if ((m_uButtonState & UISTATE_FOCUSED) != 0) {
    normalNeeded = !DrawImage(hDC, m_diFocused);
  }
  if (normalNeeded) PaintNormalImage(hDC);
  DrawImage(hDC, m_diFore);
}

DWORD CButtonUI::GetTextColorForPaint() const {
  DWORD color = CLabelUI::GetTextColorForPaint();
  if ((m_uButtonState & UISTATE_PUSHED) != 0 && m_dwPushedTextColor != 0) {
    color = m_dwPushedTextColor;
  } else if ((m_uButtonState & UISTATE_HOT) != 0 && m_dwHotTextColor != 0) {
    color = m_dwHotTextColor;
  } else if ((m_uButtonState & UISTATE_FOCUSED) != 0 && m_dwFocusedTextColor != 0) {
    color = m_dwFocusedTextColor;
  }
  return color;
}

}  // namespace SkinUI
