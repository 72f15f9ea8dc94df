// What a list and a combo box share about their item look: the item-look attributes (`itemfont`, `itemtextcolor`, `itemselectedbkcolor`, ...) that a list
// and a combo box both take into their TListInfoUI, and the height of an item font.
#pragma once

#include "uitoolkit/controls/lists/ui_list_interfaces.h"
#include "uitoolkit/controls/ui_control_manager.h"

namespace SkinUI {

// Sets the field of `info` that the attribute `name` names; false when it names none.
bool SetListInfoAttribute(TListInfoUI& info, const wchar_t* name, const wchar_t* value);

// The character height of font `font` of `manager`; 0 without one.
int ListFontHeight(IControlManagerUI* manager, int font);

}  // namespace SkinUI
