// SkinViewer.exe run as a process on a small skin: what it logs, the frame it saves, how it
// fails, and a real click reaching the skin's button.
#include <gtest/gtest.h>

#include <algorithm>

#include "testsupport/live_window_support.h"
#include "testsupport/skin_viewer_driver.h"
#include "testsupport/test_support.h"
#include "uitoolkit/samples/skin_viewer/viewer_options.h"

namespace SkinUI {
namespace testing {
namespace {

const std::wstring kSkin = VIEWER_TEST_FOLDER L"\\viewer_test_skin.xml";
const std::wstring kZip = VIEWER_TEST_ZIP;

bool Logged(const SkinViewerRun& run, const std::string& line) {
  return std::find(run.notifications.begin(), run.notifications.end(), line) !=
         run.notifications.end();
}

TEST(SkinViewerOptions, SplitTheSkinIntoFolderFileAndZip) {
  struct Row {
    std::vector<std::wstring> arguments;
    bool ok;
    const wchar_t* folder;
    const wchar_t* file;
    const wchar_t* zip;
  };
  const Row rows[] = {
      {{L"C:\\skins\\a.xml"}, true, L"C:\\skins\\", L"a.xml", L""},
      {{L"a.xml"}, true, L"", L"a.xml", L""},
      {{L"D:/x/Gallery.ZIP"}, true, L"D:/x/", L"Gallery.xml", L"Gallery.ZIP"},
      {{L"g.zip", L"--xml", L"main.xml"}, true, L"", L"main.xml", L"g.zip"},
      {{L"a.xml", L"--xml", L"main.xml"}, false, L"", L"", L""},
      {{L"a.xml", L"--screenshot"}, false, L"", L"", L""},
      {{L"a.xml", L"b.xml"}, false, L"", L"", L""},
      {{L"--activate", L"go"}, false, L"", L"", L""},
      {{L"a.xml", L"--frobnicate", L"1"}, false, L"", L"", L""},
  };
  for (const Row& row : rows) {
    SkinViewer::ViewerOptions options;
    std::wstring error;
    const bool ok = SkinViewer::ParseViewerOptions(row.arguments, options, error);
    ASSERT_EQ(ok, row.ok) << vesk::testing::Narrow(row.arguments[0]);
    if (!ok) {
      EXPECT_FALSE(error.empty());
      continue;
    }
    EXPECT_EQ(options.skinFolder, row.folder);
    EXPECT_EQ(options.skinFile, row.file);
    EXPECT_EQ(options.zipFile, row.zip);
  }
}

TEST(SkinViewer, ActivatedControlsNotifyAndTheFirstFrameIsSaved) {
  const SkinViewerRun run = RunSkinViewer(kSkin, {L"--activate", L"go", L"--activate", L"pick"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0u);
  EXPECT_TRUE(Logged(run, "click go 0 0"));
  EXPECT_TRUE(Logged(run, "selectchanged pick 0 0"));
  EXPECT_TRUE(Logged(run, "windowinit root 0 0"));
  ASSERT_NE(run.screenshot, nullptr);
  ASSERT_EQ(run.screenshot->width(), 160);
  ASSERT_EQ(run.screenshot->height(), 100);
  EXPECT_EQ(run.screenshot->Pixel(5, 5), 0x204060u);
  EXPECT_EQ(run.screenshot->Pixel(80, 40), 0xE02020u);
}

TEST(SkinViewer, OpensTheSkinInsideAZip) {
  const SkinViewerRun run = RunSkinViewer(kZip, {L"--xml", L"skin.xml"});
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0u);
  ASSERT_NE(run.screenshot, nullptr);
  EXPECT_EQ(run.screenshot->width(), 200);
  EXPECT_EQ(run.screenshot->Pixel(100, 60), 0x102030u);
}

TEST(SkinViewer, FailuresEndWithTheirExitCodeAndNoWindowLeftWaiting) {
  struct Row {
    std::wstring skin;
    std::vector<std::wstring> arguments;
    DWORD exitCode;
  };
  const Row rows[] = {
      {kSkin, {L"--bogus"}, 2},
      {kSkin, {L"--activate", L"nosuchcontrol"}, 4},
      {VIEWER_TEST_FOLDER L"\\missing.xml", {}, 1},
  };
  for (const Row& row : rows) {
    const SkinViewerRun run = RunSkinViewer(row.skin, row.arguments);
    ASSERT_TRUE(run.finished) << vesk::testing::Narrow(row.skin);
    EXPECT_EQ(run.exitCode, row.exitCode) << vesk::testing::Narrow(row.skin);
    EXPECT_EQ(run.screenshot, nullptr);
  }
}

// The log is written as each notification arrives: a real click shows in it while the window
// is still open.
TEST(SkinViewer, RealClickIsLoggedWhileTheWindowIsOpen) {
  std::vector<std::string> loggedWhileOpen;
  SkinViewerRequest request;
  request.skin = kSkin;
  request.takeScreenshot = false;
  request.whileShown = [&](HWND window, const std::wstring& notifyLog) {
    PumpFor(300);
    MouseMoveTo(window, POINT{80, 40});
    MouseButton(true);
    MouseButton(false);
    PumpFor(300);
    loggedWhileOpen = vesk::testing::SplitLines(vesk::testing::ReadFileBytes(notifyLog));
  };
  const SkinViewerRun run = RunSkinViewer(request);
  ASSERT_TRUE(run.finished);
  EXPECT_NE(std::find(loggedWhileOpen.begin(), loggedWhileOpen.end(), "click go 0 0"),
            loggedWhileOpen.end());
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
