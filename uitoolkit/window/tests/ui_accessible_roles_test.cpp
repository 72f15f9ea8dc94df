// The role table: the most derived kind a control answers decides its role and default action
// (a slider deriving from the progress bar is a slider, a tree node no plain list element), so
// the kinds not yet built get theirs by name; what answers nothing known is a graphic.
#include "uitoolkit/window/ui_accessible_roles.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <set>
#include <string>

namespace SkinUI {
namespace {

TEST(AccessibleRoles, MostDerivedKindDecidesRoleAndAction) {
  struct Row {
    std::set<std::wstring> answers;
    LONG role;
    std::wstring action;
  } const rows[] = {
      {{L"CheckBox", L"Option", L"Button"}, ROLE_SYSTEM_CHECKBUTTON, L"Check"},
      {{L"Slider", L"Progress", L"Label"}, ROLE_SYSTEM_SLIDER, L""},
      {{L"TreeNode", L"ListItem", L"Container"}, ROLE_SYSTEM_OUTLINEITEM, L"Expand"},
      {{L"TreeView", L"List", L"Container"}, ROLE_SYSTEM_OUTLINE, L""},
      {{L"DateTime", L"Label"}, ROLE_SYSTEM_COMBOBOX, L"Open"},
      {{L"GifAnim", L"Label"}, ROLE_SYSTEM_GRAPHIC, L""},
      {{}, ROLE_SYSTEM_GRAPHIC, L""},
  };
  for (const Row& row : rows) {
    const TAccessibleRoleRow& found = LookUpAccessibleRole(
        [&row](const wchar_t* name) { return row.answers.count(name) > 0; });
    EXPECT_EQ(row.role, found.role) << row.role;
    EXPECT_EQ(row.action, found.actionName != nullptr ? found.actionName : L"") << row.role;
    EXPECT_EQ(row.action.empty(), found.action == TAccessibleAction::None) << row.role;
  }
}

}  // namespace
}  // namespace SkinUI
