// Running the installed Chromium setup.exe in uninstall mode and acting on its exit code.
#pragma once

#include <windows.h>

#include <string>

#include "common/product.h"
#include "uninstall/multi_process_deleter.h"

namespace vesk::uninstall {

// <install>\<version>\Installer\setup.exe
[[nodiscard]] std::wstring SetupExePath(const std::wstring& installPath, const std::wstring& productVersion);

// Everything after setup.exe's own path on its command line: the uninstall switches and its log
// file "<install>\uninstall\ruzovo_uninstall.log", quoted.
[[nodiscard]] std::wstring SetupUninstallArguments(const std::wstring& installPath);

// The command line setup.exe is started with: its path, quoted, then the arguments.
[[nodiscard]] std::wstring SetupUninstallCommandLine(const std::wstring& setupPath, const std::wstring& arguments);

// The log line that tells what an exit code means.
const wchar_t* SetupExitCodeMeaning(DWORD exitCode);

// Starts setup.exe and waits for it without a time limit; its exit code, or 20 when it could not
// be started.
[[nodiscard]] DWORD RunSetupUninstall(const std::wstring& setupPath, const std::wstring& arguments);

// Logs the exit code and its meaning; after code 20 removes setup.exe and the version folder when
// the installation folder is in its minimal state.
void HandleSetupExitCode(DWORD exitCode, const std::wstring& installPath,
                         const std::wstring& productVersion, const MultiProcessDeleter& deleter);

}  // namespace vesk::uninstall
