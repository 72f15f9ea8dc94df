// What setup records for the current user: the product key, the URL protocol, the auto-start
// entry, the uninstaller's final place and the desktop shortcut's name. Every operation logs its
// own failures and never stops the install; nothing is rolled back.
#pragma once

#include <string>

namespace vesk {

// Writes "UninstallString" (<folder>\uninstall\VeskUninstall.exe) and "VeskInstallPath".
void RegisterInstallPath(const std::wstring& installFolder);

// Writes "InstallAutoLaunch" as the DWORD 1 or 0.
void SetInstallAutoLaunch(bool isAutoLaunch);

// Writes "version".
void SetProductVersion(const std::wstring& version);

// Registers the veskhelm: protocol to open "<folder>\vesk.helm.exe" with the link.
void RegisterUrlProtocol(const std::wstring& installFolder);

// Writes or removes the Run-key entry that starts the application at logon. The Run key is
// opened, never created.
void SetAutoStart(const std::wstring& installFolder, bool enable);

// Moves "VeskUninstall.exe" from the registered install folder into its "uninstall" folder,
// replacing an uninstaller already there.
void MoveUninstallPosition();

// Renames the desktop shortcut "<oldName>.lnk" to "<newName>.lnk" unless the new name is taken.
void SetDesktopShortcutName(const std::wstring& oldName, const std::wstring& newName);

}  // namespace vesk
