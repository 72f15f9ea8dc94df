// The skin builder's class table: which control class an element name creates.
#pragma once

#include "uitoolkit/controls/ui_control.h"

namespace SkinUI {

// A new control of the class that `elementName` names in the class table (names ignore case,
// except `GifAnim`), or null for a name outside the table.
CControlUI* CreateControlFromClassTable(const wchar_t* elementName);

}  // namespace SkinUI
