#include "uitoolkit/controls/ui_tab_pages.h"

#include "uitoolkit/controls/ui_control.h"
#include "uitoolkit/controls/ui_control_manager.h"

namespace SkinUI {

ITabPagesUI* TabPagesOf(CControlUI* control) {
  return control != nullptr ? static_cast<ITabPagesUI*>(control->GetInterface(kTabPagesInterface))
                            : nullptr;
}

bool SelectNamedTabPage(IControlManagerUI* manager, const wchar_t* layoutName, int page) {
  if (manager == nullptr || layoutName == nullptr || layoutName[0] == L'\0') return false;
  ITabPagesUI* pages = TabPagesOf(manager->FindControl(layoutName));
  return pages != nullptr && pages->SelectItem(page);
}

}  // namespace SkinUI
