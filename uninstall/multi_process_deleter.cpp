#include "uninstall/multi_process_deleter.h"

#include "common/folder_tree_removal.h"
#include "common/unique_handle.h"
#include "uninstall/deletion.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

namespace {

constexpr UINT kTimedOutChildExitCode = 1;

bool TargetGone(const std::wstring& target) {
  return GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES;
}

// The path as the text of a single-quoted PowerShell string: a quote inside is doubled, so a
// folder such as "O'Brien" stays one literal path and never ends the string early.
std::wstring PowerShellQuoted(const std::wstring& path) {
  std::wstring quoted = L"'";
  for (wchar_t c : path) {
    quoted += c;
    if (c == L'\'') quoted += c;
  }
  quoted += L'\'';
  return quoted;
}

// Removes the linked folders inside a tree as links and leaves everything else for the child
// processes, whose recursive deletion could otherwise follow a link out of the tree.
class LinkedFolderRemoval : public FolderTreeRemoval {
 protected:
  bool RemoveLinkedFolder(const std::wstring& path) override {
    return RemoveLinkedFolderAsLink(path);
  }
  bool RemoveFile(const std::wstring&) override { return true; }
  bool RemoveEmptiedFolder(const std::wstring&, bool entriesRemoved) override {
    return entriesRemoved;
  }
};

bool IsLinkedFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// The program a command names by its bare first word, as a full path in the system folder:
// started by bare name, the uninstaller's own folder (which anyone who could write the
// installation can fill) would be searched first. Empty for a command that names its program
// otherwise; it is started as it stands.
std::wstring SystemProgramOf(const std::wstring& commandLine) {
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  const std::wstring folder(system, length);
  if (commandLine.compare(0, 8, L"cmd.exe ") == 0) return folder + L"\\cmd.exe";
  if (commandLine.compare(0, 15, L"powershell.exe ") != 0) return std::wstring();
  const std::wstring inPowerShellFolder =
      folder + L"\\WindowsPowerShell\\v1.0\\powershell.exe";
  if (GetFileAttributesW(inPowerShellFolder.c_str()) != INVALID_FILE_ATTRIBUTES) {
    return inPowerShellFolder;
  }
  return folder + L"\\powershell.exe";
}

}  // namespace

// /D: no AutoRun command of the registry runs first; /V:OFF: "!" in a path is never expanded.
std::wstring CmdDeleteFileCommand(const std::wstring& file) {
  return L"cmd.exe /D /V:OFF /C del /F /Q \"" + file + L"\"";
}

// -LiteralPath: brackets and wildcards in a path name that path, never other files.
std::wstring PowerShellDeleteFileCommand(const std::wstring& file) {
  return L"powershell.exe -Command \"Remove-Item -LiteralPath " + PowerShellQuoted(file) +
         L" -Force\"";
}

std::wstring CmdDeleteFolderCommand(const std::wstring& folder) {
  return L"cmd.exe /D /V:OFF /C rmdir /S /Q \"" + folder + L"\"";
}

std::wstring PowerShellDeleteFolderCommand(const std::wstring& folder) {
  return L"powershell.exe -Command \"Remove-Item -LiteralPath " + PowerShellQuoted(folder) +
         L" -Recurse -Force\"";
}

bool MultiProcessDeleter::DeleteFileMultiProcess(const std::wstring& file) const {
  bool deleted = RunDeletionCommands(CmdDeleteFileCommand(file), PowerShellDeleteFileCommand(file),
                                     file, kFileCommandTimeoutMs, L"delete file");
  if (deleted) DeleteEmptyParents(file);
  return deleted;
}

bool MultiProcessDeleter::DeleteDirectoryMultiProcess(const std::wstring& folder) const {
  // A linked folder itself is removed as a link; no child is started for it.
  if (IsLinkedFolder(folder)) return RemoveLinkedFolderAsLink(folder);
  LinkedFolderRemoval links;
  if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES && !links.Remove(folder)) {
    LogError(L"Linked folders inside could not be removed, not handed to child processes: " +
             folder);
    return false;
  }
  return RunDeletionCommands(CmdDeleteFolderCommand(folder), PowerShellDeleteFolderCommand(folder),
                             folder, kFolderCommandTimeoutMs, L"delete directory");
}

bool MultiProcessDeleter::RunDeletionCommands(const std::wstring& cmdCommand,
                                              const std::wstring& powerShellCommand,
                                              const std::wstring& target, DWORD timeoutMs,
                                              const std::wstring& action) const {
  LogInfo(L"Attempting to " + action + L" using child process: " + target);

  // cmd.exe expands "%NAME%" even inside quotes, which would point the command at another path;
  // such a path goes to PowerShell alone, which takes it literally.
  DWORD code = kNoChildExitCode;
  if (target.find(L'%') != std::wstring::npos) {
    LogWarning(L"Path holds '%', not handed to cmd.exe: " + target);
  } else {
    LogInfo(L"Executing command: " + cmdCommand);
    code = RunHiddenCommand(cmdCommand, timeoutMs, action);
  }
  if (code == 0) {
    LogInfo(L"Child process successfully " + action);
    if (TargetGone(target)) {
      LogInfo(L"Target deletion verified: " + target);
      return true;
    }
    LogWarning(L"Child process reported success but target still exists: " + target);
  } else if (code != kNoChildExitCode) {
    LogWarning(L"Child process failed with exit code: " + std::to_wstring(code));
  }

  LogInfo(L"Trying PowerShell " + action + L" method");
  LogInfo(L"Executing PowerShell command: " + powerShellCommand);
  code = RunHiddenCommand(powerShellCommand, timeoutMs, action);
  if (code == 0) {
    LogInfo(L"PowerShell process successfully " + action);
    if (TargetGone(target)) {
      LogInfo(L"Target deletion verified using PowerShell: " + target);
      return true;
    }
    LogWarning(L"PowerShell process reported success but target still exists: " + target);
  } else if (code != kNoChildExitCode) {
    LogWarning(L"PowerShell process failed with exit code: " + std::to_wstring(code));
  }

  LogError(L"All multi-process " + action + L" methods failed for: " + target);
  return false;
}

DWORD MultiProcessDeleter::RunHiddenCommand(const std::wstring& commandLine, DWORD timeoutMs,
                                            const std::wstring& action) const {
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION child = {};
  std::wstring mutableCommandLine = commandLine;
  const std::wstring program = SystemProgramOf(commandLine);
  if (!CreateProcessW(program.empty() ? nullptr : program.c_str(), &mutableCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &child)) {
    LogError(L"Failed to create child process for " + action + L", error: " +
             std::to_wstring(GetLastError()));
    return kNoChildExitCode;
  }
  UniqueKernelHandle process(child.hProcess);
  UniqueKernelHandle thread(child.hThread);
  if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_TIMEOUT) {
    DWORD exitCode = kNoChildExitCode;
    if (!GetExitCodeProcess(process.get(), &exitCode)) exitCode = kNoChildExitCode;
    return exitCode;
  }
  LogWarning(L"Child process timed out, terminating it");
  TerminateProcess(process.get(), kTimedOutChildExitCode);
  return kNoChildExitCode;
}

void MultiProcessDeleter::DeleteEmptyParents(const std::wstring& path) const {
  LogInfo(L"Attempting to delete parent directory of: " + path);
  size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) {
    LogWarning(L"No parent directory found for file: " + path);
    return;
  }
  std::wstring parent = path.substr(0, slash);
  LogInfo(L"Parent directory: " + parent);
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW((parent + L"\\*").c_str(), &data));
  if (!find) {
    LogWarning(L"Failed to search parent directory: " + parent);
    return;
  }
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    LogInfo(L"Parent directory is not empty, found: " + name);
    LogInfo(L"Parent directory is not empty, skipping deletion: " + parent);
    return;
  } while (FindNextFileW(find.get(), &data));
  find.reset();
  LogInfo(L"Parent directory is empty, attempting to delete: " + parent);
  if (RemoveDirectoryW(parent.c_str())) {
    LogInfo(L"Successfully deleted empty parent directory: " + parent);
    DeleteEmptyParents(parent);
    return;
  }
  LogWarning(L"Failed to delete parent directory: " + parent + L", error: " +
             std::to_wstring(GetLastError()));
  LogInfo(L"Trying multi-process deletion for empty parent directory");
  DeleteDirectoryMultiProcess(parent);
}

}  // namespace vesk::uninstall
