#include "uitoolkit/controls/lists/ui_list_header.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_value_parsing.h"
#include "uitoolkit/controls/ui_attribute_values.h"

namespace SkinUI {
namespace {

constexpr DWORD kDefaultHeaderBkColor = 0xFFF3F3F3;

}  // namespace

int DraggedColumnWidth(int startWidth, int dx, int minWidth) {
  return std::max(std::max(minWidth, 0), startWidth + dx);
}

// ---- CListHeaderUI ----

void* CListHeaderUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CHorizontalLayoutUI::GetInterface(name);
}

int CListHeaderUI::GetColumnsWidth() const {
  int width = 0;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = GetItemAt(i);
    if (!item->IsVisible() || item->IsFloat()) continue;
    auto* headerItem = static_cast<CListHeaderItemUI*>(item->GetInterface(L"ListHeaderItem"));
    width += headerItem != nullptr ? headerItem->GetColumnWidth() : item->GetFixedWidth();
  }
  return width;
}

void CListHeaderUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  LONG x = rc.left + m_rcInset.left;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = GetItemAt(i);
    if (!item->IsVisible()) continue;
    if (item->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    auto* headerItem = static_cast<CListHeaderItemUI*>(item->GetInterface(L"ListHeaderItem"));
    const int width = headerItem != nullptr ? headerItem->GetColumnWidth() : item->GetFixedWidth();
    item->SetPos(RECT{x, rc.top + m_rcInset.top, x + width, rc.bottom - m_rcInset.bottom}, false);
    x += width;
  }
}

void CListHeaderUI::PaintBkColor(HDC hDC) {
  if (m_dwBackColor != 0) {
    CControlUI::PaintBkColor(hDC);
  } else {
    CRenderEngine::DrawColor(hDC, m_rcItem, GetAdjustColor(kDefaultHeaderBkColor));
  }
}

// ---- CListHeaderItemUI ----

void* CListHeaderItemUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CControlUI::GetInterface(name);
}

UINT CListHeaderItemUI::GetControlFlags() const {
  return IsEnabled() && m_iSepWidth > 0 ? static_cast<UINT>(UIFLAG_SETCURSOR) : 0u;
}

RECT CListHeaderItemUI::SizingStrip() const {
  return RECT{m_rcItem.right - m_iSepWidth, m_rcItem.top, m_rcItem.right, m_rcItem.bottom};
}

void CListHeaderItemUI::DoEvent(TEventUI& event) {
  if (!IsEnabled()) {
    CControlUI::DoEvent(event);
    return;
  }
  const RECT strip = SizingStrip();
  switch (event.Type) {
    case UIEVENT_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, m_iSepWidth > 0 && (m_bSizing || ::PtInRect(&strip, event.ptMouse))
                                             ? IDC_SIZEWE
                                             : IDC_ARROW));
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (m_iSepWidth > 0 && ::PtInRect(&strip, event.ptMouse)) {
        m_bSizing = true;
        m_ptDragStart = event.ptMouse;
        m_iDragStartWidth = GetColumnWidth();
      } else {
        m_bPushed = true;
        Invalidate();
      }
      return;
    case UIEVENT_MOUSEMOVE:
      if (m_bSizing) {
        const int width = DraggedColumnWidth(m_iDragStartWidth,
                                             event.ptMouse.x - m_ptDragStart.x, GetMinWidth());
        if (width != GetColumnWidth()) {
          SetFixedWidth(width);
          // The columns of every element move: the list around the header lays out again.
          if (m_pParent != nullptr) m_pParent->NeedParentUpdate();
        }
      }
      return;
    case UIEVENT_BUTTONUP:
      if (m_bSizing) {
        m_bSizing = false;
      } else if (m_bPushed) {
        m_bPushed = false;
        Invalidate();
        if (::PtInRect(&m_rcItem, event.ptMouse) && m_pManager != nullptr) {
          m_pManager->SendNotify(this, L"headerclick");
        }
      }
      return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
      if (m_bHot != (event.Type == UIEVENT_MOUSEENTER)) {
        m_bHot = event.Type == UIEVENT_MOUSEENTER;
        Invalidate();
      }
      return;
    default:
      CControlUI::DoEvent(event);
  }
}

void CListHeaderItemUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"font")) {
    m_iFont = ParseDecimal(value);
  } else if (NameIs(name, L"textcolor")) {
    m_dwTextColor = ParseColor(value);
  } else if (NameIs(name, L"align")) {
    m_uTextStyle = ApplyAlignValue(m_uTextStyle, value);
  } else if (NameIs(name, L"textpadding")) {
    m_rcTextPadding = ParseRectValue(value);
  } else if (NameIs(name, L"sepwidth")) {
    m_iSepWidth = std::max<int>(0, ParseDecimal(value));
  } else if (NameIs(name, L"sepcolor")) {
    m_dwSepColor = ParseColor(value);
  } else if (NameIs(name, L"hotbkcolor")) {
    m_dwHotBkColor = ParseColor(value);
  } else if (NameIs(name, L"pushedbkcolor")) {
    m_dwPushedBkColor = ParseColor(value);
  } else if (TDrawInfo* image = m_images.ForAttribute(name)) {
    LoadDrawInfo(*image, value);
  } else {
    CControlUI::SetAttribute(name, value);
  }
}

void CListHeaderItemUI::PaintBkColor(HDC hDC) {
  DWORD color = m_dwBackColor;
  if (m_bPushed && m_dwPushedBkColor != 0) {
    color = m_dwPushedBkColor;
  } else if (m_bHot && m_dwHotBkColor != 0) {
    color = m_dwHotBkColor;
  }
  if (color != 0) CRenderEngine::DrawColor(hDC, m_rcItem, GetAdjustColor(color));
}

void CListHeaderItemUI::PaintStatusImage(HDC hDC) {
  UINT state = (m_bPushed ? UINT{UISTATE_PUSHED} : 0u) | (m_bHot ? UINT{UISTATE_HOT} : 0u);
  if (!IsEnabled()) state |= UISTATE_DISABLED;
  TDrawInfo* image = m_images.ForState(state);
  if (image != nullptr) DrawImage(hDC, *image);
  if (m_dwSepColor != 0) {
    const LONG x = m_rcItem.right - 1;
    CRenderEngine::DrawLine(hDC, RECT{x, m_rcItem.top + 3, x, m_rcItem.bottom - 3}, 1,
                            GetAdjustColor(m_dwSepColor));
  }
}

void CListHeaderItemUI::PaintText(HDC hDC) {
  if (m_sText.IsEmpty()) return;
  RECT rc = ShrinkRect(m_rcItem, m_rcTextPadding);
  DWORD color = m_dwTextColor;
  if (!IsEnabled()) {
    color = m_pManager != nullptr ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA;
  } else if (color == 0) {
    color = m_pManager != nullptr ? m_pManager->GetDefaultFontColor() : 0xFF000000;
  }
  CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, GetAdjustColor(color), m_iFont,
                          m_uTextStyle);
}

}  // namespace SkinUI
