// Helpers of the uninstaller's tests: the log routed into a temporary file, the test child
// program placed under any name, and the reboot requests Windows records in the registry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/log_capture.h"
#include "testsupport/test_support.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall::testing {

using vesk::testing::ChildProcess;
using vesk::testing::PlaceTestChild;
using vesk::testing::ScopedTempFolder;

// Routes the process-wide log into "vesk_uninstall.log" of a temporary folder for one test.
class LogCapture : public vesk::testing::LogFileCapture {
 public:
  LogCapture();
  // The entries so far as "[LEVEL] message", without the timestamp.
  std::vector<std::string> Entries() const { return Messages(); }
};

// Narrow text of a path for comparisons with log entries.
std::string N(const std::wstring& text);

// The paths Windows will delete at the next reboot ("PendingFileRenameOperations" entries with an
// empty target), as given to MoveFileExW.
std::vector<std::wstring> PendingRebootDeletions();
bool IsPendingRebootDeletion(const std::wstring& path);
// Removes the recorded requests for paths that start with `prefix` (keeps the test prefix clean).
void ForgetPendingRebootOperations(const std::wstring& prefix);

// Polls until no process with this executable name runs; false after `timeoutMs`.
bool WaitUntilNoProcess(const std::wstring& name, DWORD timeoutMs);
// Number of processes with exactly this executable name.
int CountProcesses(const std::wstring& name);

}  // namespace vesk::uninstall::testing

namespace vesk::uninstall::testing {

// Creates files and folders below `root` from relative paths: a path ending in "\" is a folder,
// any other a small file. Missing parent folders are created.
void MakeTree(const std::wstring& root, const std::vector<std::wstring>& paths);

// Opens the file the way a running program holds it: no sharing for deletion, so it can be
// neither deleted nor renamed while the handle is open.
UniqueFile HoldOpen(const std::wstring& path);

}  // namespace vesk::uninstall::testing
