#include "setup/engine/quiet_install.h"

#include <windows.h>

#include "setup/engine/exit_codes.h"
#include "setup/engine/install_steps.h"
#include "setup/engine/installer_runner.h"
#include "setup/engine/location_checks.h"
#include "setup/engine/process_control.h"
#include "setup/engine/registration.h"
#include "setup/engine/result_readback.h"
#include "setup/engine/setup_log.h"

namespace vesk {

void WaitForInstallerToFinish(unsigned long limitMs) {
  unsigned long waitedMs = 0;
  while (IsProcessRunning(kInstallerExeName)) {
    if (waitedMs >= limitMs) {
      WriteLog(L"mini_installer.exe is timeout!!!");
      break;
    }
    Sleep(1000);
    waitedMs += 1000;
  }
}

int QuietInstall(const std::wstring& workingFolder, bool isAutoLaunch, bool isKill) {
  InstallerRunner runner(nullptr, false, workingFolder);

  std::wstring installFolder = GetInstallPathFromRegistry();
  WriteLog(L"GetInstallPathFromRegistry path: " + installFolder);
  if (installFolder.empty()) installFolder = GetDefaultInstallPath();

  if (isKill) {
    WriteLog(L"isKill = true, killTargetApp");
    killTargetApp(installFolder);
  }

  if (!CreateInstallFolder(installFolder)) return kInstallFolderNotCreated;
  OpenLogFile(installFolder);
  if (!CopyInstaller(workingFolder, installFolder)) return kInstallerNotCopied;
  if (!runner.InstallerMatchesRecord(installFolder)) return kPayloadDigestMismatch;

  RegisterInstallPath(installFolder);
  SetInstallAutoLaunch(isAutoLaunch);
  RecordProductVersion(workingFolder);
  RegisterUrlProtocol(installFolder);

  int result = runner.LaunchMiniInstaller(installFolder, false);
  WriteLog(L"StartInstallation result: " + std::to_wstring(result));

  WaitForInstallerToFinish(kInstallerLingerLimitMs);
  WriteLog(L"mini_installer.exe is completed!!!");
  WriteLog(result != kSetupSuccess ? L"QuietInstall failed" : L"QuietInstall success");

  RemoveWorkingFolder(workingFolder);
  logRegistryValue();
  SetDesktopShortcutName(L"vesk.helm", L"vesk");

  WriteLog(L"QuietInstall result: " + std::to_wstring(result));
  return result;
}

}  // namespace vesk
