#include "uitoolkit/controls/lists/ui_list_elements.h"

#include <cwchar>

#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/controls/ui_attribute_values.h"

namespace SkinUI {
namespace {

bool Inside(const RECT& rc, POINT pt) { return ::PtInRect(&rc, pt) != FALSE; }

// The look of an element without an owner.
const TListInfoUI kOwnerlessLook;

const TListInfoUI* InfoOf(IListOwnerUI* owner) {
  return owner != nullptr ? owner->GetListInfo() : nullptr;
}

// The cell of column `column` within the row `rcItem`: the header's column edges, or the whole
// row without columns.
RECT CellRect(const TListInfoUI* info, const RECT& rcItem, int column) {
  if (info == nullptr || info->columnCount == 0) return rcItem;
  return RECT{info->columns[column].left, rcItem.top, info->columns[column].right, rcItem.bottom};
}

}  // namespace

DWORD ListRowBkColor(const TListInfoUI& info, const TListRowState& state,
                     DWORD defaultSelected) {
  if (state.disabled) return info.disabledBkColor;
  if (state.selected) {
    if (info.selectedBkColor != 0) return info.selectedBkColor;
    return defaultSelected != 0 ? defaultSelected : kDefaultListSelectedBkColor;
  }
  if (state.hot) return info.hotBkColor != 0 ? info.hotBkColor : kDefaultListHotBkColor;
  if (state.alternate && info.alternateBkColor != 0) return info.alternateBkColor;
  return info.bkColor;
}

DWORD ListRowTextColor(const TListInfoUI& info, const TListRowState& state, DWORD defaultText,
                       DWORD defaultDisabled) {
  DWORD color = 0;
  if (state.disabled) {
    color = info.disabledTextColor != 0 ? info.disabledTextColor : defaultDisabled;
  } else if (state.selected) {
    color = info.selectedTextColor;
  } else if (state.hot) {
    color = info.hotTextColor;
  }
  if (color == 0) color = info.textColor;
  return color != 0 ? color : defaultText;
}

const wchar_t* ListRowImage(const TListInfoUI& info, const TListRowState& state) {
  const CUiString* image = &info.bkImage;
  if (state.disabled) {
    image = &info.disabledImage;
  } else if (state.selected) {
    image = &info.selectedImage;
  } else if (state.hot) {
    image = &info.hotImage;
  }
  return image->IsEmpty() ? info.bkImage.GetData() : image->GetData();
}

CUiString ListColumnText(const CUiString& text, int column) {
  int start = 0;
  for (int i = 0; i < column; ++i) {
    const int separator = text.Find(kListColumnSeparator, start);
    if (separator < 0) return CUiString();
    start = separator + 1;
  }
  const int end = text.Find(kListColumnSeparator, start);
  return text.Mid(start, end < 0 ? -1 : end - start);
}

CUiString WithListColumnText(const CUiString& text, int column, const wchar_t* value) {
  CUiString cell(value != nullptr ? value : L"");
  cell.Replace(L"|", L" ");
  CUiString result;
  int columns = 1;
  for (int i = 0; i < text.GetLength(); ++i) {
    if (text[i] == kListColumnSeparator) ++columns;
  }
  if (column >= columns) columns = column + 1;
  for (int i = 0; i < columns; ++i) {
    if (i > 0) result += kListColumnSeparator;
    result += i == column ? cell : ListColumnText(text, i);
  }
  return result;
}

// ---- CListRow ----

void CListRow::SetOwner(CControlUI* ownerControl) {
  owner = ownerControl != nullptr
              ? static_cast<IListOwnerUI*>(ownerControl->GetInterface(L"IListOwner"))
              : nullptr;
}

TListRowState CListRow::StateOf(const CControlUI& self) const {
  TListRowState state;
  state.selected = selected;
  state.hot = hot;
  state.disabled = !self.IsEnabled();
  state.alternate =
      index >= 0 && (owner != nullptr ? owner->IsAlternateRow(index) : index % 2 == 1);
  return state;
}

void CListRow::PaintBackground(CControlUI& self, HDC hDC) const {
  const TListInfoUI* info = InfoOf(owner);
  if (info == nullptr) return;
  const RECT rc = self.GetPos();
  IControlManagerUI* manager = self.GetManagerInterface();
  const TListRowState state = StateOf(self);
  const DWORD color = ListRowBkColor(
      *info, state, manager != nullptr ? manager->GetDefaultSelectedBkColor() : 0);
  if (color != 0) CRenderEngine::DrawColor(hDC, rc, self.GetAdjustColor(color));
  const wchar_t* image = ListRowImage(*info, state);
  if (image != nullptr && *image != L'\0') {
    TDrawInfo drawInfo(image);
    self.DrawImage(hDC, drawInfo);
  }
  if (info->lineColor != 0) {
    const DWORD line = self.GetAdjustColor(info->lineColor);
    CRenderEngine::DrawLine(hDC, RECT{rc.left, rc.bottom - 1, rc.right, rc.bottom - 1}, 1, line);
    for (int i = 0; i + 1 < info->columnCount; ++i) {
      const LONG x = info->columns[i].right - 1;
      CRenderEngine::DrawLine(hDC, RECT{x, rc.top, x, rc.bottom - 1}, 1, line);
    }
  }
}

bool CListRow::HandleEvent(CControlUI& self, TEventUI& event) {
  IControlManagerUI* manager = self.GetManagerInterface();
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (!self.IsEnabled()) return true;
      if (manager != nullptr) {
        manager->SendNotify(&self, event.Type == UIEVENT_BUTTONDOWN ? L"itemclick"
                                                                    : L"itemdbclick");
      }
      if (owner != nullptr) {
        TEventUI forwarded = event;
        forwarded.pSender = &self;
        owner->DoEvent(forwarded);
      }
      if (event.Type == UIEVENT_DBLCLICK) self.Activate();
      return true;
    case UIEVENT_BUTTONUP:
      return true;
    case UIEVENT_KEYDOWN:
    case UIEVENT_SCROLLWHEEL:
      if (owner != nullptr) {
        TEventUI forwarded = event;
        forwarded.pSender = &self;
        owner->DoEvent(forwarded);
        return true;
      }
      return false;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE: {
      // Leaving the row for one of its own children keeps it hot.
      const bool nowHot = self.IsEnabled() && (event.Type == UIEVENT_MOUSEENTER ||
                                               Inside(self.GetPos(), event.ptMouse));
      if (nowHot != hot) {
        hot = nowHot;
        self.Invalidate();
      }
      return true;
    }
    default:
      return false;
  }
}

bool CListRow::Select(CControlUI& self, bool select) {
  if (selected == select) return false;
  selected = select;
  self.Invalidate();
  return true;
}

bool CListRow::Activate(CControlUI& self) {
  if (!self.IsVisible() || !self.IsEnabled()) return false;
  if (self.GetManagerInterface() != nullptr) {
    self.GetManagerInterface()->SendNotify(&self, L"itemactivate");
  }
  return true;
}

// ---- CListLabelElementUI ----

void CListLabelElementUI::PaintText(HDC hDC) { DrawItemText(hDC, m_rcItem); }

DWORD CListLabelElementUI::TextColor() const {
  const TListInfoUI* info = InfoOf(m_row.owner);
  return GetAdjustColor(ListRowTextColor(
      info != nullptr ? *info : kOwnerlessLook, m_row.StateOf(*this),
      m_pManager != nullptr ? m_pManager->GetDefaultFontColor() : 0xFF000000,
      m_pManager != nullptr ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA));
}

void CListLabelElementUI::DrawCellText(HDC hDC, RECT rc, const wchar_t* text, DWORD color,
                                       RECT* linkRects, CUiString* linkTexts, int& linkCount) {
  const TListInfoUI* info = InfoOf(m_row.owner);
  const TListInfoUI& look = info != nullptr ? *info : kOwnerlessLook;
  rc = ShrinkRect(rc, look.textPadding);
  if (text == nullptr || *text == L'\0' || rc.right <= rc.left) {
    linkCount = 0;
    return;
  }
  if (look.showHtml) {
    CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, text, color, linkRects, linkTexts,
                                linkCount, look.font, look.textStyle);
  } else {
    linkCount = 0;
    CRenderEngine::DrawText(hDC, m_pManager, rc, text, color, look.font, look.textStyle);
  }
}

void CListLabelElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
  int linkCount = 0;
  DrawCellText(hDC, CellRect(InfoOf(m_row.owner), rcItem, 0), m_sText, TextColor(), nullptr,
               nullptr, linkCount);
}

// ---- CListTextElementUI ----

void* CListTextElementUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CListLabelElementUI::GetInterface(name);
}

UINT CListTextElementUI::GetControlFlags() const {
  return IsEnabled() && m_links != nullptr && m_links->count > 0
             ? static_cast<UINT>(UIFLAG_SETCURSOR)
             : 0u;
}

void CListTextElementUI::SetColumnText(int column, const wchar_t* text) {
  if (column < 0 || column >= kMaxListColumns) return;
  SetText(WithListColumnText(m_sText, column, text));
}

int CListTextElementUI::LinkAt(POINT pt) const {
  if (m_links == nullptr) return -1;
  for (int i = 0; i < m_links->count; ++i) {
    if (Inside(m_links->rects[i], pt)) return i;
  }
  return -1;
}

void CListTextElementUI::DoEvent(TEventUI& event) {
  const int link = LinkAt(event.ptMouse);
  if (link >= 0 && IsEnabled()) {
    if (event.Type == UIEVENT_SETCURSOR) {
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return;
    }
    if (event.Type == UIEVENT_BUTTONUP) {
      if (m_pManager != nullptr) m_pManager->SendNotify(this, L"link", link);
      return;
    }
  }
  CListLabelElementUI::DoEvent(event);
}

void CListTextElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
  const TListInfoUI* info = InfoOf(m_row.owner);
  const int columns = info != nullptr && info->columnCount > 0 ? info->columnCount : 1;
  const bool html = info != nullptr && info->showHtml;
  if (html && m_links == nullptr) m_links.reset(new TLinks());
  if (m_links != nullptr) m_links->count = 0;
  const DWORD color = TextColor();
  for (int column = 0; column < columns; ++column) {
    const CUiString text = ListColumnText(m_sText, column);
    int linkCount = 0;
    if (html) {
      const int first = m_links->count;
      linkCount = kMaxLinks - first;
      DrawCellText(hDC, CellRect(info, rcItem, column), text, color, m_links->rects + first,
                   m_links->texts + first, linkCount);
      m_links->count = first + linkCount;
    } else {
      DrawCellText(hDC, CellRect(info, rcItem, column), text, color, nullptr, nullptr,
                   linkCount);
    }
  }
}

// ---- CListContainerElementUI ----

void CListContainerElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
  const TListInfoUI* info = InfoOf(m_row.owner);
  if (m_sText.IsEmpty() || info == nullptr) return;
  RECT rc = ShrinkRect(CellRect(info, rcItem, 0), info->textPadding);
  const TListInfoUI& look = *info;
  const DWORD color = GetAdjustColor(ListRowTextColor(
      look, m_row.StateOf(*this),
      m_pManager != nullptr ? m_pManager->GetDefaultFontColor() : 0xFF000000,
      m_pManager != nullptr ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA));
  CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, color, look.font, look.textStyle);
}

// ---- CListHBoxElementUI ----

void* CListHBoxElementUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  return CListContainerElementUI::GetInterface(name);
}

void CListHBoxElementUI::SetPos(RECT rc, bool needInvalidate) {
  const TListInfoUI* info = InfoOf(m_row.owner);
  if (info == nullptr || info->columnCount == 0) {
    CListContainerElementUI::SetPos(rc, needInvalidate);
    return;
  }
  CControlUI::SetPos(rc, needInvalidate);
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* child = GetItemAt(i);
    if (child->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    if (i >= info->columnCount) {
      child->SetPos(RECT{rc.right, rc.top, rc.right, rc.top}, false);
      continue;
    }
    child->SetPos(ShrinkRect(CellRect(info, m_rcItem, i), child->GetPadding()), false);
  }
}

}  // namespace SkinUI
