// Tests of the installation folder that guard the uninstaller's own folder deletions.
#pragma once

#include <string>

#include "uninstall/multi_process_deleter.h"

namespace vesk::uninstall {

// True only when the installation folder holds exactly the "uninstall" folder and one other
// folder, which holds only "Installer", which holds only "setup.exe".
[[nodiscard]] bool IsMinimalInstallState(const std::wstring& installPath);

// The check made before every exit: the folder two levels above the running program (the
// installation folder when the program runs from its "uninstall" folder) loses its "uninstall"
// folder when that is its only entry.
bool FinalDirectoryCheck(const MultiProcessDeleter& deleter);
// The same for a given program path.
bool FinalDirectoryCheckFor(const std::wstring& programPath, const MultiProcessDeleter& deleter);

// Removes `folder`\uninstall when it is the folder's only entry; true also when nothing had to
// be removed.
bool RemoveLoneUninstallFolder(const std::wstring& folder, const MultiProcessDeleter& deleter);

}  // namespace vesk::uninstall
