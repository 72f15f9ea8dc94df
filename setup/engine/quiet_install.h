// The install road without a window.
#pragma once

#include <string>

namespace vesk {

// Installs into the registered or default install folder: copies the Chromium installer there,
// registers the product, runs the installer and waits for it, removes the working folder, logs
// the installer's registry results and renames the desktop shortcut. Returns the process exit
// code: 0, 100 (install folder not created), 101 (installer not copied), 102/103 (installer not
// started / exit code unreadable) or the installer's own nonzero exit code.
[[nodiscard]] int QuietInstall(const std::wstring& workingFolder, bool isAutoLaunch, bool isKill);

// Longest wait for an installer process that is still running after the direct run: 180 s.
constexpr unsigned long kInstallerLingerLimitMs = 180000;

// Waits, polling once per second, while a process named exactly "mini_installer.exe" runs, for
// at most `limitMs`; logs "mini_installer.exe is timeout!!!" when the limit is reached.
void WaitForInstallerToFinish(unsigned long limitMs);

}  // namespace vesk
