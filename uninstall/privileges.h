// Whether the uninstallation needs administrator rights, and the elevated restart.
#pragma once

#include <windows.h>

#include <string>

#include "common/seam.h"

namespace vesk::uninstall {

// What the privilege decision asks of the system. Tests replace them for the conditions a test
// machine cannot produce (a machine-wide product key, a user without administrator rights) or
// that would harm the test run (restarting or ending the test program itself).
//
// The key "SOFTWARE\Vesk.helm" under HKEY_LOCAL_MACHINE opens for reading.
extern Seam<bool (*)()> g_machineProductKeyExists;
// The current thread's effective token is a member of the built-in Administrators group.
extern Seam<bool (*)()> g_tokenIsAdministrator;
// Full path of the program the elevated restart starts: the running program.
extern Seam<std::wstring (*)()> g_restartProgramPath;
// Ends the process at once; the real one never returns.
extern Seam<void (*)(UINT exitCode)> g_endProcess;

// True when the run may go on with its current rights; false when rights are needed and the
// elevated restart could not be started. A started restart ends the process with exit code 0.
// `installPath` feeds the protected-folder test of NeedsAdministrator (empty: no such test).
[[nodiscard]] bool EnsurePrivileges(const std::wstring& installPath);

// The decision table: machine-wide product key, then the running application's program file in a
// protected folder. A non-empty `installPath` in a protected folder is tested first.
[[nodiscard]] bool NeedsAdministrator(const std::wstring& installPath);

[[nodiscard]] bool IsRunningAsAdministrator();

// Starts the running program again elevated and ends this process with 0; returns only when the
// new instance could not be started.
void RestartElevated();

}  // namespace vesk::uninstall
