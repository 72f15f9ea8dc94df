#include "uitoolkit/controls/hosted/ui_rich_edit.h"

#include "uitoolkit/controls/ui_attribute_values.h"

namespace SkinUI {

const wchar_t* CRichEditUI::GetClass() const { return kClassName; }

void* CRichEditUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) {
    return this;
  }
  return CContainerUI::GetInterface(name);
}

}  // namespace SkinUI
