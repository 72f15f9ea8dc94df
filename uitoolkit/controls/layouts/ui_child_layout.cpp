#include "uitoolkit/controls/layouts/ui_child_layout.h"

#include <cwchar>

namespace SkinUI {

const wchar_t* CChildLayoutUI::GetClass() const { return L"ChildLayout"; }

void* CChildLayoutUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && std::wcscmp(name, L"ChildLayout") == 0) return this;
  return CContainerUI::GetInterface(name);
}

void CChildLayoutUI::SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name == nullptr) return;
  if (std::wcscmp(name, L"xml") == 0) {
    SetChildLayoutXML(value);
  } else {
    CContainerUI::SetAttribute(name, value);
  }
}

}  // namespace SkinUI
