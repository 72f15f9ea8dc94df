// A skin with tile, child and tab layouts, built from its file and laid out without a window,
// matches the golden dump (class, name, visibility and rectangle per control), before and after
// the first tile layout is scrolled.
#include <gtest/gtest.h>

#include <string>

#include "testsupport/skin_layout_dump.h"
#include "uitoolkit/controls/ui_container.h"
#include "uitoolkit/window/ui_dialog_builder.h"

namespace SkinUI {
namespace {

TEST(LayoutsSkin, BuildsAndLaysOutAsTheGoldenDump) {
  CPaintManagerUI::SetResourcePath(LAYOUTS_TEST_FOLDER);
  CPaintManagerUI manager;
  CDialogBuilder builder;
  CControlUI* root = builder.Create(L"layouts_skin.xml", nullptr, nullptr, &manager);
  ASSERT_NE(nullptr, root);
  ASSERT_TRUE(manager.AttachDialog(root));
  manager.UpdateLayout(RECT{0, 0, 400, 400});
  std::string dump = testing::LayoutDump(root);

  auto* tiles = static_cast<CContainerUI*>(manager.FindControl(L"by_columns"));
  ASSERT_NE(nullptr, tiles);
  tiles->SetScrollPos(SIZE{0, 25});
  dump += "scrolled by " + std::to_string(tiles->GetScrollPos().cy) + " of " +
          std::to_string(tiles->GetScrollRange().cy) + ":\n" + testing::LayoutDump(tiles);
  EXPECT_TRUE(testing::MatchesDumpGolden(
      dump, std::wstring(LAYOUTS_TEST_FOLDER) + L"\\golden\\layouts_skin_layout.txt"));
  CPaintManagerUI::SetResourcePath(L"");
}

}  // namespace
}  // namespace SkinUI
