// Results of the setup program's install steps, which a quiet install returns as its exit code.
// Values are part of the program's interface: never renumber them.
#pragma once

namespace vesk {

enum SetupResult : int {
  kSetupSuccess = 0,
  // Any other value below 100 (and above 107) is the Chromium installer's own exit code.
  kInstallFolderNotCreated = 100,
  kInstallerNotCopied = 101,
  kInstallerNotStarted = 102,
  kInstallerExitCodeUnreadable = 103,
  kElevatedLaunchFailed = 104,
  kWorkingFolderPathTooLong = 105,
  // A payload file did not match the SHA-256 recorded at build time: nothing was started.
  kPayloadDigestMismatch = 106,
  // Something in the working folder (left by an earlier run, or put there) could not be removed:
  // nothing was extracted or installed.
  kWorkingFolderNotEmptied = 107,
};

}  // namespace vesk
