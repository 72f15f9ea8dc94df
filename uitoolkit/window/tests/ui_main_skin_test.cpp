// The setup window's skin, built from its file and laid out at 640 x 460 without a window,
// matches the golden dump: class, name, visibility and rectangle of every control.
#include <gtest/gtest.h>

#include <string>

#include "testsupport/skin_layout_dump.h"
#include "uitoolkit/window/ui_dialog_builder.h"

namespace SkinUI {
namespace {

std::wstring GoldenPath() {
  return std::wstring(BUILDER_GOLDEN_FOLDER) + L"\\main_skin_layout.txt";
}

// Built from setup/skin/main.xml and laid out at the window's size, the tree is the one the
// setup window's skin table describes.
TEST(MainSkin, BuildsAndLaysOutAsTheGoldenDump) {
  CPaintManagerUI::SetResourcePath(SETUP_SKIN_FOLDER);
  CPaintManagerUI manager;
  CDialogBuilder builder;
  CControlUI* root = builder.Create(L"main.xml", nullptr, nullptr, &manager);
  ASSERT_NE(nullptr, root);
  ASSERT_TRUE(manager.AttachDialog(root));
  manager.UpdateLayout(RECT{0, 0, 640, 460});
  EXPECT_TRUE(testing::MatchesDumpGolden(testing::LayoutDump(root), GoldenPath()));
  // Attributes without effect stay custom attributes; the window attributes need a window.
  EXPECT_STREQ(L"center", manager.FindControl(L"installBtnLayout")->GetCustomAttribute(L"align"));
  EXPECT_EQ(0, manager.GetInitSize().cx);
  CPaintManagerUI::SetResourcePath(L"");
}

}  // namespace
}  // namespace SkinUI
