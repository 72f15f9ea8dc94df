#include "setup/engine/installer_runner.h"

#include <shellapi.h>

#include <optional>
#include <utility>

#include "common/bounded_path.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/exit_codes.h"
#include "setup/engine/payload.h"
#include "setup/engine/payload_integrity.h"
#include "setup/engine/install_steps.h"
#include "setup/engine/setup_log.h"

namespace vesk {

InstallerRunner::InstallerRunner(HWND window, bool useAdministratorMode)
    : InstallerRunner(window, useAdministratorMode, std::wstring()) {
  if (m_useAdministratorMode) m_workingFolder = GetWorkingFolder();
}

InstallerRunner::InstallerRunner(HWND window, bool useAdministratorMode, std::wstring workingFolder)
    : InstallMonitors(window),
      m_useAdministratorMode(useAdministratorMode),
      m_workingFolder(std::move(workingFolder)) {}

int InstallerRunner::LaunchMiniInstaller(const std::wstring& installFolder, bool withProgress) {
  if (withProgress) StartProgressMonitor();
  return m_useAdministratorMode ? LaunchElevated(installFolder) : LaunchDirectly(installFolder);
}

bool InstallerRunner::InstallerMatchesRecord(const std::wstring& installFolder) {
  ReleaseInstaller();
  // The direct road starts the copy in the install folder; the elevated batch file copies the
  // working folder's.
  const std::wstring& folder = m_useAdministratorMode ? m_workingFolder : installFolder;
  std::optional<std::wstring> installerPath = JoinPath(folder, L"mini_installer.exe");
  if (installerPath) {
    // Held before the check: nothing can change it between the check and its start. (An
    // installer that cannot be held is checked again at its start.)
    UniqueFile held(CreateFileW(installerPath->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (PayloadFileMatchesRecord(*installerPath, kInstallerPayloadId)) {
      if (held) {
        m_heldInstaller = std::move(held);
        m_heldInstallerPath = *installerPath;
      }
      return true;
    }
  }
  WriteLog(L"mini_installer.exe does not match its recorded digest: " + folder +
           L"\\mini_installer.exe");
  return false;
}

bool InstallerRunner::CheckedAndHeld(const std::wstring& installerPath,
                                     const std::wstring& installFolder) {
  if (m_heldInstaller && m_heldInstallerPath == installerPath) return true;
  return InstallerMatchesRecord(installFolder);
}

void InstallerRunner::ReleaseInstaller() {
  m_heldInstaller.reset();
  m_heldInstallerPath.clear();
}

int InstallerRunner::LaunchDirectly(const std::wstring& installFolder) {
  std::optional<std::wstring> installerPath = JoinPath(installFolder, L"mini_installer.exe");
  if (!installerPath) {
    WriteLog(L"Path too long: " + installFolder + L"\\mini_installer.exe");
    WriteLog(L"Failed to create process.");
    return kInstallerNotStarted;
  }
  WriteLog(L"LaunchMiniInstaller installerPath: " + *installerPath);
  if (!CheckedAndHeld(*installerPath, installFolder)) return kPayloadDigestMismatch;

  // The program is named explicitly and quoted on its command line, so a folder with blanks can
  // neither start another program (say "C:\Users\John.exe" for "C:\Users\John Smith\...") nor
  // reach the installer as extra arguments.
  std::wstring commandLine = L"\"" + *installerPath + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  const BOOL started = CreateProcessW(installerPath->c_str(), &commandLine[0], nullptr, nullptr,
                                     FALSE, 0, nullptr, nullptr, &startup, &process);
  ReleaseInstaller();
  if (!started) {
    WriteLog(L"Failed to create process.");
    return kInstallerNotStarted;
  }
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);

  WaitForSingleObject(processHandle.get(), INFINITE);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(processHandle.get(), &exitCode)) {
    WriteLog(L"Failed to get exit code.");
    return kInstallerExitCodeUnreadable;
  }
  WriteLog(L"mini_installer.exe exited with code: " + std::to_wstring(exitCode));
  return static_cast<int>(exitCode);
}

int InstallerRunner::LaunchElevated(const std::wstring& installFolder) {
  std::optional<std::wstring> batchPath = JoinPath(m_workingFolder, L"vesk_installer.bat");
  if (m_workingFolder.empty() || !batchPath) {
    WriteLog(L"Path too long: " + m_workingFolder + L"\\vesk_installer.bat");
    return kElevatedLaunchFailed;
  }
  WriteLog(L"LaunchMiniInstaller installerBatPath: " + *batchPath);
  WriteLog(L"LaunchMiniInstaller tempDir: " + m_workingFolder);
  WriteLog(L"LaunchMiniInstaller customPath: " + installFolder);

  std::wstring parameters = BatchFileParameters(installFolder);
  if (parameters.empty()) {
    WriteLog(L"Install folder cannot be passed to vesk_installer.bat: " + installFolder);
    return kElevatedLaunchFailed;
  }
  WriteLog(L"LaunchMiniInstaller params: " + parameters);
  std::optional<std::wstring> installerPath = JoinPath(m_workingFolder, L"mini_installer.exe");
  if (!installerPath || !CheckedAndHeld(*installerPath, installFolder)) {
    return kPayloadDigestMismatch;
  }

  // The shell shows the elevation prompt; setup does not wait for the batch file.
  INT_PTR shellResult = reinterpret_cast<INT_PTR>(
      shell::Execute(nullptr, L"runas", batchPath->c_str(), parameters.c_str(), nullptr, SW_HIDE));
  ReleaseInstaller();
  if (shellResult <= 32) {
    WriteLog(L"ShellExecute vesk_installer.bat failed: Result: " + std::to_wstring(shellResult));
    return kElevatedLaunchFailed;
  }
  WriteLog(L"ShellExecute vesk_installer.bat success result: " + std::to_wstring(shellResult));
  return kSetupSuccess;
}

std::wstring BatchFileParameters(const std::wstring& installFolder) {
  // Characters the command processor acts on when the batch file expands its arguments.
  if (installFolder.empty() || installFolder.find_first_of(L"&|<>^%\"") != std::wstring::npos) {
    return std::wstring();
  }
  // Characters that separate batch-file arguments besides the blank.
  bool otherSeparators = installFolder.find_first_of(L"\t,;=") != std::wstring::npos;
  size_t firstBlank = installFolder.find(L' ');
  bool oneInnerBlank = firstBlank == std::wstring::npos ||
                       (firstBlank > 0 && firstBlank + 1 < installFolder.size() &&
                        installFolder.find(L' ', firstBlank + 1) == std::wstring::npos);
  if (!otherSeparators && oneInnerBlank) return installFolder;
  if (firstBlank == std::wstring::npos) return L"\"" + installFolder + L"\"";
  return L"\"" + installFolder.substr(0, firstBlank) + L"\" \"" +
         installFolder.substr(firstBlank + 1) + L"\"";
}

}  // namespace vesk
