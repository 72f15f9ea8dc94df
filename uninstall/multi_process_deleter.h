// Last-resort deletion through hidden child processes (cmd.exe, then powershell.exe), whose work
// is verified afterwards, and the removal of parent folders that became empty.
#pragma once

#include <windows.h>

#include <string>

namespace vesk::uninstall {

// Exit-code stand-in for a child that did not start or was terminated at its time-out.
constexpr DWORD kNoChildExitCode = static_cast<DWORD>(-1);

constexpr DWORD kFileCommandTimeoutMs = 5000;
constexpr DWORD kFolderCommandTimeoutMs = 10000;

// The two deletion commands for a file or a folder; paths are passed as literal text.
[[nodiscard]] std::wstring CmdDeleteFileCommand(const std::wstring& file);
[[nodiscard]] std::wstring PowerShellDeleteFileCommand(const std::wstring& file);
[[nodiscard]] std::wstring CmdDeleteFolderCommand(const std::wstring& folder);
[[nodiscard]] std::wstring PowerShellDeleteFolderCommand(const std::wstring& folder);

class MultiProcessDeleter {
 public:
  // Deletes the file through the child processes; when it is gone, removes its parent folders
  // while they are empty.
  bool DeleteFileMultiProcess(const std::wstring& file) const;
  // Deletes the folder with all its content through the child processes.
  bool DeleteDirectoryMultiProcess(const std::wstring& folder) const;
  // Runs the cmd.exe command, then (when the target is still there) the PowerShell command; true
  // as soon as the target is verified gone.
  bool RunDeletionCommands(const std::wstring& cmdCommand, const std::wstring& powerShellCommand,
                           const std::wstring& target, DWORD timeoutMs,
                           const std::wstring& action) const;
  // Runs the command line hidden and waits at most `timeoutMs`; the child's exit code, or
  // kNoChildExitCode when it did not start or had to be terminated.
  [[nodiscard]] DWORD RunHiddenCommand(const std::wstring& commandLine, DWORD timeoutMs,
                         const std::wstring& action) const;
  // Removes the parent folder of `path` when it is empty, then its parent, and so on.
  void DeleteEmptyParents(const std::wstring& path) const;
};

}  // namespace vesk::uninstall
