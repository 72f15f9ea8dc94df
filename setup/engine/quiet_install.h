// The install road without a window.
#pragma once

#include <string>

namespace vesk {

// Installs into the existing or default install folder and returns the process exit code.
int QuietInstall(const std::wstring& workingFolder, bool isAutoLaunch, bool isKill);

}  // namespace vesk
