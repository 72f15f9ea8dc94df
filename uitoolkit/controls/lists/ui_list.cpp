#include "uitoolkit/controls/lists/ui_list.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/lists/ui_list_info_attributes.h"
#include "uitoolkit/controls/lists/ui_list_selection.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/controls/ui_scroll_bar.h"
#include "uitoolkit/core/ui_render_engine.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

bool Meets(const RECT& a, const RECT& b) {
  RECT common;
  return ::IntersectRect(&common, &a, &b) != FALSE;
}


}  // namespace

// ---- CListBodyUI ----

void CListBodyUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  m_pOwner->LayOutHeader();
  const RECT client = GetClientArea();
  const SIZE scroll = CContainerUI::GetScrollPos();
  const int columnsWidth = m_pOwner->GetColumnsWidth();
  const LONG rowWidth = std::max<LONG>(client.right - client.left, columnsWidth);
  const LONG left = client.left - scroll.cx;
  LONG y = client.top - scroll.cy;
  m_alternate.assign(static_cast<size_t>(m_items.GetSize()), false);
  int shown = 0;
  for (int i = 0; i < m_items.GetSize(); ++i) {
    CControlUI* row = GetItemAt(i);
    if (row->IsFloat()) {
      SetFloatPos(i);
      continue;
    }
    if (row->IsVisible()) m_alternate[static_cast<size_t>(i)] = (shown++ % 2) == 1;
    // A hidden row keeps an empty place, so that the rows' tops never decrease.
    const LONG height = row->IsVisible() ? m_pOwner->ElementHeight(row) : 0;
    row->SetPos(RECT{left, y, left + rowWidth, y + height}, false);
    y += height;
  }
  ProcessScrollBar(client, columnsWidth, y - (client.top - scroll.cy));
}

bool CListBodyUI::IsAlternateRow(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= m_alternate.size()) return index % 2 == 1;
  return m_alternate[static_cast<size_t>(index)];
}

int CListBodyUI::FirstRowBelow(LONG y) const {
  return FirstRowEndingBelow(m_items.GetSize(), y,
                             [this](int i) { return GetItemAt(i)->GetPos().bottom; });
}

bool CListBodyUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) {
  RECT area;
  if (!::IntersectRect(&area, &rcPaint, &m_rcItem)) return true;
  CRenderClip outerClip;
  CRenderClip::GenerateClip(hDC, area, outerClip);
  CControlUI::DoPaint(hDC, rcPaint, stopControl);
  const RECT client = GetClientArea();
  RECT clientPaint;
  if (::IntersectRect(&clientPaint, &rcPaint, &client)) {
    CRenderClip childClip;
    CRenderClip::GenerateClip(hDC, clientPaint, childClip);
    for (int i = FirstRowBelow(clientPaint.top); i < m_items.GetSize(); ++i) {
      CControlUI* row = GetItemAt(i);
      if (row->GetPos().top >= clientPaint.bottom) break;
      if (row == stopControl) return false;
      if (!row->IsVisible() || row->IsFloat() || !Meets(rcPaint, row->GetPos())) continue;
      if (!row->Paint(hDC, rcPaint, stopControl)) return false;
    }
  }
  return PaintScrollBars(hDC, rcPaint, stopControl);
}

CControlUI* CListBodyUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  if ((flags & UIFIND_HITTEST) == 0 || (flags & UIFIND_UPDATETEST) != 0) {
    return CVerticalLayoutUI::FindControl(proc, data, flags);
  }
  const POINT pt = *static_cast<const POINT*>(data);
  if (!IsVisible() || !::PtInRect(&m_rcItem, pt)) return nullptr;
  if ((flags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
  CScrollBarUI* bars[2] = {m_pVerticalScrollBar, m_pHorizontalScrollBar};
  for (CScrollBarUI* bar : bars) {
    if (bar == nullptr) continue;
    if (CControlUI* found = bar->FindControl(proc, data, flags)) return found;
  }
  const RECT client = GetClientArea();
  if (IsMouseChildEnabled() && ::PtInRect(&client, pt)) {
    for (int i = FirstRowBelow(pt.y); i < m_items.GetSize(); ++i) {
      CControlUI* row = GetItemAt(i);
      if (row->GetPos().top > pt.y) break;
      if (CControlUI* found = row->FindControl(proc, data, flags)) return found;
    }
  }
  return IsMouseEnabled() ? proc(this, data) : nullptr;
}

void CListBodyUI::SetScrollPos(SIZE pos) {
  const LONG before = CContainerUI::GetScrollPos().cx;
  CVerticalLayoutUI::SetScrollPos(pos);
  if (CContainerUI::GetScrollPos().cx != before) m_pOwner->LayOutHeader();
}

void CListBodyUI::SortRows(int (*compare)(CControlUI*, CControlUI*, UINT_PTR), UINT_PTR data) {
  if (m_items.GetSize() < 2) return;
  void** first = m_items.GetData();
  std::stable_sort(first, first + m_items.GetSize(), [compare, data](void* a, void* b) {
    return compare(static_cast<CControlUI*>(a), static_cast<CControlUI*>(b), data) < 0;
  });
  NeedUpdate();
}

void CListBodyUI::DetachRows(int first, int count) {
  if (count <= 0 || !m_items.Remove(first, count)) return;
  NeedUpdate();
}

// ---- CListUI ----

CListUI::CListUI() {
  m_pBody = new CListBodyUI(this);
  m_pBody->EnableScrollBar(true, true);
  CVerticalLayoutUI::AddAt(m_pBody, 0);
}

void* CListUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return this;
  if (NameIs(name, L"IListOwner")) return static_cast<IListOwnerUI*>(this);
  return CVerticalLayoutUI::GetInterface(name);
}

UINT CListUI::GetControlFlags() const { return UIFLAG_TABSTOP; }

IListItemUI* CListUI::ItemOf(CControlUI* control) const {
  return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface(L"ListItem"))
                            : nullptr;
}

int CListUI::IndexOf(CControlUI* control) const {
  IListItemUI* item = ItemOf(control);
  return item != nullptr ? item->GetIndex() : -1;
}

CControlUI* CListUI::GetItemAt(int index) const { return m_pBody->GetItemAt(index); }
int CListUI::GetItemIndex(CControlUI* control) const { return m_pBody->GetItemIndex(control); }
int CListUI::GetCount() const { return m_pBody->GetCount(); }

bool CListUI::SetItemIndex(CControlUI* control, int index) {
  const int from = GetItemIndex(control);
  if (!m_pBody->SetItemIndex(control, index)) return false;
  Renumber(std::min(from, index));
  return true;
}

bool CListUI::SetMultiItemIndex(CControlUI* startControl, int count, int newStartIndex) {
  const int from = GetItemIndex(startControl);
  if (!m_pBody->SetMultiItemIndex(startControl, count, newStartIndex)) return false;
  Renumber(std::min(from, newStartIndex));
  return true;
}

void CListUI::Renumber(int first) {
  for (int i = std::max(first, 0); i < GetCount(); ++i) {
    if (IListItemUI* item = ItemOf(GetItemAt(i))) item->SetIndex(i);
  }
}

bool CListUI::Add(CControlUI* control) {
  if (control != nullptr && control->GetInterface(L"ListHeader") != nullptr) {
    if (m_pHeader != nullptr) return false;
    if (!CVerticalLayoutUI::AddAt(control, 1)) return false;
    m_pHeader = static_cast<CListHeaderUI*>(control->GetInterface(L"ListHeader"));
    return true;
  }
  return AddAt(control, GetCount());
}

bool CListUI::AddAt(CControlUI* control, int index) {
  if (control == nullptr || control->GetInterface(L"ListHeader") != nullptr) return false;
  const int previous = GetCurSel();
  if (!m_pBody->AddAt(control, index)) return false;
  if (IListItemUI* item = ItemOf(control)) {
    item->SetOwner(this);
    if (item->IsSelected()) m_selection.push_back(control);
  }
  Renumber(index);
  NotifySelection(previous);
  return true;
}

void CListUI::DropElement(CControlUI* element) {
  m_selection.erase(std::remove(m_selection.begin(), m_selection.end(), element),
                    m_selection.end());
  if (m_pCaret == element) m_pCaret = nullptr;
  if (m_pAnchor == element) m_pAnchor = nullptr;
}

bool CListUI::Remove(CControlUI* control, bool doNotDestroy) {
  if (control != nullptr && control == m_pHeader) {
    m_pHeader = nullptr;
    m_items.Remove(m_items.Find(control));
    if (m_pManager != nullptr) m_pManager->ReapObjects(control);
    if (!doNotDestroy && m_bAutoDestroy) DestroyItem(control);
    NeedUpdate();
    return true;
  }
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  return RemoveAt(index, doNotDestroy);
}

bool CListUI::RemoveAt(int index, bool doNotDestroy) {
  CControlUI* element = GetItemAt(index);
  if (element == nullptr) return false;
  const int previous = GetCurSel();
  DropElement(element);
  if (!m_pBody->RemoveAt(index, doNotDestroy)) return false;
  Renumber(index);
  NotifySelection(previous);
  return true;
}

void CListUI::RemoveAll() {
  const int previous = GetCurSel();
  m_selection.clear();
  m_pCaret = nullptr;
  m_pAnchor = nullptr;
  m_pBody->RemoveAll();
  NotifySelection(previous);
}

void CListUI::DetachElements(int first, int count) {
  const int previous = GetCurSel();
  for (int i = first; i < first + count; ++i) DropElement(GetItemAt(i));
  m_pBody->DetachRows(first, count);
  Renumber(first);
  NotifySelection(previous);
}

SIZE CListUI::GetScrollPos() const { return m_pBody->GetScrollPos(); }
SIZE CListUI::GetScrollRange() const { return m_pBody->GetScrollRange(); }
void CListUI::SetScrollPos(SIZE pos) { m_pBody->SetScrollPos(pos); }

int CListUI::GetColumnsWidth() const {
  return m_pHeader != nullptr && m_pHeader->IsVisible() ? m_pHeader->GetColumnsWidth() : 0;
}

void CListUI::SetPos(RECT rc, bool needInvalidate) {
  CControlUI::SetPos(rc, needInvalidate);
  m_iFontHeight = -1;
  const RECT client = ShrinkRect(m_rcItem, m_rcInset);
  LONG top = client.top;
  if (m_pHeader != nullptr && m_pHeader->IsVisible()) {
    const int height = m_pHeader->GetFixedHeight() > 0 ? m_pHeader->GetFixedHeight()
                                                       : CListHeaderUI::kDefaultHeight;
    top += height;
  }
  m_pBody->SetPos(RECT{client.left, top, client.right, std::max(top, client.bottom)}, false);
}

void CListUI::LayOutHeader() {
  m_listInfo.columnCount = 0;
  if (m_pHeader == nullptr || !m_pHeader->IsVisible()) return;
  const RECT client = ShrinkRect(m_rcItem, m_rcInset);
  const LONG scrollX = m_pBody->CContainerUI::GetScrollPos().cx;
  const LONG width = std::max<LONG>(client.right - client.left, m_pHeader->GetColumnsWidth());
  const int height = m_pHeader->GetFixedHeight() > 0 ? m_pHeader->GetFixedHeight()
                                                     : CListHeaderUI::kDefaultHeight;
  m_pHeader->SetPos(RECT{client.left - scrollX, client.top, client.left - scrollX + width,
                         client.top + height},
                    false);
  for (int i = 0; i < m_pHeader->GetCount() && m_listInfo.columnCount < kMaxListColumns; ++i) {
    CControlUI* item = m_pHeader->GetItemAt(i);
    if (!item->IsVisible() || item->IsFloat()) continue;
    m_listInfo.columns[m_listInfo.columnCount++] = item->GetPos();
  }
  m_pHeader->Invalidate();
}

int CListUI::ElementHeight(CControlUI* element) {
  if (element->GetFixedHeight() <= 0 && m_listInfo.itemHeight <= 0 && m_iFontHeight < 0) {
    m_iFontHeight = ListFontHeight(m_pManager, m_listInfo.font);
  }
  return ElementHeightFor(element->GetFixedHeight(), m_listInfo.itemHeight,
                          std::max(m_iFontHeight, 0));
}

// ---- selection ----

int CListUI::GetCurSel() const {
  IListItemUI* caret = ItemOf(m_pCaret);
  return caret != nullptr && caret->IsSelected() ? caret->GetIndex() : -1;
}

std::vector<int> CListUI::GetSelectedIndexes() const {
  std::vector<int> indexes;
  for (CControlUI* element : m_selection) indexes.push_back(IndexOf(element));
  std::sort(indexes.begin(), indexes.end());
  return indexes;
}

void CListUI::SetSelected(CControlUI* element, bool selected) {
  IListItemUI* item = ItemOf(element);
  if (item == nullptr || !item->Select(selected)) return;
  if (selected) {
    m_selection.push_back(element);
  } else {
    m_selection.erase(std::remove(m_selection.begin(), m_selection.end(), element),
                      m_selection.end());
  }
}

void CListUI::ClearSelection(CControlUI* keep) {
  std::vector<CControlUI*> selection;
  selection.swap(m_selection);
  for (CControlUI* element : selection) {
    if (element == keep) {
      m_selection.push_back(element);
    } else if (IListItemUI* item = ItemOf(element)) {
      item->Select(false);
    }
  }
}

void CListUI::NotifySelection(int previous) {
  const int current = GetCurSel();
  if (current != previous && m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(current), previous);
  }
}

bool CListUI::SelectItem(int index, bool takeFocus) {
  if (takeFocus) SetFocus();
  if (index < 0) {
    const int previous = GetCurSel();
    if (m_selection.empty()) return false;
    ClearSelection();
    NotifySelection(previous);
    return true;
  }
  return SelectWithMode(index, static_cast<int>(ListSelectMode::kSingle));
}

bool CListUI::SelectWithMode(int index, int mode) {
  CControlUI* target = GetItemAt(index);
  IListItemUI* item = ItemOf(target);
  if (item == nullptr || !target->IsEnabled()) return false;
  const int previous = GetCurSel();
  const size_t selectedBefore = m_selection.size();
  const bool wasSelected = item->IsSelected();
  switch (static_cast<ListSelectMode>(mode)) {
    case ListSelectMode::kSingle:
      ClearSelection(target);
      SetSelected(target, true);
      m_pAnchor = target;
      break;
    case ListSelectMode::kToggle:
      SetSelected(target, !wasSelected);
      m_pAnchor = target;
      break;
    case ListSelectMode::kRange: {
      const TRowRange range = RangeFromAnchor(IndexOf(m_pAnchor), index);
      ClearSelection();
      // Hidden and disabled rows inside the range stay unselected.
      for (int i = range.first; i <= range.last; ++i) {
        CControlUI* row = GetItemAt(i);
        if (row->IsVisible() && row->IsEnabled()) SetSelected(row, true);
      }
      if (m_pAnchor == nullptr) m_pAnchor = target;
      break;
    }
  }
  const bool caretMoved = m_pCaret != target;
  m_pCaret = target;
  EnsureVisible(index);
  NotifySelection(previous);
  return caretMoved || wasSelected != item->IsSelected() || selectedBefore != m_selection.size();
}

void CListUI::SetMultiSelect(bool multiSelect) {
  m_bMultiSelect = multiSelect;
  if (!multiSelect && m_selection.size() > 1) {
    const int previous = GetCurSel();
    ClearSelection(GetCurSel() >= 0 ? m_pCaret : m_selection.front());
    NotifySelection(previous);
  }
}

void CListUI::EnsureVisible(int index) {
  CControlUI* element = GetItemAt(index);
  if (element == nullptr) return;
  // A row added since the last layout pass has no place yet.
  if (m_pBody->IsUpdateNeeded() || element->IsUpdateNeeded()) {
    SetPos(m_bFloat ? GetRelativePos() : GetPos(), false);
  }
  m_pBody->ScrollRectIntoView(element->GetPos());
}

bool CListUI::SortItems(CompareItems compare, UINT_PTR data) {
  if (compare == nullptr) return false;
  const int previous = GetCurSel();
  m_pBody->SortRows(compare, data);
  Renumber(0);
  NotifySelection(previous);
  return true;
}

// ---- input ----

void CListUI::DoEvent(TEventUI& event) {
  const int caretIndex = IndexOf(m_pCaret);
  switch (event.Type) {
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK: {
      const int index = IndexOf(event.pSender);
      if (index < 0 || GetItemAt(index) != event.pSender) break;
      SetFocus();
      const ListSelectMode mode = SelectModeFor(event.wKeyState, m_bMultiSelect);
      // The second click of a double click only keeps what the first one selected.
      if (event.Type == UIEVENT_DBLCLICK && mode != ListSelectMode::kSingle) return;
      SelectWithMode(index, static_cast<int>(mode));
      return;
    }
    case UIEVENT_KEYDOWN: {
      if (event.chKey == VK_SPACE || event.chKey == VK_RETURN) {
        if (m_pCaret != nullptr) m_pCaret->Activate();
        return;
      }
      const int rowHeight = m_pCaret != nullptr ? m_pCaret->GetHeight()
                                                : (GetCount() > 0 ? GetItemAt(0)->GetHeight() : 0);
      const RECT client = m_pBody->GetClientArea();
      const int pageRows = PageRowsFor(client.bottom - client.top, rowHeight);
      int next = NextRowForKey(event.chKey, caretIndex, GetCount(), pageRows);
      if (next < 0) break;
      // A page counts the rows shown, not the hidden ones between them.
      if (caretIndex >= 0 && (event.chKey == VK_PRIOR || event.chKey == VK_NEXT)) {
        next = StepVisibleRows(caretIndex, next - caretIndex);
      }
      // A disabled or hidden element is passed over, towards where the key goes.
      const bool forward =
          event.chKey == VK_DOWN || event.chKey == VK_NEXT || event.chKey == VK_HOME;
      int target = m_pBody->FindSelectable(next, forward);
      if (target < 0) target = m_pBody->FindSelectable(next, !forward);
      if (target < 0) return;
      ListSelectMode mode = SelectModeFor(event.wKeyState, m_bMultiSelect);
      if (mode == ListSelectMode::kToggle) mode = ListSelectMode::kSingle;
      SelectWithMode(target, static_cast<int>(mode));
      return;
    }
    case UIEVENT_SCROLLWHEEL:
      if (!m_bForwarding) {
        m_bForwarding = true;
        m_pBody->DoEvent(event);
        m_bForwarding = false;
        return;
      }
      break;
    default:
      break;
  }
  CVerticalLayoutUI::DoEvent(event);
}

int CListUI::StepVisibleRows(int from, int steps) const {
  const int direction = steps < 0 ? -1 : 1;
  int reached = from;
  for (int i = from + direction; steps != 0 && i >= 0 && i < GetCount(); i += direction) {
    const CControlUI* row = GetItemAt(i);
    if (!row->IsVisible() || row->IsFloat()) continue;
    reached = i;
    steps -= direction;
  }
  return reached;
}

// ---- attributes ----

void CListUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (SetListInfoAttribute(m_listInfo, name, value)) {
    NeedUpdate();
    return;
  }
  if (NameIs(name, L"multiselect")) {
    SetMultiSelect(ParseBoolValue(value));
  } else if (NameIs(name, L"vscrollbar") || NameIs(name, L"hscrollbar") ||
             NameIs(name, L"vscrollbarstyle") || NameIs(name, L"hscrollbarstyle") ||
             NameIs(name, L"scrollstepsize")) {
    m_pBody->SetAttribute(name, value);
  } else {
    CVerticalLayoutUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
