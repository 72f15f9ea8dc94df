#include "uninstall/setup_uninstall.h"

#include "common/unique_handle.h"
#include "uninstall/deletion.h"
#include "uninstall/directory_checks.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

std::wstring SetupExePath(const std::wstring& installPath, const std::wstring& productVersion) {
  return installPath + L"\\" + productVersion + L"\\Installer\\setup.exe";
}

std::wstring SetupUninstallArguments(const std::wstring& installPath) {
  return L"--uninstall --verbose-logging --enable-logging --log-file=\"" + installPath +
         L"\\uninstall\\ruzovo_uninstall.log\"";
}

// The program path is quoted: unquoted, a path with blanks such as "C:\Users\Ann Lee\..." would
// make CreateProcessW try "C:\Users\Ann.exe" first and hand setup.exe a split path as arguments.
std::wstring SetupUninstallCommandLine(const std::wstring& setupPath, const std::wstring& arguments) {
  return L"\"" + setupPath + L"\" " + arguments;
}

const wchar_t* SetupExitCodeMeaning(DWORD exitCode) {
  switch (exitCode) {
    case kSetupApiCallFailed: return L"Operating system API call failed";
    case kSetupInsufficientPermissions: return L"Insufficient user permissions";
    case kSetupNotInstalled: return L"Ruzovo is not installed!";
    case kSetupApplicationRunning: return L"Ruzovo is running!";
    case kSetupUserConfirmed: return L"User has confirmed the uninstallation of Ruzovo!";
    case kSetupUserConfirmedWithConfiguration:
      return L"User has confirmed uninstalling Ruzovo and deleting the configuration file!";
    case kSetupUninstallSucceeded: return L"Ruzovo uninstall success!";
    case kSetupUninstallFailed: return L"Ruzovo uninstall failed";
    case kSetupUserCancelled: return L"User cancels Ruzovo uninstallation!";
    case kSetupUnexpected: return L"I don't know what happened (it shouldn't have happened)";
    case kSetupRestartRequired: return L"Uninstallation requires a restart";
    case kSetupNoExclusiveAccess: return L"Unable to obtain exclusive installation permissions";
    default: return L"Others exit code!!!";
  }
}

DWORD RunSetupUninstall(const std::wstring& setupPath, const std::wstring& arguments) {
  std::wstring commandLine = SetupUninstallCommandLine(setupPath, arguments);
  LogInfo(L"Execute uninstall command: " + commandLine);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION child = {};
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &child)) {
    LogError(L"Failed to create uninstall process, error code: " +
             std::to_wstring(GetLastError()));
    return kSetupUninstallFailed;
  }
  UniqueKernelHandle process(child.hProcess);
  UniqueKernelHandle thread(child.hThread);
  LogInfo(L"Uninstall process started, waiting for it to finish...");
  WaitForSingleObject(process.get(), INFINITE);
  DWORD exitCode = kSetupUninstallFailed;
  GetExitCodeProcess(process.get(), &exitCode);
  process.reset();
  thread.reset();
  LogInfo(L"Uninstall process finished, exit code: " + std::to_wstring(exitCode));
  return exitCode;
}

namespace {

// Removes setup.exe by every means; false when it stays.
bool DeleteSetupExe(const std::wstring& setupPath, const MultiProcessDeleter& deleter) {
  LogInfo(L"Attempting to delete setup.exe: " + setupPath);
  if (DeleteFileW(setupPath.c_str())) {
    LogInfo(L"Successfully deleted setup.exe: " + setupPath);
    return true;
  }
  LogWarning(L"Failed to delete setup.exe: " + setupPath + L", error: " +
             std::to_wstring(GetLastError()));
  if (MoveToTempAndScheduleDelete(setupPath)) {
    LogInfo(L"Successfully moved setup.exe to temp and scheduled for deletion");
    return true;
  }
  LogWarning(L"Failed to move setup.exe to temp directory, trying multi-process deletion");
  if (deleter.DeleteFileMultiProcess(setupPath)) {
    LogInfo(L"Successfully deleted setup.exe using multi-process deletion");
    return true;
  }
  LogError(L"All deletion methods failed for setup.exe: " + setupPath);
  return false;
}

void CleanUpAfterFailedUninstall(const std::wstring& installPath,
                                 const std::wstring& productVersion,
                                 const MultiProcessDeleter& deleter) {
  if (!IsMinimalInstallState(installPath)) {
    LogInfo(L"Installation directory contains other files, skipping cleanup");
    return;
  }
  LogInfo(
      L"Installation directory only contains uninstall folder and setup.exe, proceeding with "
      L"cleanup");
  if (!DeleteSetupExe(SetupExePath(installPath, productVersion), deleter)) {
    LogWarning(L"Skipping version directory deletion because setup.exe deletion failed");
    return;
  }
  std::wstring versionFolder = installPath + L"\\" + productVersion;
  LogInfo(L"Attempting to delete version directory: " + versionFolder);
  // The recursive deletion removes the folder itself, or schedules it for deletion at reboot.
  if (DeleteDirectoryRecursive(versionFolder)) {
    LogInfo(L"Successfully deleted version directory: " + versionFolder);
  } else {
    LogError(L"Failed to delete version directory contents: " + versionFolder);
  }
}

}  // namespace

void HandleSetupExitCode(DWORD exitCode, const std::wstring& installPath,
                         const std::wstring& productVersion, const MultiProcessDeleter& deleter) {
  LogInfo(L"setup.exe exitCode: " + std::to_wstring(exitCode));
  LogInfo(SetupExitCodeMeaning(exitCode));
  if (exitCode == kSetupUninstallFailed) {
    CleanUpAfterFailedUninstall(installPath, productVersion, deleter);
  }
}

}  // namespace vesk::uninstall
