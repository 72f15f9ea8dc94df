#include "uitoolkit/window/ui_accessible_roles.h"

#include <oleacc.h>

#include <cwchar>

namespace SkinUI {
namespace {

// Most derived first: a check box is also an option and a button, a tree node also a list
// element, an edit also a label. The kinds being built (tree, slider, date field, animated
// image) are found by their names, whatever they derive from.
const TAccessibleRoleRow kRoleRows[] = {
    {L"TreeNode", ROLE_SYSTEM_OUTLINEITEM, L"Expand", TAccessibleAction::Toggle, false, false},
    {L"TreeView", ROLE_SYSTEM_OUTLINE, nullptr, TAccessibleAction::None, false, false},
    {L"ListHeaderItem", ROLE_SYSTEM_COLUMNHEADER, L"Click", TAccessibleAction::Activate, false,
     false},
    {L"ListItem", ROLE_SYSTEM_LISTITEM, L"Select", TAccessibleAction::Select, false, false},
    {L"Combo", ROLE_SYSTEM_COMBOBOX, L"Open", TAccessibleAction::Activate, false, false},
    {L"List", ROLE_SYSTEM_LIST, nullptr, TAccessibleAction::None, false, false},
    {L"Slider", ROLE_SYSTEM_SLIDER, nullptr, TAccessibleAction::None, false, false},
    {L"DateTime", ROLE_SYSTEM_COMBOBOX, L"Open", TAccessibleAction::Activate, false, false},
    {L"GifAnim", ROLE_SYSTEM_GRAPHIC, nullptr, TAccessibleAction::None, false, false},
    {L"CheckBox", ROLE_SYSTEM_CHECKBUTTON, L"Check", TAccessibleAction::Activate, false, true},
    {L"Option", ROLE_SYSTEM_RADIOBUTTON, L"Check", TAccessibleAction::Activate, false, true},
    {L"Button", ROLE_SYSTEM_PUSHBUTTON, L"Press", TAccessibleAction::Activate, false, false},
    {L"RichEdit", ROLE_SYSTEM_TEXT, nullptr, TAccessibleAction::None, true, false},
    {L"Edit", ROLE_SYSTEM_TEXT, nullptr, TAccessibleAction::None, true, false},
    {L"Progress", ROLE_SYSTEM_PROGRESSBAR, nullptr, TAccessibleAction::None, false, false},
    {L"ScrollBar", ROLE_SYSTEM_SCROLLBAR, nullptr, TAccessibleAction::None, false, false},
    {L"TabLayout", ROLE_SYSTEM_PAGETABLIST, nullptr, TAccessibleAction::None, false, false},
    {L"Label", ROLE_SYSTEM_STATICTEXT, nullptr, TAccessibleAction::None, false, false},
    {L"ActiveX", ROLE_SYSTEM_CLIENT, nullptr, TAccessibleAction::None, false, false},
    {L"Container", ROLE_SYSTEM_PANE, nullptr, TAccessibleAction::None, false, false},
    {L"Control", ROLE_SYSTEM_GRAPHIC, nullptr, TAccessibleAction::None, false, false},
};

struct TNotificationEvent {
  const wchar_t* type;
  DWORD event;
};

const TNotificationEvent kNotificationEvents[] = {
    {L"setfocus", EVENT_OBJECT_FOCUS},
    {L"textchanged", EVENT_OBJECT_VALUECHANGE},
    {L"valuechanged", EVENT_OBJECT_VALUECHANGE},
    {L"scroll", EVENT_OBJECT_VALUECHANGE},
    {L"itemselect", EVENT_OBJECT_SELECTION},
    {L"tabselect", EVENT_OBJECT_SELECTION},
    {L"selectchanged", EVENT_OBJECT_STATECHANGE},
    {L"itemexpand", EVENT_OBJECT_STATECHANGE},
    {L"itemcollapse", EVENT_OBJECT_STATECHANGE},
    {L"dropdown", EVENT_OBJECT_STATECHANGE},
};

}  // namespace

const TAccessibleRoleRow& LookUpAccessibleRole(
    const std::function<bool(const wchar_t*)>& answers) {
  for (const TAccessibleRoleRow& row : kRoleRows) {
    if (answers(row.interfaceName)) return row;
  }
  return kRoleRows[sizeof(kRoleRows) / sizeof(kRoleRows[0]) - 1];
}

LONG AccessibleStateBits(const TAccessibleFacts& facts) {
  LONG state = 0;
  if (!facts.visible) state |= STATE_SYSTEM_INVISIBLE;
  if (facts.offscreen) state |= STATE_SYSTEM_OFFSCREEN;
  if (!facts.enabled) state |= STATE_SYSTEM_UNAVAILABLE;
  if (facts.focusable && facts.enabled && facts.visible) state |= STATE_SYSTEM_FOCUSABLE;
  if (facts.focused) state |= STATE_SYSTEM_FOCUSED;
  if (facts.selectable) state |= STATE_SYSTEM_SELECTABLE;
  if (facts.selectable && facts.selected) state |= STATE_SYSTEM_SELECTED;
  if (facts.checkable && facts.checked) state |= STATE_SYSTEM_CHECKED;
  if (facts.checkable && facts.mixed) state |= STATE_SYSTEM_MIXED;
  if (facts.readOnly) state |= STATE_SYSTEM_READONLY;
  if (facts.password) state |= STATE_SYSTEM_PROTECTED;
  if (facts.isDefault) state |= STATE_SYSTEM_DEFAULT;
  if (facts.expandable) state |= facts.expanded ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
  return state;
}

CUiString AccessibleNameOf(const CUiString& accName, const CUiString& text,
                           const CUiString& toolTip, bool textIsValue) {
  if (!accName.IsEmpty()) return accName;
  if (!textIsValue && !text.IsEmpty()) return text;
  return toolTip;
}

CUiString AccessibleRangeValue(int minimum, int maximum, int value, bool percent) {
  CUiString text;
  if (!percent) {
    text.Format(L"%d", value);
    return text;
  }
  const long long range = static_cast<long long>(maximum) - minimum;
  const long long share = range > 0 ? (static_cast<long long>(value) - minimum) * 100 / range : 0;
  text.Format(L"%d%%", static_cast<int>(share));
  return text;
}

CUiString AccessibleShortcutText(wchar_t shortcut) {
  if (shortcut == 0) return CUiString();
  const wchar_t key[2] = {shortcut, 0};
  return CUiString(L"Alt+") + key;
}

DWORD WinEventForNotification(const wchar_t* type) {
  if (type == nullptr) return 0;
  for (const TNotificationEvent& row : kNotificationEvents) {
    if (std::wcscmp(row.type, type) == 0) return row.event;
  }
  return 0;
}

DWORD WinEventForChange(TAccessibleChange change, bool textIsValue) {
  switch (change) {
    case TAccessibleChange::Text:
      return textIsValue ? EVENT_OBJECT_VALUECHANGE : EVENT_OBJECT_NAMECHANGE;
    case TAccessibleChange::Value: return EVENT_OBJECT_VALUECHANGE;
    case TAccessibleChange::State: return EVENT_OBJECT_STATECHANGE;
    case TAccessibleChange::Shown: return EVENT_OBJECT_SHOW;
    case TAccessibleChange::Hidden: return EVENT_OBJECT_HIDE;
  }
  return 0;
}

}  // namespace SkinUI
