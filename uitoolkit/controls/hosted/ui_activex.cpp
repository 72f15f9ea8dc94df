#include "uitoolkit/controls/hosted/ui_activex.h"

#include "uitoolkit/controls/ui_attribute_values.h"

namespace SkinUI {

const wchar_t* CActiveXUI::GetClass() const { return kClassName; }

void* CActiveXUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) {
    return this;
  }
  return CControlUI::GetInterface(name);
}

}  // namespace SkinUI
