#include "uitoolkit/controls/ui_text.h"

#include <cwchar>

namespace SkinUI {

CTextUI::CTextUI() {
  m_uTextStyle = DT_WORDBREAK;
  m_rcTextPadding = RECT{2, 0, 2, 0};
}

const wchar_t* CTextUI::GetClass() const { return L"Text"; }

void* CTextUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && std::wcscmp(name, L"Text") == 0) return this;
  return CLabelUI::GetInterface(name);
}

UINT CTextUI::GetControlFlags() const {
  return IsEnabled() && m_nLinks > 0 ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

void CTextUI::SetText(const wchar_t* text) {
  if (m_sText == text) return;
  m_nLinks = 0;
  m_nHoverLink = -1;
  CLabelUI::SetText(text);
}

const CUiString* CTextUI::GetLinkContent(int index) const {
  return index >= 0 && index < m_nLinks ? &m_sLinks[index] : nullptr;
}

int CTextUI::LinkAt(POINT pt) const {
  for (int i = 0; i < m_nLinks; ++i) {
    if (::PtInRect(&m_rcLinks[i], pt)) return i;
  }
  return -1;
}

void CTextUI::DoEvent(TEventUI& event) {
  if (PassOnMouseEventWhenMouseDisabled(event)) return;
  const int link = LinkAt(event.ptMouse);
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      if (link >= 0) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return;
      }
      break;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (link >= 0 && IsEnabled()) {
        Invalidate();
        return;
      }
      break;
    case UIEVENT_BUTTONUP:
      if (link >= 0 && IsEnabled()) {
        if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", link);
        return;
      }
      break;
    case UIEVENT_CONTEXTMENU:
      return;
    case UIEVENT_MOUSEMOVE:
    case UIEVENT_MOUSELEAVE: {
      // Links under the pointer are drawn in the hover colour: repaint when that changes.
      const int hover = event.Type == UIEVENT_MOUSEMOVE && IsEnabled() ? link : -1;
      if (hover != m_nHoverLink) {
        m_nHoverLink = hover;
        Invalidate();
      }
      break;
    }
    default:
      break;
  }
  CLabelUI::DoEvent(event);
}

void CTextUI::DrawLabelText(HDC hDC, RECT& rc, const CUiString& text, DWORD color) {
  if (m_bShowHtml && !m_effects.enabled) {
    m_nLinks = kMaxLinks;
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, text, color, m_rcLinks, m_sLinks, m_nLinks,
                                m_iFont, m_uTextStyle);
    return;
  }
  m_nLinks = 0;
  CLabelUI::DrawLabelText(hDC, rc, text, color);
}

}  // namespace SkinUI
