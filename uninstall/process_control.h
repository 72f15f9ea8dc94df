// Finding and terminating running programs by executable name (file name only, exact case).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/seam.h"
#include "common/unique_handle.h"

namespace vesk::uninstall {

// True when some process has exactly this executable name.
[[nodiscard]] bool IsProcessRunning(const std::wstring& name);

// Terminates the first process (in snapshot order) with exactly this executable name; later
// processes of that name keep running. True when it was terminated.
bool KillProcess(const std::wstring& name);

// Program file of the first process with exactly this executable name, read in full; empty when
// there is none or it cannot be read. Writes no log lines.
[[nodiscard]] std::wstring FirstProcessImagePath(const std::wstring& name);

// A running process held open for termination, with the program file read through that handle.
struct OpenedProcess {
  UniqueKernelHandle handle;
  std::wstring imagePath;  // empty when it could not be read
};

// The running processes with exactly this executable name, in snapshot order; those that cannot
// be opened are left out. Writes no log lines.
// A process that cannot be opened is left alone with a warning.
[[nodiscard]] std::vector<OpenedProcess> OpenProcessesByName(const std::wstring& name);
// The opening used there; tests replace it to produce a process that refuses to be opened.
extern Seam<decltype(&::OpenProcess)> g_openProcessByName;

// Terminates the process held open, logging as KillProcess does under `name`. True when it was
// terminated.
bool KillOpenedProcess(const OpenedProcess& process, const std::wstring& name);

// True when both name the same file: compared without letter case, after expanding short names.
[[nodiscard]] bool SameFilePath(const std::wstring& first, const std::wstring& second);

}  // namespace vesk::uninstall
