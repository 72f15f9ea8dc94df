// Results of the setup program's install steps, which a quiet install returns as its exit code.
// Values are part of the program's interface: never renumber them.
#pragma once

namespace vesk {

enum SetupResult : int {
  kSetupSuccess = 0,
  // Any other value below 100 (and above 105) is the Chromium installer's own exit code.
  kInstallFolderNotCreated = 100,
  kInstallerNotCopied = 101,
  kInstallerNotStarted = 102,
  kInstallerExitCodeUnreadable = 103,
  kElevatedLaunchFailed = 104,
  kWorkingFolderPathTooLong = 105,
};

}  // namespace vesk
