#include "uitoolkit/controls/ui_state_images.h"

#include "uitoolkit/controls/ui_attribute_values.h"
#include "uitoolkit/controls/ui_label.h"

namespace SkinUI {
namespace {

TDrawInfo* IfSet(TDrawInfo& image) { return image.drawString.IsEmpty() ? nullptr : &image; }

}  // namespace

TDrawInfo* TStateImagesUI::ForAttribute(const wchar_t* name) {
  if (NameIs(name, L"normalimage")) return &normal;
  if (NameIs(name, L"hotimage")) return &hot;
  if (NameIs(name, L"pushedimage")) return &pushed;
  if (NameIs(name, L"focusedimage")) return &focused;
  if (NameIs(name, L"disabledimage")) return &disabled;
  return nullptr;
}

TDrawInfo* TStateImagesUI::ForState(UINT state) {
  TDrawInfo* image = nullptr;
  if ((state & UISTATE_DISABLED) != 0) {
    image = IfSet(disabled);
  } else {
    if ((state & UISTATE_PUSHED) != 0) image = IfSet(pushed);
    if (image == nullptr && (state & UISTATE_HOT) != 0) image = IfSet(hot);
    if (image == nullptr && (state & UISTATE_FOCUSED) != 0) image = IfSet(focused);
  }
  return image != nullptr ? image : IfSet(normal);
}

}  // namespace SkinUI
