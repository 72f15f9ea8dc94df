// The pure rules behind a control's accessible object: its role and default action by the names
// its class answers, the state bits from what is known about it, its name, value and keyboard
// shortcut texts, and which window event a notification or a change raises. No window needed.
#pragma once

#include <windows.h>

#include <functional>

#include "uitoolkit/controls/ui_control_manager.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// How the default action is carried out.
enum class TAccessibleAction {
  None,      // the control has no default action
  Activate,  // as a click: the control's Activate
  Select,    // a list element: its owner selects it
  Toggle,    // a tree node with children: expands or collapses it
};

// One row of the role table: a control answering `interfaceName` (from GetInterface or as its
// class name) has `role` and the default action `actionName`.
struct TAccessibleRoleRow {
  const wchar_t* interfaceName;
  LONG role;                  // ROLE_SYSTEM_*
  const wchar_t* actionName;  // null: no default action
  TAccessibleAction action;
  bool textIsValue;           // the text is the value, not the name (an edit field)
  bool checkable;             // the selection is a check mark (STATE_SYSTEM_CHECKED)
};

// The first row whose interface the control answers (`answers(name)`); rows run from the most
// derived kinds to the plainest, ending with the plain "Control" (graphic).
const TAccessibleRoleRow& LookUpAccessibleRole(const std::function<bool(const wchar_t*)>& answers);

// What the object knows about its control when it reports the state.
struct TAccessibleFacts {
  bool visible = true;    // the control and its ancestors are shown
  bool offscreen = false;  // scrolled or clipped out of its ancestors, or the window is minimised
  bool enabled = true;
  bool focusable = false;  // a tab stop that takes keyboard input
  bool focused = false;
  bool selectable = false;  // a list element
  bool selected = false;    // the element is selected, or the option checked
  bool checkable = false;
  bool checked = false;     // a checked option, check box or tree node
  bool mixed = false;       // a tree node whose children are partly checked
  bool readOnly = false;
  bool password = false;
  bool isDefault = false;  // the window's default button
  bool expandable = false;  // a tree node with children
  bool expanded = false;
};

// The STATE_SYSTEM_* bits of `facts`.
LONG AccessibleStateBits(const TAccessibleFacts& facts);

// The name screen readers read: the `accname` attribute, else (unless the text is the value) the
// text, else the tooltip.
CUiString AccessibleNameOf(const CUiString& accName, const CUiString& text,
                           const CUiString& toolTip, bool textIsValue);

// The value of a progress bar or slider: its position within [minimum, maximum] in percent
// ("42%") for a progress bar, or the plain number for a slider.
CUiString AccessibleRangeValue(int minimum, int maximum, int value, bool percent);

// "Alt+S" for the shortcut character; empty for none.
CUiString AccessibleShortcutText(wchar_t shortcut);

// The window event (EVENT_OBJECT_*) a notification of `type` raises for its sender, or 0.
DWORD WinEventForNotification(const wchar_t* type);

// The window event a change of a control raises (a text change renames the control, or changes
// the value of one whose text is its value).
DWORD WinEventForChange(TAccessibleChange change, bool textIsValue);

}  // namespace SkinUI
