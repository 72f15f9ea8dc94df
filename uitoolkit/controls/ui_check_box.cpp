#include "uitoolkit/controls/ui_check_box.h"

#include <cwchar>

namespace SkinUI {

const wchar_t* CCheckBoxUI::GetClass() const { return L"CheckBox"; }

void* CCheckBoxUI::GetInterface(const wchar_t* name) {
  if (name != nullptr && std::wcscmp(name, L"CheckBox") == 0) return this;
  return COptionUI::GetInterface(name);
}

}  // namespace SkinUI
