#include "setup/engine/install_steps.h"

#include <shlobj.h>

#include <optional>
#include <vector>

#include "common/bounded_path.h"
#include "common/folder_tree_removal.h"
#include "common/module_path.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/exit_codes.h"
#include "setup/engine/installer_runner.h"
#include "setup/engine/location_checks.h"
#include "setup/engine/payload.h"
#include "setup/engine/registration.h"
#include "setup/engine/replacing_files.h"
#include "setup/engine/setup_log.h"

namespace vesk {
namespace {

// The files the window copies into the install folder before the installer runs, in order.
const wchar_t* const kCopiedPayload[] = {
    L"mini_installer.exe",  L"metrics_sdk.dll",     L"crashlog.dll",
    L"client_addon.dll",    L"crash_handler_a.exe", L"crash_handler_b.exe",
    L"device_tag.dll",      L"remote_switch.dll",   L"update_agent.dll",
    L"update_pub.pem",      L"VeskUninstall.exe"};

bool IsLinkedFolder(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A walk of the working folder: an entry whose path does not fit a path buffer is logged and
// stays where it is; it is never cut into another path.
class WorkingFolderWalk : public FolderTreeRemoval {
 protected:
  std::optional<std::wstring> EntryPath(const std::wstring& folder,
                                        const std::wstring& name) override {
    std::optional<std::wstring> path = JoinPath(folder, name);
    if (!path) WriteLog(L"Path too long: " + folder + L"\\" + name);
    return path;
  }
};

// Removes everything inside the working folder, leaving the folder itself: whatever an earlier
// run (or another program of the user) left there must not be copied into the install folder
// beside the installer. Linked folders are removed as links. Only failures are logged.
class WorkingFolderEmptying : public WorkingFolderWalk {
 public:
  explicit WorkingFolderEmptying(std::wstring root) : m_root(std::move(root)) {}

 protected:
  bool RemoveLinkedFolder(const std::wstring& path) override {
    return Report(RemoveDirectoryW(path.c_str()) != FALSE, path);
  }
  bool RemoveFile(const std::wstring& path) override {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return Report(DeleteFileW(path.c_str()) != FALSE || GetLastError() == ERROR_FILE_NOT_FOUND,
                  path);
  }
  bool RemoveEmptiedFolder(const std::wstring& folder, bool entriesRemoved) override {
    if (folder == m_root || !entriesRemoved) return entriesRemoved;
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return Report(RemoveDirectoryW(folder.c_str()) != FALSE, folder);
  }

 private:
  static bool Report(bool removed, const std::wstring& path) {
    if (!removed) {
      WriteLog(L"Failed to remove from the working folder: " + path + L", error: " +
               std::to_wstring(GetLastError()));
    }
    return removed;
  }

  std::wstring m_root;
};

// True when nothing is left at `path` but an empty folder (or nothing at all).
bool EmptyWorkingFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return true;
  // A link or a file in the folder's place goes itself; what a link points to is never touched.
  if (IsLinkedFolder(attributes)) return RemoveDirectoryW(path.c_str()) != FALSE;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileW(path.c_str()) != FALSE;
  }
  WorkingFolderEmptying emptying(path);
  return emptying.Remove(path);
}

// The working folder's removal, with setup's log lines.
class WorkingFolderRemoval : public WorkingFolderWalk {
 protected:
  bool ListEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
    WriteLog(L"== directoryPath : " + folder);
    std::optional<std::wstring> searchPath = JoinPath(folder, L"*");
    if (!searchPath) {
      WriteLog(L"Path too long: " + folder + L"\\*");
      return true;
    }
    WriteLog(L"== searchPath: " + *searchPath);
    ListFolderEntries(folder, entries);
    return true;
  }

  bool RemoveLinkedFolder(const std::wstring& path) override {
    if (RemoveDirectoryW(path.c_str())) return true;
    WriteLog(L"RemoveDirectory failed for linked folder: " + path + L", error: " +
             std::to_wstring(GetLastError()));
    return false;
  }

  bool RemoveFile(const std::wstring& path) override {
    if (DeleteFileW(path.c_str())) return true;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return true;
    WriteLog(L"DeleteFile failed: " + path + L", error: " + std::to_wstring(error));
    return false;
  }

  // Whatever happened to the entries, the answer is whether the folder itself is gone.
  bool RemoveEmptiedFolder(const std::wstring& folder, bool) override {
    WriteLog(L"DeleteAllFilesInDirectory end");
    SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    return RemoveDirectoryW(folder.c_str()) != FALSE;
  }
};

}  // namespace

std::wstring GetWorkingFolder() {
  std::optional<std::wstring> folder = BuildPath({FolderOf(GetModulePath()), L"\\.VeskSetupTemp"});
  return folder ? *folder : std::wstring();
}

bool PrepareWorkingFolder(const std::wstring& path) {
  if (!EmptyWorkingFolder(path)) {
    WriteLog(L"Working folder cannot be emptied, nothing is extracted: " + path);
    return false;
  }
  if (RemoveDirectoryW(path.c_str())) {
    WriteLog(L"dirPath already exists, remove it: " + path);
  } else {
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      WriteLog(L"Failed to remove dirPath: " + path + L", error code: " + std::to_wstring(error));
    }
  }
  if (!CreateDirectoryW(path.c_str(), nullptr)) {
    WriteLog(L"Failed to create dirPath: " + path);
    return true;
  }
  WriteLog(L"dirPath created: " + path);
  if (SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN)) {
    WriteLog(L"dirPath set to hidden: " + path);
  } else {
    WriteLog(L"Failed to set dirPath to hidden: " + path);
  }
  return true;
}

bool DeleteAllFilesInDirectory(const std::wstring& directoryPath) {
  WorkingFolderRemoval removal;
  return removal.Remove(directoryPath);
}

void RemoveWorkingFolder(const std::wstring& workingFolder) {
  HeldPayload().ReleaseAll();
  DeleteAllFilesInDirectory(workingFolder);
}

std::wstring ReadFirstLine(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::wstring line;
  if (!file) return line;
  char buffer[512];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    for (DWORD i = 0; i < read; ++i) {
      if (buffer[i] == '\n') {
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        return line;
      }
      line += static_cast<wchar_t>(static_cast<unsigned char>(buffer[i]));
    }
  }
  // A last line without a line end; a CR alone at the end of the file is not a line end.
  return line;
}

void RecordProductVersion(const std::wstring& workingFolder) {
  std::wstring version;
  if (std::optional<std::wstring> versionFile = JoinPath(workingFolder, L"version.txt")) {
    version = ReadFirstLine(*versionFile);
  }
  WriteLog(L"version.txt: " + version);
  SetProductVersion(version);
}

bool CreateInstallFolder(const std::wstring& installFolder) {
  const int created = shell::CreateDirectoryEx(nullptr, installFolder.c_str(), nullptr);
  if (created == ERROR_SUCCESS) {
    WriteLog(L"Successfully created install directory " + installFolder);
    return true;
  }
  if (created == ERROR_ALREADY_EXISTS) {
    WriteLog(L"Install directory already exists");
    return true;
  }
  WriteLog(L"Failed to create install directory");
  return false;
}

void CopyPayloadFile(const std::wstring& fileName, const std::wstring& sourceFolder,
                     const std::wstring& targetFolder) {
  std::optional<std::wstring> source = JoinPath(sourceFolder, fileName);
  std::optional<std::wstring> target = JoinPath(targetFolder, fileName);
  if (source && target && CopyReplacing(*source, *target)) {
    WriteLog(fileName + L" copied successfully.");
  } else {
    if (!source || !target) WriteLog(L"Path too long: " + targetFolder + L"\\" + fileName);
    WriteLog(L"Failed to copy " + fileName + L".");
  }
}

bool CopyInstaller(const std::wstring& workingFolder, const std::wstring& installFolder) {
  std::optional<std::wstring> source = JoinPath(workingFolder, L"mini_installer.exe");
  std::optional<std::wstring> target = JoinPath(installFolder, L"mini_installer.exe");
  DWORD error = ERROR_SUCCESS;
  if (!source || !target) {
    WriteLog(L"Path too long: " + (source ? installFolder : workingFolder) +
             L"\\mini_installer.exe");
    error = ERROR_FILENAME_EXCED_RANGE;
  } else if (!CopyReplacing(*source, *target)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    WriteLog(L"Failed to copy mini_installer.exe, error code: " + std::to_wstring(error));
    return false;
  }
  WriteLog(L"mini_installer.exe copied successfully.");
  return true;
}

bool UseAdministratorMode(bool hasRegistryPath, const std::wstring& installFolder) {
  const bool elevated = hasRegistryPath && !HasInstallPermission(installFolder);
  WriteLog(elevated ? L"useAdministratorMode true" : L"useAdministratorMode false");
  return elevated;
}

bool PrepareInteractiveInstall(const InteractiveInstall& install) {
  OpenLogFile(install.installFolder);
  if (!CreateInstallFolder(install.installFolder)) return false;
  OpenLogFile(install.installFolder);
  if (!UseAdministratorMode(install.hasRegistryPath, install.installFolder)) {
    for (const wchar_t* name : kCopiedPayload) {
      CopyPayloadFile(name, install.workingFolder, install.installFolder);
    }
  }
  if (!install.isUpdate) SetAutoStart(install.installFolder, install.isAutoStart);
  return true;
}

int RunInteractiveInstall(const InteractiveInstall& install) {
  const bool admin = UseAdministratorMode(install.hasRegistryPath, install.installFolder);
  InstallerRunner runner(install.window, admin, install.workingFolder);
  // A changed installer stops the install before anything is registered or started.
  if (!runner.InstallerMatchesRecord(install.installFolder)) {
    WriteLog(L"Install failed");
    return kPayloadDigestMismatch;
  }
  RegisterInstallPath(install.installFolder);
  RegisterUrlProtocol(install.installFolder);
  const int result = runner.LaunchMiniInstaller(install.installFolder, true);
  WriteLog(L"StartInstallation result: " + std::to_wstring(result));
  if (result == 0) {
    WriteLog(L"InstallThreadProc Install success");
    RecordProductVersion(install.workingFolder);
  } else {
    WriteLog(L"Install failed");
  }
  return result;
}  // the runner waits here for its monitor threads, before the caller sees the result

}  // namespace vesk
