#include "uitoolkit/controls/layouts/ui_tab_layout.h"

#include <cwchar>

#include "uitoolkit/controls/layouts/ui_tab_selection.h"
#include "uitoolkit/controls/ui_option.h"
#include "uitoolkit/core/ui_value_parsing.h"
#include "uitoolkit/controls/ui_attribute_values.h"

namespace SkinUI {
namespace {

bool IsInside(CControlUI* control, CControlUI* ancestor) {
  for (; control != nullptr; control = control->GetParent()) {
    if (control == ancestor) return true;
  }
  return false;
}

CControlUI* FindTabStop(CControlUI* control, void*) {
  return (control->GetControlFlags() & UIFLAG_TABSTOP) != 0 ? control : nullptr;
}

struct TPageOptionSearch {
  CUiString layout;
  int page;
};

// A grouped option that shows the searched page of the searched layout.
CControlUI* FindPageOption(CControlUI* control, void* data) {
  const auto* search = static_cast<const TPageOptionSearch*>(data);
  const auto* option = static_cast<COptionUI*>(control->GetInterface(L"Option"));
  return option != nullptr && !option->GetGroup().IsEmpty() &&
                 option->GetTabPage() == search->page &&
                 option->GetTabLayoutName() == search->layout
             ? control
             : nullptr;
}

}  // namespace

const wchar_t* CTabLayoutUI::GetClass() const { return L"TabLayout"; }

void* CTabLayoutUI::GetInterface(const wchar_t* name) {
  if (name != nullptr) {
    if (NameIs(name, L"TabLayout")) return this;
    if (NameIs(name, kTabPagesInterface)) return static_cast<ITabPagesUI*>(this);
  }
  return CContainerUI::GetInterface(name);
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index) {
  if (!CContainerUI::AddAt(control, index)) return false;
  m_iCurSel = SelectionAfterInsert(m_iCurSel, index);
  control->SetVisible(m_iCurSel == index);
  NeedUpdate();
  return true;
}

bool CTabLayoutUI::Remove(CControlUI* control, bool doNotDestroy) {
  const int index = GetItemIndex(control);
  if (index < 0 || !CContainerUI::Remove(control, doNotDestroy)) return false;
  const bool shownRemoved = index == m_iCurSel;
  m_iCurSel = SelectionAfterRemove(m_iCurSel, index, GetCount());
  if (shownRemoved) ShowOnlySelected();
  return true;
}

void CTabLayoutUI::RemoveAll() {
  m_iCurSel = -1;
  CContainerUI::RemoveAll();
}

void CTabLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"selectedid")) {
    SelectItem(ParseDecimal(value));
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

void CTabLayoutUI::DoInit() {
  CContainerUI::DoInit();
  ShowOnlySelected();
}

bool CTabLayoutUI::SelectItem(int index) {
  if (index < 0 || index >= GetCount()) return false;
  const int previous = m_iCurSel;
  // Hiding the old page may drop the focus: ask where it was first.
  const bool focusInOldPage = previous != index && m_pManager != nullptr &&
                              IsInside(m_pManager->GetFocus(), GetItemAt(previous));
  m_iCurSel = index;
  ShowOnlySelected();
  if (previous == index) return true;
  if (focusInOldPage) FocusFirstTabStop();
  SelectPageOption();
  if (m_pManager != nullptr) {
    m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(index),
                           static_cast<LPARAM>(previous));
  }
  return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* page) { return SelectItem(GetItemIndex(page)); }

bool CTabLayoutUI::SelectNeighbour(bool forward) {
  const int count = GetCount();
  if (count == 0) return false;
  return SelectItem((m_iCurSel + (forward ? 1 : count - 1)) % count);
}

void CTabLayoutUI::ShowOnlySelected() {
  for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == m_iCurSel);
  NeedUpdate();
}

void CTabLayoutUI::SelectPageOption() {
  if (m_pManager == nullptr || GetName().IsEmpty()) return;
  CControlUI* root = this;
  while (root->GetParent() != nullptr) root = root->GetParent();
  TPageOptionSearch search{GetName(), m_iCurSel};
  CControlUI* found = root->FindControl(&FindPageOption, &search, UIFIND_ALL);
  auto* option =
      found != nullptr ? static_cast<COptionUI*>(found->GetInterface(L"Option")) : nullptr;
  if (option != nullptr && !option->IsSelected()) option->Selected(true);
}

void CTabLayoutUI::FocusFirstTabStop() {
  CControlUI* page = GetItemAt(m_iCurSel);
  CControlUI* next = page != nullptr
                         ? page->FindControl(&FindTabStop, nullptr,
                                             UIFIND_VISIBLE | UIFIND_ENABLED | UIFIND_ME_FIRST)
                         : nullptr;
  m_pManager->SetFocus(next, false);
}

}  // namespace SkinUI
