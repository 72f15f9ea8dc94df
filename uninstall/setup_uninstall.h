// Running the installed Chromium setup.exe in uninstall mode and acting on its exit code.
#pragma once

#include <windows.h>

#include <string>

#include "uninstall/multi_process_deleter.h"

namespace vesk::uninstall {

// Exit codes of setup.exe that the uninstaller tells apart.
enum SetupExitCode : DWORD {
  kSetupApiCallFailed = 10,
  kSetupInsufficientPermissions = 14,
  kSetupNotInstalled = 15,
  kSetupApplicationRunning = 16,
  kSetupUserConfirmed = 17,
  kSetupUserConfirmedWithConfiguration = 18,
  kSetupUninstallSucceeded = 19,
  kSetupUninstallFailed = 20,  // also given when setup.exe cannot be started
  kSetupUserCancelled = 21,
  kSetupUnexpected = 22,
  kSetupRestartRequired = 29,
  kSetupNoExclusiveAccess = 60,
};

// <install>\<version>\Installer\setup.exe
std::wstring SetupExePath(const std::wstring& installPath, const std::wstring& productVersion);

// Everything after setup.exe's own path on its command line: the uninstall switches and its log
// file "<install>\uninstall\ruzovo_uninstall.log", quoted.
std::wstring SetupUninstallArguments(const std::wstring& installPath);

// The command line setup.exe is started with: its path, quoted, then the arguments.
std::wstring SetupUninstallCommandLine(const std::wstring& setupPath, const std::wstring& arguments);

// The log line that tells what an exit code means.
const wchar_t* SetupExitCodeMeaning(DWORD exitCode);

// Starts setup.exe and waits for it without a time limit; its exit code, or 20 when it could not
// be started.
DWORD RunSetupUninstall(const std::wstring& setupPath, const std::wstring& arguments);

// Logs the exit code and its meaning; after code 20 removes setup.exe and the version folder when
// the installation folder is in its minimal state.
void HandleSetupExitCode(DWORD exitCode, const std::wstring& installPath,
                         const std::wstring& productVersion, const MultiProcessDeleter& deleter);

}  // namespace vesk::uninstall
