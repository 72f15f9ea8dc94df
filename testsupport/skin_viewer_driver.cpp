#include "testsupport/skin_viewer_driver.h"

#include "testsupport/test_support.h"

namespace SkinUI {
namespace testing {

SkinViewerRun RunSkinViewer(const SkinViewerRequest& request) {
  vesk::testing::ScopedTempFolder folder(L"skin_viewer");
  const std::wstring log = folder / L"notify.log";
  const std::wstring picture = folder / L"frame.png";
  std::wstring commandLine = L"\"" SKIN_VIEWER_EXE L"\" \"" + request.skin +
                             L"\" --notify-log \"" + log + L"\"";
  if (request.takeScreenshot) commandLine += L" --screenshot \"" + picture + L"\"";
  for (const std::wstring& argument : request.arguments) commandLine += L" \"" + argument + L"\"";

  vesk::testing::RunOptions options;
  options.timeoutMs = 30000;
  if (request.whileShown) {
    options.closeWindowOfClass = L"VeskSkinViewer";
    options.whileWindowShown = [&](HWND window) { request.whileShown(window, log); };
  }
  const vesk::testing::ProcessResult process = vesk::testing::RunProcess(commandLine, options);
  SkinViewerRun run;
  run.finished = process.started && process.finished;
  run.exitCode = process.exitCode;
  run.notifications = vesk::testing::SplitLines(vesk::testing::ReadFileBytes(log));
  if (request.takeScreenshot) {
    run.screenshot = TestCanvas::DecodePng(vesk::testing::ReadFileBytes(picture));
  }
  return run;
}

SkinViewerRun RunSkinViewer(const std::wstring& skin, const std::vector<std::wstring>& arguments) {
  SkinViewerRequest request;
  request.skin = skin;
  request.arguments = arguments;
  return RunSkinViewer(request);
}

}  // namespace testing
}  // namespace SkinUI
