// Runs SkinViewer.exe on a skin as its own process, the way the control tests drive skins end
// to end: the notifications it logged and the picture of its first frame come back.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/core/tests/render_test_support.h"

namespace SkinUI {
namespace testing {

struct SkinViewerRun {
  bool finished = false;  // ended by itself (or by the close after `whileShown`) in time
  DWORD exitCode = 0;
  std::vector<std::string> notifications;  // "<type> <sender name> <wParam> <lParam>"
  std::unique_ptr<TestCanvas> screenshot;  // with `takeScreenshot`, when one was saved
};

struct SkinViewerRequest {
  std::wstring skin;                   // full path of the skin file or zip
  std::vector<std::wstring> arguments;  // more options (--activate NAME, --xml NAME...)
  bool takeScreenshot = true;          // --screenshot: the viewer saves its first frame and ends
  // Without a screenshot: runs while the viewer's window is shown, with the path of the
  // notification log as it is being written; the window is closed after.
  std::function<void(HWND, const std::wstring& notifyLog)> whileShown;
};

SkinViewerRun RunSkinViewer(const SkinViewerRequest& request);
// The viewer with --screenshot and the further arguments.
SkinViewerRun RunSkinViewer(const std::wstring& skin, const std::vector<std::wstring>& arguments);

}  // namespace testing
}  // namespace SkinUI
