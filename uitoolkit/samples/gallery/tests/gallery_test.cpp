// Each page of the gallery skin, opened in SkinViewer.exe with its tab option activated, sends
// "tabselect" for its page and looks like its committed picture in pictures/.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "testsupport/skin_viewer_driver.h"

namespace SkinUI {
namespace testing {
namespace {

// The gallery's pictures are this program's goldens.
const bool kFoldersNamed = SetRenderTestFolders(GALLERY_FOLDER L"\\pictures", GALLERY_FOLDER);

TEST(Gallery, EachPageMatchesItsPicture) {
  struct Page {
    const wchar_t* option;
    const char* picture;
    const char* tabSelect;  // the notification of the switch; none for the first page
  };
  const Page pages[] = {
      {L"tab_basics", "gallery_basics", nullptr},
      {L"tab_scrolling", "gallery_scrolling", "tabselect pages 1 0"},
      {L"tab_tiles", "gallery_tiles", "tabselect pages 2 0"},
      {L"tab_child", "gallery_child", "tabselect pages 3 0"},
  };
  for (const Page& page : pages) {
    const SkinViewerRun run =
        RunSkinViewer(GALLERY_FOLDER L"\\gallery.xml", {L"--activate", page.option});
    ASSERT_TRUE(run.finished) << page.picture;
    EXPECT_EQ(0u, run.exitCode) << page.picture;
    ASSERT_NE(nullptr, run.screenshot) << page.picture;
    EXPECT_TRUE(MatchesGolden(*run.screenshot, page.picture, 8));
    const bool switched = std::find(run.notifications.begin(), run.notifications.end(),
                                    std::string(page.tabSelect != nullptr ? page.tabSelect : "")) !=
                          run.notifications.end();
    EXPECT_EQ(page.tabSelect != nullptr, switched) << page.picture;
  }
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
