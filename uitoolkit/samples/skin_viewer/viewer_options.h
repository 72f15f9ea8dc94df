// The skin viewer's command line:
//   SkinViewer.exe SKIN [--xml NAME] [--notify-log FILE] [--screenshot FILE] [--activate NAME]...
// SKIN is a skin file, or a zip archive holding the skin; --xml names the skin file inside the
// zip (by default the zip's own name with ".xml": gallery.zip holds gallery.xml).
#pragma once

#include <string>
#include <vector>

namespace SkinViewer {

struct ViewerOptions {
  std::wstring skinFolder;  // with a trailing backslash, or empty for the current folder
  std::wstring skinFile;    // the skin file (in the folder, or in the zip)
  std::wstring zipFile;     // the zip's file name in the folder, or empty
  std::wstring notifyLog;
  std::wstring screenshot;
  std::vector<std::wstring> activate;
};

// Reads the arguments after the program name. False, with `error` set, on an unknown option, an
// option without its value or no skin.
bool ParseViewerOptions(const std::vector<std::wstring>& arguments, ViewerOptions& options,
                        std::wstring& error);

}  // namespace SkinViewer
