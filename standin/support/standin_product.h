// Names and numbers the stand-in product shares between its installer, its setup.exe and its
// application: where things are installed, what is written to the registry, and the exit codes.
#pragma once

namespace vesk::standin {

// Files and folders of an installation (all relative to the install folder).
constexpr wchar_t kApplicationExe[] = L"vesk.helm.exe";
// The application waiting in place while the installed one runs (pending in-use update).
constexpr wchar_t kPendingApplicationExe[] = L"new_vesk.helm.exe";
constexpr wchar_t kVisualElementsFile[] = L"vesk.helm.VisualElementsManifest.xml";
constexpr wchar_t kInstallerFolder[] = L"Installer";
constexpr wchar_t kSetupExe[] = L"setup.exe";
constexpr wchar_t kUninstallFolder[] = L"uninstall";  // the kit's uninstaller lives there
constexpr wchar_t kShortcutName[] = L"vesk.helm.lnk";
constexpr wchar_t kInstallerProcessName[] = L"mini_installer.exe";

// Registry, all under HKEY_CURRENT_USER.
constexpr wchar_t kProductKey[] = L"Software\\Vesk.helm";
constexpr wchar_t kUninstallEntryKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm";
constexpr wchar_t kVersionValue[] = L"pv";
constexpr wchar_t kInUseVersionValue[] = L"opv";
constexpr wchar_t kPendingCommandValue[] = L"cmd";
constexpr wchar_t kInstallerResultValue[] = L"InstallerResult";
constexpr wchar_t kInstallerErrorValue[] = L"InstallerError";
constexpr wchar_t kInstallerResultTextValue[] = L"InstallerResultUIString";

constexpr wchar_t kProductName[] = L"vesk.helm";
constexpr wchar_t kPublisher[] = L"Quillon";

// setup.exe switches besides the uninstall command line the kit's uninstaller passes.
constexpr wchar_t kUninstallSwitch[] = L"--uninstall";
constexpr wchar_t kLogFileSwitch[] = L"--log-file=";
constexpr wchar_t kRenameSwitch[] = L"--rename-vesk-exe";  // completes a pending update

// InstallerResult values.
constexpr unsigned long kInstallerResultSucceeded = 0;
constexpr unsigned long kInstallerResultFailed = 1;

// Exit codes of mini_installer.exe. Never renumber.
enum InstallerExitCode : int {
  kInstallerSuccess = 0,
  kInstallerPathTooLong = 50,     // the install folder leaves no room for the installed files
  kInstallerBadVersion = 51,      // the version to install is not dotted numbers
  kInstallerFileNotWritten = 52,  // an installed file could not be written
  kInstallerRegistryNotWritten = 53,
};

// Exit codes of setup.exe. Never renumber; 10 to 22 are the codes the kit's uninstaller knows.
enum SetupExitCode : int {
  kSetupRenameSucceeded = 0,
  kSetupSystemCallFailed = 10,
  kSetupApplicationRunning = 16,
  kSetupUserConfirmed = 17,
  kSetupUserConfirmedDeletingProfile = 18,
  kSetupUninstallSucceeded = 19,
  kSetupUninstallFailed = 20,
  kSetupUserCancelled = 21,
  kSetupUnknownCommand = 22,
  kSetupRestartRequired = 29,
};

}  // namespace vesk::standin
