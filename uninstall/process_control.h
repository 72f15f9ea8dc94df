// Finding and terminating running programs by executable name (file name only, exact case).
#pragma once

#include <string>

namespace vesk::uninstall {

// True when some process has exactly this executable name.
bool IsProcessRunning(const std::wstring& name);

// Terminates the first process (in snapshot order) with exactly this executable name; later
// processes of that name keep running. True when it was terminated.
bool KillProcess(const std::wstring& name);

// Program file of the first process with exactly this executable name, read in full; empty when
// there is none or it cannot be read. Writes no log lines.
std::wstring FirstProcessImagePath(const std::wstring& name);

}  // namespace vesk::uninstall
