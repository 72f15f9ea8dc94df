// The product contract: the names and numbers in which setup, the uninstaller, the update helper
// and the Chromium installer meet. Everything here is read or written by more than one program
// (or by the Chromium installer), so a name may never change on one side only.
#pragma once

#include <windows.h>

namespace vesk {

// ---- The product key under HKEY_CURRENT_USER ------------------------------------------------
constexpr wchar_t kProductKey[] = L"SOFTWARE\\Vesk.helm";
// Written by setup.
constexpr wchar_t kInstallPathValue[] = L"VeskInstallPath";
constexpr wchar_t kUninstallStringValue[] = L"UninstallString";
constexpr wchar_t kVersionValue[] = L"version";
constexpr wchar_t kInstallAutoLaunchValue[] = L"InstallAutoLaunch";
constexpr wchar_t kLogPathValue[] = L"VeskInstallLogPath";
// Written by the Chromium installer: the installed version, and the pending in-use update
// (its version and the command that completes it) while the application is running.
constexpr wchar_t kProductVersionValue[] = L"pv";
constexpr wchar_t kPendingVersionValue[] = L"opv";
constexpr wchar_t kPendingCommandValue[] = L"cmd";
// The Chromium installer's result values.
constexpr wchar_t kInstallerErrorValue[] = L"InstallerError";
constexpr wchar_t kInstallerResultValue[] = L"InstallerResult";
constexpr wchar_t kInstallerResultTextValue[] = L"InstallerResultUIString";

// ---- Other keys under HKEY_CURRENT_USER ------------------------------------------------------
// The veskhelm: URL protocol.
constexpr wchar_t kUrlProtocolKey[] = L"SOFTWARE\\Classes\\veskhelm";
// The auto-start entry "vesk.helm" of the Run key.
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kAutoStartValue[] = L"vesk.helm";
// The uninstall entry the Chromium installer registers ("UninstallString" in it).
constexpr wchar_t kUninstallEntryKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm";
// The maker's key, removed with the product's data.
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\Quillon\\vesk.helm";

// ---- Program and file names ------------------------------------------------------------------
constexpr wchar_t kApplicationExeName[] = L"vesk.helm.exe";
constexpr wchar_t kInstallerExeName[] = L"mini_installer.exe";
constexpr wchar_t kChromiumSetupExeName[] = L"setup.exe";
constexpr wchar_t kUninstallerExeName[] = L"VeskUninstall.exe";
// The uninstaller's folder inside the install folder, and setup.exe's inside a version folder.
constexpr wchar_t kUninstallFolderName[] = L"uninstall";
constexpr wchar_t kInstallerFolderName[] = L"Installer";
constexpr wchar_t kSetupLogFileName[] = L"vesk_install.log";
constexpr wchar_t kUninstallLogFileName[] = L"vesk_uninstall.log";

// ---- Exit codes of the Chromium programs -----------------------------------------------------
// mini_installer.exe: 0 is success; any other value is a failure, logged and passed on.
constexpr DWORD kInstallerSucceeded = 0;

// The installed setup.exe run with --uninstall: the codes the uninstaller tells apart.
enum SetupExitCode : DWORD {
  kSetupApiCallFailed = 10,
  kSetupInsufficientPermissions = 14,
  kSetupNotInstalled = 15,
  kSetupApplicationRunning = 16,
  kSetupUserConfirmed = 17,
  kSetupUserConfirmedWithConfiguration = 18,
  kSetupUninstallSucceeded = 19,
  kSetupUninstallFailed = 20,  // also taken when setup.exe cannot be started
  kSetupUserCancelled = 21,
  kSetupUnexpected = 22,
  kSetupRestartRequired = 29,
  kSetupNoExclusiveAccess = 60,
};

}  // namespace vesk
