// Each page of the gallery skin, opened in SkinViewer.exe with its tab option activated, sends
// "tabselect" for its page (none for the first) and looks like its picture in pictures/.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "testsupport/sample_control_library.h"
#include "testsupport/skin_viewer_driver.h"

namespace SkinUI {
namespace testing {
namespace {

const bool kFoldersNamed = SetRenderTestFolders(GALLERY_FOLDER L"\\pictures", GALLERY_FOLDER);

TEST(Gallery, EachPageMatchesItsPicture) {
  const char* const pages[] = {"basics", "scrolling", "tiles",     "child",    "list",   "combo",
                               "tree",   "sliders",   "animation", "richedit", "activex"};
  const vesk::testing::SampleControlLibrary sampleControl;  // for the ActiveX page
  ASSERT_TRUE(sampleControl.registered());
  for (int page = 0; page < 11; ++page) {
    const std::string name = pages[page];
    const std::wstring option = L"tab_" + std::wstring(name.begin(), name.end());
    const SkinViewerRun run = RunSkinViewer(GALLERY_FOLDER L"\\gallery.xml", {L"--activate", option});
    ASSERT_TRUE(run.finished && run.screenshot != nullptr) << name;
    EXPECT_EQ(0u, run.exitCode) << name;
    EXPECT_TRUE(MatchesGolden(*run.screenshot, "gallery_" + name, 8));
    std::vector<std::string> switches;
    std::copy_if(run.notifications.begin(), run.notifications.end(), std::back_inserter(switches),
                 [](const std::string& line) { return line.rfind("tabselect ", 0) == 0; });
    const std::string expected = "tabselect pages " + std::to_string(page) + " 0";
    EXPECT_EQ(page > 0 ? std::vector<std::string>{expected} : std::vector<std::string>{}, switches);
  }
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
