// The pure rules of the accessible objects: role and default action by the names a control
// answers, the state bits, the name, value and shortcut texts, and the window events.
#include "uitoolkit/window/ui_accessible_roles.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <climits>
#include <cwchar>
#include <set>
#include <string>

namespace SkinUI {
namespace {

// A control answering the names of its class chain gets the most derived kind's role: a check box
// is no push button, a slider deriving from the progress bar no progress bar, a tree node no
// plain list element; what answers nothing known is a graphic.
TEST(AccessibleRoles, MostDerivedKindDecidesRoleAndAction) {
  struct Row {
    std::set<std::wstring> answers;
    LONG role;
    const wchar_t* action;
    bool textIsValue;
    bool checkable;
  } const rows[] = {
      {{L"CheckBox", L"Option", L"Button", L"Label", L"Control"}, ROLE_SYSTEM_CHECKBUTTON, L"Check", false, true},
      {{L"Option", L"Button", L"Label", L"Control"}, ROLE_SYSTEM_RADIOBUTTON, L"Check", false, true},
      {{L"Button", L"Label", L"Control"}, ROLE_SYSTEM_PUSHBUTTON, L"Press", false, false},
      {{L"Edit", L"Label", L"Control"}, ROLE_SYSTEM_TEXT, nullptr, true, false},
      {{L"Progress", L"Label", L"Control"}, ROLE_SYSTEM_PROGRESSBAR, nullptr, false, false},
      {{L"Slider", L"Progress", L"Label", L"Control"}, ROLE_SYSTEM_SLIDER, nullptr, false, false},
      {{L"TreeNode", L"ListItem", L"Container", L"Control"}, ROLE_SYSTEM_OUTLINEITEM, L"Expand", false, false},
      {{L"TreeView", L"List", L"Container", L"Control"}, ROLE_SYSTEM_OUTLINE, nullptr, false, false},
      {{L"ListItem", L"Container", L"Control"}, ROLE_SYSTEM_LISTITEM, L"Select", false, false},
      {{L"List", L"IListOwner", L"Container", L"Control"}, ROLE_SYSTEM_LIST, nullptr, false, false},
      {{L"Combo", L"IListOwner", L"Container", L"Control"}, ROLE_SYSTEM_COMBOBOX, L"Open", false, false},
      {{L"DateTime", L"Label", L"Control"}, ROLE_SYSTEM_COMBOBOX, L"Open", false, false},
      {{L"GifAnim", L"Label", L"Control"}, ROLE_SYSTEM_GRAPHIC, nullptr, false, false},
      {{L"ScrollBar", L"Control"}, ROLE_SYSTEM_SCROLLBAR, nullptr, false, false},
      {{L"TabLayout", L"Container", L"Control"}, ROLE_SYSTEM_PAGETABLIST, nullptr, false, false},
      {{L"Text", L"Label", L"Control"}, ROLE_SYSTEM_STATICTEXT, nullptr, false, false},
      {{L"Container", L"Control"}, ROLE_SYSTEM_PANE, nullptr, false, false},
      {{L"Control"}, ROLE_SYSTEM_GRAPHIC, nullptr, false, false},
      {{}, ROLE_SYSTEM_GRAPHIC, nullptr, false, false},
  };
  for (const Row& row : rows) {
    const TAccessibleRoleRow& found = LookUpAccessibleRole(
        [&row](const wchar_t* name) { return row.answers.count(name) > 0; });
    const std::wstring first = row.answers.empty() ? L"(none)" : *row.answers.begin();
    SCOPED_TRACE(std::string(first.begin(), first.end()));
    EXPECT_EQ(row.role, found.role);
    EXPECT_EQ(std::wstring(row.action != nullptr ? row.action : L""),
              std::wstring(found.actionName != nullptr ? found.actionName : L""));
    EXPECT_EQ(row.textIsValue, found.textIsValue);
    EXPECT_EQ(row.checkable, found.checkable);
    EXPECT_EQ(row.action == nullptr, found.action == TAccessibleAction::None);
  }
}

// Each fact gives its bit; focusable needs the control to be enabled and shown; selected needs a
// selectable element and checked a checkable control.
TEST(AccessibleRoles, StateBitsFromFacts) {
  auto facts = [](auto change) {
    TAccessibleFacts f;
    change(f);
    return AccessibleStateBits(f);
  };
  EXPECT_EQ(0, facts([](TAccessibleFacts&) {}));
  EXPECT_EQ(STATE_SYSTEM_INVISIBLE, facts([](TAccessibleFacts& f) { f.visible = false; }));
  EXPECT_EQ(STATE_SYSTEM_INVISIBLE,
            facts([](TAccessibleFacts& f) { f.visible = false; f.focusable = true; }));
  EXPECT_EQ(STATE_SYSTEM_UNAVAILABLE,
            facts([](TAccessibleFacts& f) { f.enabled = false; f.focusable = true; }));
  EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED,
            facts([](TAccessibleFacts& f) { f.focusable = true; f.focused = true; }));
  EXPECT_EQ(STATE_SYSTEM_OFFSCREEN, facts([](TAccessibleFacts& f) { f.offscreen = true; }));
  EXPECT_EQ(0, facts([](TAccessibleFacts& f) { f.selected = true; }));
  EXPECT_EQ(STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_SELECTED,
            facts([](TAccessibleFacts& f) { f.selectable = true; f.selected = true; }));
  EXPECT_EQ(STATE_SYSTEM_CHECKED,
            facts([](TAccessibleFacts& f) { f.checkable = true; f.selected = true; }));
  EXPECT_EQ(STATE_SYSTEM_READONLY | STATE_SYSTEM_PROTECTED,
            facts([](TAccessibleFacts& f) { f.readOnly = true; f.password = true; }));
  EXPECT_EQ(STATE_SYSTEM_DEFAULT, facts([](TAccessibleFacts& f) { f.isDefault = true; }));
}

// The name: accname first, then the text (not for an edit, whose text is its value), then the
// tooltip.
TEST(AccessibleRoles, NameFallsBackFromAccNameToTextToTooltip) {
  struct Row {
    const wchar_t *accName, *text, *tip;
    bool textIsValue;
    const wchar_t* name;
  } const rows[] = {
      {L"Install", L"Go", L"tip", false, L"Install"}, {L"", L"Go", L"tip", false, L"Go"},
      {L"", L"", L"tip", false, L"tip"},              {L"", L"C:\\x", L"Path", true, L"Path"},
      {L"Folder", L"C:\\x", L"", true, L"Folder"},     {L"", L"", L"", false, L""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(CUiString(row.name),
              AccessibleNameOf(row.accName, row.text, row.tip, row.textIsValue))
        << static_cast<const wchar_t*>(row.name);
  }
}

// Progress values are percent of the range (64-bit, so the widest range cannot overflow); a
// slider's is its position; the shortcut reads "Alt+" and its key.
TEST(AccessibleRoles, ValueAndShortcutTexts) {
  EXPECT_EQ(CUiString(L"42%"), AccessibleRangeValue(0, 100, 42, true));
  EXPECT_EQ(CUiString(L"25%"), AccessibleRangeValue(0, 200, 50, true));
  EXPECT_EQ(CUiString(L"50%"), AccessibleRangeValue(INT_MIN, INT_MAX, 0, true));
  EXPECT_EQ(CUiString(L"0%"), AccessibleRangeValue(5, 5, 5, true));
  EXPECT_EQ(CUiString(L"-7"), AccessibleRangeValue(-10, 10, -7, false));
  EXPECT_EQ(CUiString(L"Alt+S"), AccessibleShortcutText(L'S'));
  EXPECT_EQ(CUiString(), AccessibleShortcutText(0));
}

// Notifications and changes raise the window events clients follow; others raise none.
TEST(AccessibleRoles, WindowEventsOfNotificationsAndChanges) {
  struct Row {
    const wchar_t* type;
    DWORD event;
  } const rows[] = {
      {L"setfocus", EVENT_OBJECT_FOCUS},         {L"textchanged", EVENT_OBJECT_VALUECHANGE},
      {L"valuechanged", EVENT_OBJECT_VALUECHANGE}, {L"scroll", EVENT_OBJECT_VALUECHANGE},
      {L"itemselect", EVENT_OBJECT_SELECTION},   {L"tabselect", EVENT_OBJECT_SELECTION},
      {L"selectchanged", EVENT_OBJECT_STATECHANGE}, {L"itemexpand", EVENT_OBJECT_STATECHANGE},
      {L"itemcollapse", EVENT_OBJECT_STATECHANGE}, {L"dropdown", EVENT_OBJECT_STATECHANGE},
      {L"click", 0},                             {L"killfocus", 0},
      {L"SetFocus", 0},                          {nullptr, 0},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.event, WinEventForNotification(row.type))
        << (row.type != nullptr ? row.type : L"null");
  }
  EXPECT_EQ(static_cast<DWORD>(EVENT_OBJECT_NAMECHANGE),
            WinEventForChange(TAccessibleChange::Text, false));
  EXPECT_EQ(static_cast<DWORD>(EVENT_OBJECT_VALUECHANGE),
            WinEventForChange(TAccessibleChange::Text, true));
  EXPECT_EQ(static_cast<DWORD>(EVENT_OBJECT_VALUECHANGE),
            WinEventForChange(TAccessibleChange::Value, false));
  EXPECT_EQ(static_cast<DWORD>(EVENT_OBJECT_STATECHANGE),
            WinEventForChange(TAccessibleChange::State, false));
  EXPECT_EQ(static_cast<DWORD>(EVENT_OBJECT_SHOW), WinEventForChange(TAccessibleChange::Shown, false));
  EXPECT_EQ(static_cast<DWORD>(EVENT_OBJECT_HIDE), WinEventForChange(TAccessibleChange::Hidden, false));
}

}  // namespace
}  // namespace SkinUI
