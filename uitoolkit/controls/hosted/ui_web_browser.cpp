#include "uitoolkit/controls/hosted/ui_web_browser.h"

#include "uitoolkit/controls/ui_attribute_values.h"

namespace SkinUI {

const wchar_t* CWebBrowserUI::GetClass() const { return kClassName; }

void* CWebBrowserUI::GetInterface(const wchar_t* name) {
  if (NameIs(name, kClassName)) {
    return this;
  }
  return CActiveXUI::GetInterface(name);
}

}  // namespace SkinUI
