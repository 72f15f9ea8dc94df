#include "uitoolkit/controls/lists/ui_combo.h"

#include <algorithm>
#include <cwchar>

#include "uitoolkit/controls/lists/ui_combo_geometry.h"
#include "uitoolkit/controls/lists/ui_list_info_attributes.h"
#include "uitoolkit/controls/lists/ui_list_selection.h"
#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {

namespace {

bool Inside(const RECT& rc, POINT pt) { return ::PtInRect(&rc, pt) != FALSE; }

// The plain look, for what the skin does not colour.
constexpr DWORD kPlainBk = 0xFFFFFFFF;
constexpr DWORD kPlainDisabledBk = 0xFFF0F0F0;
constexpr DWORD kPlainBorder = 0xFF7A7A7A;
constexpr DWORD kPlainActiveBorder = 0xFF0078D7;
constexpr DWORD kPlainDisabledBorder = 0xFFCCCCCC;
constexpr DWORD kPlainArrow = 0xFF404040;
constexpr DWORD kPlainDisabledArrow = 0xFFBFBFBF;
constexpr DWORD kPlainText = 0xFF000000;
constexpr DWORD kPlainDisabledText = 0xFFA0A0A0;
// The drop-down list's look unless `dropbox` says otherwise.
constexpr const wchar_t* kPlainDropBox =
    L"bkcolor=\"#FFFFFFFF\" bordercolor=\"#FF7A7A7A\" bordersize=\"1\" inset=\"1,1,1,1\"";

}  // namespace

CComboUI::CComboUI() { m_listInfo.textPadding = RECT{4, 0, 4, 0}; }

CComboUI::~CComboUI() {
  // An open drop-down gives the elements back before they go with the container.
  if (m_popup != nullptr) m_popup->Close();
}

const wchar_t* CComboUI::GetClass() const { return kClassName; }

void* CComboUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) return static_cast<CComboUI*>(this);
  if (NameIs(name, L"IListOwner")) return static_cast<IListOwnerUI*>(this);
  return CContainerUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const { return IsEnabled() ? UIFLAG_TABSTOP : 0u; }

IListItemUI* CComboUI::ItemAt(int index) const {
  CControlUI* control = GetItemAt(index);
  return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface(L"ListItem"))
                            : nullptr;
}

// ---- Elements ----

bool CComboUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  // Added while the drop-down is open: shown there at once.
  if (m_dropList != nullptr) {
    m_dropList->AddAt(control, index);
    m_sizedRows.insert(m_sizedRows.begin() + index, false);
  }
  if (IListItemUI* item = static_cast<IListItemUI*>(control->GetInterface(L"ListItem"))) {
    item->SetOwner(this);
  }
  if (m_iCurSel >= index) ++m_iCurSel;
  Reindex(index);
  // A `cursel` read before its element was added takes effect when it arrives.
  if (m_iPendingSel >= 0 && m_iPendingSel < GetCount()) {
    const int pending = m_iPendingSel;
    m_iPendingSel = -1;
    ChangeSelection(pending, false);
  }
  return true;
}

bool CComboUI::Remove(CControlUI* control, bool doNotDestroy) {
  const int index = GetItemIndex(control);
  if (index < 0) return false;
  if (m_dropList != nullptr) {
    m_dropList->Remove(control, true);
    if (m_sizedRows[index]) control->SetFixedHeight(0);
    m_sizedRows.erase(m_sizedRows.begin() + index);
  }
  if (!CContainerUI::Remove(control, doNotDestroy)) return false;
  if (m_iCurSel == index) {
    m_iCurSel = -1;
  } else if (m_iCurSel > index) {
    --m_iCurSel;
  }
  Reindex(index);
  Invalidate();
  return true;
}

void CComboUI::RemoveAll() {
  if (m_dropList != nullptr) m_dropList->RemoveAll();
  m_sizedRows.clear();
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
  Invalidate();
}

void CComboUI::Reindex(int from) {
  for (int i = std::max(from, 0); i < GetCount(); ++i) {
    if (IListItemUI* item = ItemAt(i)) item->SetIndex(i);
  }
}

// ---- Selection ----

bool CComboUI::SelectItem(int index, bool takeFocus) {
  if (takeFocus && m_dropList == nullptr) SetFocus();
  // An element clicked in the open drop-down only shows the choice; closing sends it.
  return ChangeSelection(index, m_dropList == nullptr);
}

bool CComboUI::ChangeSelection(int index, bool notify) {
  if (index < -1 || index >= GetCount() || index == m_iCurSel) return false;
  const int previous = m_iCurSel;
  if (IListItemUI* old = ItemAt(previous)) old->Select(false);
  m_iCurSel = index;
  if (IListItemUI* item = ItemAt(index)) item->Select(true);
  Invalidate();
  if (m_dropList != nullptr) EnsureSelectedVisible();
  if (notify && m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(index),
                           static_cast<LPARAM>(previous));
  }
  return true;
}

void CComboUI::EnsureSelectedVisible() {
  CControlUI* item = GetItemAt(m_iCurSel);
  if (m_dropList != nullptr && item != nullptr) m_dropList->ScrollRectIntoView(item->GetPos());
}

bool CComboUI::StepSelection(UINT vk, bool notify) {
  // While closed a page key moves one element, as an arrow does.
  int pageRows = 2;
  CControlUI* first = GetItemAt(0);
  if (m_dropList != nullptr && first != nullptr) {
    const RECT client = m_dropList->GetClientArea();
    pageRows = PageRowsFor(client.bottom - client.top, first->GetHeight());
  }
  const int next = NextRowForKey(vk, m_iCurSel, GetCount(), pageRows);
  return next >= 0 && ChangeSelection(next, notify);
}

// ---- The drop-down ----

RECT CComboUI::DropDownRect() const {
  RECT box = m_rcItem;
  HWND window = m_pManager != nullptr ? m_pManager->GetPaintWindow() : nullptr;
  ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&box), 2);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromRect(&box, MONITOR_DEFAULTTONEAREST), &monitor);
  SIZE size = m_szDropBox;
  if (size.cy <= 0) size.cy = kDefaultDropBoxSize.cy;
  // No taller than the elements need (plus the list's inset and border).
  const RECT inset = m_dropList->GetInset();
  LONG content = inset.top + inset.bottom;
  for (int i = 0; i < GetCount(); ++i) {
    if (GetItemAt(i)->IsVisible()) content += GetItemAt(i)->GetFixedHeight();
  }
  if (GetCount() > 0) size.cy = std::min(size.cy, content);
  return PlaceDropDown(box, size, monitor.rcWork);
}

bool CComboUI::OpenDropDown() {
  if (m_dropList != nullptr || m_pManager == nullptr || !IsEnabled()) return false;
  if (m_popup == nullptr) m_popup = m_pManager->CreatePopupHost(this);
  if (m_popup == nullptr) return false;
  CVerticalLayoutUI* list = new CVerticalLayoutUI();
  // The elements stay the combo's: the list only shows them while the pop-up is open.
  list->SetAutoDestroy(false);
  list->SetAttributeList(kPlainDropBox);
  list->EnableScrollBar(true, false);
  if (!m_sDropBoxAttributes.IsEmpty()) list->SetAttributeList(m_sDropBoxAttributes);
  m_dropList = list;
  // Rows without a height of their own take the item height while they are shown.
  const int fontHeight = ListFontHeight(m_pManager, m_listInfo.font);
  m_sizedRows.assign(GetCount(), false);
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = GetItemAt(i);
    if (item->GetFixedHeight() <= 0) {
      item->SetFixedHeight(ElementHeightFor(0, m_listInfo.itemHeight, fontHeight));
      m_sizedRows[i] = true;
    }
    list->Add(item);
    item->SetInternVisible(true);
  }
  const RECT rc = DropDownRect();
  m_iOpenSel = m_iCurSel;
  m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
  if (!m_popup->Open(list, rc)) {
    m_dropList = nullptr;
    return false;
  }
  EnsureSelectedVisible();
  Invalidate();
  m_pManager->SendNotify(this, L"dropdown");
  return true;
}

void CComboUI::CloseDropDown(bool commit) {
  if (m_dropList == nullptr) return;
  const int chosen = m_iCurSel;
  if (!commit) ChangeSelection(m_iOpenSel, false);
  m_popup->Close();
  if (commit && chosen != m_iOpenSel && m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"itemselect", static_cast<WPARAM>(chosen),
                           static_cast<LPARAM>(m_iOpenSel));
  }
}

HWND CComboUI::GetDropDownWindow() const {
  return m_dropList != nullptr && m_popup != nullptr ? m_popup->GetWindow() : nullptr;
}

void CComboUI::OnPopupClosing(CControlUI* root) {
  if (root == nullptr || root != m_dropList) return;
  m_dropList->RemoveAll();
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = GetItemAt(i);
    // The pop-up's hover goes with it.
    TEventUI leave;
    leave.Type = UIEVENT_MOUSELEAVE;
    leave.pSender = item;
    leave.ptMouse = POINT{-1, -1};
    leave.dwTimestamp = ::GetTickCount();
    item->Event(leave);
    item->SetManager(m_pManager, this, false);
    item->SetInternVisible(false);
    if (static_cast<size_t>(i) < m_sizedRows.size() && m_sizedRows[i]) item->SetFixedHeight(0);
  }
  m_sizedRows.clear();
  m_dropList = nullptr;
  Invalidate();
}

bool CComboUI::OnPopupKey(UINT vk, bool alt) {
  switch (vk) {
    case VK_ESCAPE:
      CloseDropDown(false);
      return true;
    case VK_RETURN:
    case VK_F4:
      CloseDropDown(true);
      return true;
    case VK_UP:
    case VK_DOWN:
      if (alt) {
        CloseDropDown(true);
        return true;
      }
      [[fallthrough]];
    case VK_PRIOR:
    case VK_NEXT:
    case VK_HOME:
    case VK_END:
      StepSelection(vk, false);
      return true;
    default:
      return false;
  }
}

void CComboUI::OnPopupClick(POINT pt) {
  if (m_dropList == nullptr) return;
  for (int i = 0; i < GetCount(); ++i) {
    CControlUI* item = GetItemAt(i);
    if (item->IsVisible() && item->IsEnabled() && Inside(item->GetPos(), pt) &&
        Inside(m_dropList->GetClientArea(), pt)) {
      ChangeSelection(i, false);
      CloseDropDown(true);
      return;
    }
  }
}

void CComboUI::OnPopupDismiss() { CloseDropDown(false); }

// ---- Events ----

void CComboUI::DoEvent(TEventUI& event) {
  // Events an element passes on while the drop-down shows it are the pop-up's business; the
  // wheel over an element scrolls the drop-down's list.
  if (event.pSender != this && event.pSender != nullptr && GetItemIndex(event.pSender) >= 0) {
    if (event.Type == UIEVENT_SCROLLWHEEL && m_dropList != nullptr) m_dropList->DoEvent(event);
    return;
  }
  if (!IsMouseEnabled() && IsMouseEvent(event.Type)) {
    if (m_pParent != nullptr) m_pParent->DoEvent(event);
    return;
  }
  switch (event.Type) {
    case UIEVENT_SETFOCUS:
    case UIEVENT_KILLFOCUS:
      Invalidate();
      return;
    case UIEVENT_BUTTONDOWN:
    case UIEVENT_DBLCLICK:
      if (IsEnabled() && Inside(m_rcItem, event.ptMouse)) {
        SetFocus();
        m_uButtonState |= UISTATE_PUSHED;
        Invalidate();
        OpenDropDown();
      }
      return;
    case UIEVENT_BUTTONUP:
      m_uButtonState &= ~UISTATE_PUSHED;
      Invalidate();
      return;
    case UIEVENT_MOUSEENTER:
      if (IsEnabled()) m_uButtonState |= UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_MOUSELEAVE:
      m_uButtonState &= ~UISTATE_HOT;
      Invalidate();
      return;
    case UIEVENT_SCROLLWHEEL:
      if (IsEnabled()) {
        StepSelection(event.wParam != 0 ? VK_DOWN : VK_UP, true);
      }
      return;
    case UIEVENT_SYSKEY:
      if (IsEnabled() && (event.chKey == VK_DOWN || event.chKey == VK_UP)) {
        OpenDropDown();
        return;
      }
      break;
    case UIEVENT_KEYDOWN:
      if (!IsEnabled()) break;
      if (event.chKey == VK_F4) {
        OpenDropDown();
        return;
      }
      if (event.chKey == VK_UP || event.chKey == VK_DOWN || event.chKey == VK_HOME ||
          event.chKey == VK_END || event.chKey == VK_PRIOR || event.chKey == VK_NEXT) {
        StepSelection(event.chKey, true);
        return;
      }
      break;
    case UIEVENT_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));
      return;
    default:
      break;
  }
  CControlUI::DoEvent(event);
}

void CComboUI::SetVisible(bool visible) {
  if (!visible) CloseDropDown(false);
  CContainerUI::SetVisible(visible);
}

void CComboUI::SetInternVisible(bool visible) {
  // Hidden with its page or parent: the drop-down goes too.
  if (!visible) CloseDropDown(false);
  CContainerUI::SetInternVisible(visible);
}

void CComboUI::SetEnabled(bool enabled) {
  if (!enabled) CloseDropDown(false);
  CContainerUI::SetEnabled(enabled);
  if (!enabled) m_uButtonState = 0;
}

// ---- Layout: a box of its own; the elements are laid out only in the drop-down ----

void CComboUI::SetPos(RECT rc, bool needInvalidate) { CControlUI::SetPos(rc, needInvalidate); }

void CComboUI::Move(SIZE offset, bool needInvalidate) { CControlUI::Move(offset, needInvalidate); }

SIZE CComboUI::EstimateSize(SIZE szAvailable) {
  SIZE size = CControlUI::EstimateSize(szAvailable);
  if (size.cy == 0) size.cy = 24;
  return size;
}

CControlUI* CComboUI::FindControl(FINDCONTROLPROC proc, void* data, UINT flags) {
  // The name map still learns the elements' names; the mouse finds the box alone.
  if ((flags & UIFIND_HITTEST) != 0) return CControlUI::FindControl(proc, data, flags);
  return CContainerUI::FindControl(proc, data, flags);
}

void CComboUI::SetTextPadding(RECT rc) {
  m_rcTextPadding = rc;
  Invalidate();
}

void CComboUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (SetListInfoAttribute(m_listInfo, name, value)) {
    Invalidate();
  } else if (NameIs(name, L"textpadding")) {
    SetTextPadding(ParseRectValue(value));
  } else if (NameIs(name, L"cursel")) {
    const int index = std::max(-1, static_cast<int>(ParseDecimal(value)));
    m_iPendingSel = index >= GetCount() ? index : -1;
    if (index < GetCount()) ChangeSelection(index, false);
  } else if (NameIs(name, L"dropboxsize")) {
    m_szDropBox = ParseSizeValue(value);
  } else if (NameIs(name, L"dropbox")) {
    m_sDropBoxAttributes = value;
  } else if (NameIs(name, L"textcolor")) {
    m_dwTextColor = ParseColor(value);
  } else if (NameIs(name, L"disabledtextcolor")) {
    m_dwDisabledTextColor = ParseColor(value);
  } else if (NameIs(name, L"arrowcolor")) {
    m_dwArrowColor = ParseColor(value);
  } else if (TDrawInfo* image = m_images.ForAttribute(name)) {
    LoadDrawInfo(*image, value);
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

// ---- Painting ----

bool CComboUI::DoPaint(HDC hDC, const RECT& rcPaint, CControlUI* stopControl) {
  return CControlUI::DoPaint(hDC, rcPaint, stopControl);
}

void CComboUI::PaintBkColor(HDC hDC) {
  if (m_dwBackColor != 0) {
    CControlUI::PaintBkColor(hDC);
  } else if (m_images.normal.drawString.IsEmpty()) {
    CRenderEngine::DrawColor(hDC, m_rcItem, IsEnabled() ? kPlainBk : kPlainDisabledBk);
  }
}

bool CComboUI::StateImage(HDC hDC) {
  UINT state = m_uButtonState & (UISTATE_PUSHED | UISTATE_HOT);
  if (m_dropList != nullptr) state |= UISTATE_PUSHED;
  if (IsFocused()) state |= UISTATE_FOCUSED;
  if (!IsEnabled()) state |= UISTATE_DISABLED;
  TDrawInfo* image = m_images.ForState(state);
  return image != nullptr && DrawImage(hDC, *image);
}

void CComboUI::PaintStatusImage(HDC hDC) {
  if (StateImage(hDC)) return;
  // No image for the state: the plain arrow, a small triangle pointing down.
  const RECT arrow = ComboArrowRect(m_rcItem);
  const DWORD color = !IsEnabled() ? kPlainDisabledArrow
                                   : (m_dwArrowColor != 0 ? m_dwArrowColor : kPlainArrow);
  const LONG cx = (arrow.left + arrow.right) / 2;
  const LONG top = (arrow.top + arrow.bottom) / 2 - 2;
  for (LONG row = 0; row < 4; ++row) {
    const RECT line = {cx - 4 + row, top + row, cx + 3 - row, top + row + 1};
    CRenderEngine::DrawColor(hDC, line, color);
  }
}

void CComboUI::PaintText(HDC hDC) {
  CControlUI* selected = GetItemAt(m_iCurSel);
  if (selected == nullptr) return;
  RECT rcText = ComboTextRect(m_rcItem, m_rcTextPadding);
  const DWORD color = !IsEnabled() ? (m_dwDisabledTextColor != 0 ? m_dwDisabledTextColor
                                                                 : kPlainDisabledText)
                                   : (m_dwTextColor != 0 ? m_dwTextColor : kPlainText);
  if (IListItemUI* item = ItemAt(m_iCurSel)) {
    // The box shows the element in the combo's own colours, not as selected or hot in a list.
    const TListInfoUI saved = m_listInfo;
    m_listInfo.textColor = m_listInfo.selectedTextColor = m_listInfo.hotTextColor = color;
    m_listInfo.disabledTextColor = color;
    m_listInfo.textPadding = RECT{};
    item->DrawItemText(hDC, rcText);
    m_listInfo = saved;
    return;
  }
  CRenderEngine::DrawText(hDC, m_pManager, rcText, selected->GetText(), color, m_listInfo.font,
                          DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}

void CComboUI::PaintBorder(HDC hDC) {
  if (m_dwBorderColor != 0 || !m_images.normal.drawString.IsEmpty()) {
    CControlUI::PaintBorder(hDC);
    return;
  }
  DWORD color = kPlainBorder;
  if (!IsEnabled()) {
    color = kPlainDisabledBorder;
  } else if (IsFocused() || m_dropList != nullptr || (m_uButtonState & UISTATE_HOT) != 0) {
    color = kPlainActiveBorder;
  }
  CRenderEngine::DrawRect(hDC, m_rcItem, 1, color);
}

}  // namespace SkinUI
