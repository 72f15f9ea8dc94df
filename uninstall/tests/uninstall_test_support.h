// Helpers of the uninstaller's tests: the log routed into a temporary file, the test child
// program placed under any name, and the reboot requests Windows records in the registry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/test_support.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall::testing {

using vesk::testing::ChildProcess;
using vesk::testing::PlaceTestChild;
using vesk::testing::ScopedTempFolder;

// Routes the process-wide log into a file of its own for one test.
class LogCapture {
 public:
  LogCapture();
  ~LogCapture();
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // The entries so far as "[LEVEL] message", without the timestamp.
  std::vector<std::string> Entries() const;
  // True when some entry equals `entry` exactly.
  bool Contains(const std::string& entry) const;
  // Index of the first entry equal to `entry` at or after `from`; -1 when there is none.
  int IndexOf(const std::string& entry, int from = 0) const;
  const std::wstring& path() const { return path_; }

 private:
  ScopedTempFolder folder_{L"ulog"};
  std::wstring path_;
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
