#include "uitoolkit/controls/ui_option.h"

#include <cwchar>

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
COptionUI::~COptionUI() {
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  }
}

const wchar_t* COptionUI::GetClass() const { return L"Option"; }

void* COptionUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && NameIs(name, L"Option")) return this;
  return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(IControlManagerUI* manager, CControlUI* parent, bool init) {
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr && m_pManager != manager) {
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  }
  CButtonUI::SetManager(manager, parent, init);
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->AddOptionGroup(m_sGroupName, this);
  }
}

void COptionUI::SetGroup(const wchar_t* name) {
  if (name == nullptr) name = L"";
  if (m_sGroupName == name) return;
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->RemoveOptionGroup(m_sGroupName, this);
  }
  m_sGroupName = name;
  if (!m_sGroupName.IsEmpty() && m_pManager != nullptr) {
    m_pManager->AddOptionGroup(m_sGroupName, this);
  }
}

void COptionUI::Selected(bool selected, bool notify) {
  if (m_bSelected == selected) return;
  m_bSelected = selected;
  if (selected) {
    m_uButtonState |= UISTATE_SELECTED;
  } else {
    m_uButtonState &= ~UISTATE_SELECTED;
  }
  NotifyAccessible(TAccessibleChange::State);
  if (m_pManager != nullptr) {
    if (!m_sGroupName.IsEmpty()) {
      if (selected) {
        CUiPtrArray* group = m_pManager->GetOptionGroup(m_sGroupName);
        // Members are cleared from a copy: a notification handler may change the group.
        const int count = group != nullptr ? group->GetSize() : 0;
        CUiPtrArray members;
        for (int i = 0; i < count; ++i) members.Add(group->GetAt(i));
        for (int i = 0; i < count; ++i) {
          auto* member = static_cast<CControlUI*>(members.GetAt(i));
          auto* option = member != nullptr
                             ? static_cast<COptionUI*>(member->GetInterface(L"Option"))
                             : nullptr;
          if (option != nullptr && option != this) option->Selected(false, notify);
        }
        if (notify) m_pManager->SendNotify(this, L"selectchanged");
      }
    } else if (notify) {
      m_pManager->SendNotify(this, L"selectchanged");
    }
    if (selected) SelectTabPage();
  }
  Invalidate();
}

bool COptionUI::Activate() {
  if (!CButtonUI::Activate()) return false;
  if (!m_sGroupName.IsEmpty()) {
    Selected(true);
  } else {
    Selected(!m_bSelected);
  }
  return true;
}

void COptionUI::SetSelectedImage(const wchar_t* description) {
  LoadDrawInfo(m_diSelected, description);
}

void COptionUI::SetSelectedHotImage(const wchar_t* description) {
  LoadDrawInfo(m_diSelectedHot, description);
}

void COptionUI::SetOptionForeImage(const wchar_t* description) {
  LoadDrawInfo(m_diOptionFore, description);
}

void COptionUI::SetSelectedBkColor(DWORD color) {
  m_dwSelectedBkColor = color;
  Invalidate();
}

void COptionUI::SetSelectedTextColor(DWORD color) {
  m_dwSelectedTextColor = color;
  Invalidate();
}

void COptionUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (value == nullptr) value = L"";
  if (NameIs(name, L"group")) {
    SetGroup(value);
  } else if (NameIs(name, L"selected")) {
    Selected(ParseBoolValue(value), true);
  } else if (NameIs(name, L"selectedimage")) {
    SetSelectedImage(value);
  } else if (NameIs(name, L"selectedhotimage")) {
    SetSelectedHotImage(value);
  } else if (NameIs(name, L"foreimage")) {
    SetOptionForeImage(value);
  } else if (NameIs(name, L"selectedbkcolor")) {
    SetSelectedBkColor(ParseBackgroundColorValue(value));
  } else if (NameIs(name, L"selectedtextcolor")) {
    SetSelectedTextColor(ParseColor(value));
  } else {
    CButtonUI::SetAttribute(name, value);
  }
}

void COptionUI::PaintStatusImage(HDC hDC) {
  if (m_bSelected) {
    const bool hot = (m_uButtonState & UISTATE_HOT) != 0;
    if (!(hot && DrawImage(hDC, m_diSelectedHot)) && !DrawImage(hDC, m_diSelected) &&
        m_dwSelectedBkColor != 0) {
      CRenderEngine::DrawColor(hDC, m_rcPaint, GetAdjustColor(m_dwSelectedBkColor));
    }
  } else {
    const UINT state = m_uButtonState;
    m_uButtonState &= ~UISTATE_PUSHED;
    CButtonUI::PaintStatusImage(hDC);
    // The refreshed focused and disabled bits stay; only the pushed bit comes back.
    m_uButtonState |= state & UISTATE_PUSHED;
  }
  DrawImage(hDC, m_diOptionFore);
}

DWORD COptionUI::GetBaseTextColor() const {
  return m_bSelected && m_dwSelectedTextColor != 0 ? m_dwSelectedTextColor : m_dwTextColor;
}

}  // namespace SkinUI
