// Runs the Chromium installer for one install folder: directly (waiting for its exit code), or
// elevated through "vesk_installer.bat" from the working folder. Optionally drives the progress
// monitors that report progress and completion to the setup window.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

#include "setup/engine/progress_monitors.h"

namespace vesk {

class InstallerRunner : public InstallMonitors {
 public:
  // The elevated road starts the batch file of the setup program's own working folder.
  InstallerRunner(HWND window, bool useAdministratorMode);
  // The same, with the working folder that holds "vesk_installer.bat" given explicitly.
  InstallerRunner(HWND window, bool useAdministratorMode, std::wstring workingFolder);

  // Direct road: the installer's exit code, 102 when it cannot be started, 103 when its exit code
  // cannot be read. Elevated road: 0 once the shell has started the batch file, 104 when it has
  // not. With `withProgress` the progress monitor starts first.
  [[nodiscard]] int LaunchMiniInstaller(const std::wstring& installFolder, bool withProgress);

  // Whether the installer the chosen road would start matches the digest the setup program
  // records; logs the mismatch. A matching installer stays held for reading only until it has
  // been started, so the checked bytes are the ones that run and the launch need not hash it
  // again.
  [[nodiscard]] bool InstallerMatchesRecord(const std::wstring& installFolder);

 private:
  int LaunchDirectly(const std::wstring& installFolder);
  int LaunchElevated(const std::wstring& installFolder);
  // Checks the installer at `installerPath` unless it is held since its check.
  bool CheckedAndHeld(const std::wstring& installerPath, const std::wstring& installFolder);
  void ReleaseInstaller();

  bool m_useAdministratorMode = false;
  std::wstring m_workingFolder;
  UniqueFile m_heldInstaller;
  std::wstring m_heldInstallerPath;
};

// The parameters that make "vesk_installer.bat" rebuild `installFolder` as its target folder.
// The batch file joins its first two arguments with one blank: a folder with at most one single
// blank (and no other argument separator) is passed as it is; any other folder is passed as two
// quoted halves split at its first blank, so that the join gives the folder back. Empty when the
// folder holds a character the command processor would act on inside the batch file.
[[nodiscard]] std::wstring BatchFileParameters(const std::wstring& installFolder);

}  // namespace vesk
