#include "uninstall/uninstaller.h"

#include <windows.h>

#include <shellapi.h>
#include <shlwapi.h>

#include <cstdlib>
#include <ctime>

#include "common/command_line_arguments.h"
#include "common/module_path.h"
#include "common/product.h"
#include "common/system_libraries.h"
#include "uninstall/directory_checks.h"
#include "uninstall/exit_codes.h"
#include "uninstall/privileges.h"
#include "uninstall/process_control.h"
#include "uninstall/registry_cleanup.h"
#include "uninstall/setup_uninstall.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

Uninstaller::Uninstaller() { srand(static_cast<unsigned>(time(nullptr))); }

bool Uninstaller::Prepare(bool forceMode) {
  // The decision comes before the product key is read, so the installation path does not take
  // part in it.
  if (!EnsurePrivileges(m_installPath)) {
    LogError(L"Failed to obtain required privileges for uninstallation");
    return false;
  }
  if (IsProcessRunning(kApplicationExeName)) {
    if (forceMode) {
      LogInfo(std::wstring(kApplicationExeName) + L" is running, now kill it.");
      if (!KillProcess(kApplicationExeName)) {
        LogError(std::wstring(kApplicationExeName) + L" kill failed.");
        return false;
      }
    } else {
      LogWarning(std::wstring(kApplicationExeName) +
                 L" is running. Please close it first or use --force.");
    }
  }
  m_installPath = ReadRegistryString(HKEY_CURRENT_USER, kProductKey, kInstallPathValue);
  m_productVersion = ReadRegistryString(HKEY_CURRENT_USER, kProductKey, kProductVersionValue);
  if (m_installPath.empty() || m_productVersion.empty()) {
    LogError(
        L"Could not find required installation information in the registry (VeskInstallPath or "
        L"pv).");
    return false;
  }
  LogInfo(L"Found installation path from registry: " + m_installPath);
  LogInfo(L"Found pv value from registry: " + m_productVersion);
  return true;
}

bool Uninstaller::RunUninstall() {
  LogInfo(L"Starting uninstall process...");
  std::wstring setupPath = SetupExePath(m_installPath, m_productVersion);
  std::wstring arguments = SetupUninstallArguments(m_installPath);
  if (!shell::PathFileExists(setupPath.c_str())) {
    LogError(L"setup.exe does not exist: " + setupPath);
    return false;
  }
  if (IsProcessRunning(kChromiumSetupExeName)) {
    // Only this installation's setup.exe is ended; another product's installer may be at work.
    for (const OpenedProcess& running : OpenProcessesByName(kChromiumSetupExeName)) {
      if (running.imagePath.empty() || !SameFilePath(running.imagePath, setupPath)) {
        LogWarning(L"setup.exe of another program is running, left alone: " + running.imagePath);
        continue;
      }
      LogError(L"setup.exe is running, now kill it.");
      if (KillOpenedProcess(running, kChromiumSetupExeName)) {
        LogInfo(L"setup.exe killed.");
      } else {
        LogError(L"setup.exe kill failed.");
      }
    }
  }
  DWORD exitCode = RunSetupUninstall(setupPath, arguments);
  HandleSetupExitCode(exitCode, m_installPath, m_productVersion, m_deleter);
  RemovalDecision decision = ShouldRemoveProductData();
  if (decision == RemovalDecision::kUnreadable) {
    // The product may still be registered: its keys stay and the run fails.
    LogError(L"Could not read the uninstall entry, the product's registry keys are kept");
    return false;
  }
  if (decision == RemovalDecision::kKeep) {
    LogInfo(L"vesk shouldn't delete !!!!!!!");
    return false;
  }
  LogInfo(L"vesk should delete !!!");
  DeleteProductRegistryKeys();
  return true;
}

bool Uninstaller::FinalDirectoryCheck() { return uninstall::FinalDirectoryCheck(m_deleter); }

bool ParseForceMode(const wchar_t* fullCommandLine) {
  std::optional<std::vector<std::wstring>> arguments = SplitCommandLine(fullCommandLine);
  if (!arguments) return false;
  for (size_t i = 1; i < arguments->size(); ++i) {
    if ((*arguments)[i] == L"--force") return true;
  }
  return false;
}

int RunUninstaller(const wchar_t* fullCommandLine) {
  // The program's whole path, however long: the log goes beside the program, never elsewhere.
  std::wstring programPath = GetModulePath();
  UninstallLog& log = UninstallLog::Instance();
  log.SetMinimumLevel(kLogInfo);
  log.SetConsoleOutput(false);
  log.SetFileOutput(true, programPath.empty() ? std::wstring()
                                              : FolderOf(programPath) + L"\\" + kUninstallLogFileName);
  LogInfo(L"================== Vesk.helm Uninstaller ==================");

  Uninstaller uninstaller;
  bool forceMode = ParseForceMode(fullCommandLine);
  if (!uninstaller.Prepare(forceMode)) {
    LogError(L"Vesk uninstall failed!");
    uninstaller.FinalDirectoryCheck();
    return kUninstallFailed;
  }
  LogInfo(L"Starting uninstallation...");
  if (uninstaller.RunUninstall()) {
    LogInfo(L"Uninstallation completed successfully!");
    uninstaller.FinalDirectoryCheck();
    return kUninstallSucceeded;
  }
  LogError(L"Uninstallation failed!");
  uninstaller.FinalDirectoryCheck();
  return kUninstallFailed;
}

}  // namespace vesk::uninstall
