#include "setup/engine/quiet_install.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <vector>

#include "common/bounded_path.h"
#include "common/folder_tree_removal.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/exit_codes.h"
#include "setup/engine/installer_runner.h"
#include "setup/engine/location_checks.h"
#include "setup/engine/process_control.h"
#include "setup/engine/registration.h"
#include "setup/engine/result_readback.h"
#include "setup/engine/setup_log.h"

namespace vesk {
namespace {

// Creates the install folder with its parents; false (after its log line) when that fails.
bool CreateInstallFolder(const std::wstring& installFolder) {
  int created = shell::CreateDirectoryEx(nullptr, installFolder.c_str(), nullptr);
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

// Copies the working folder's installer into the install folder, overwriting.
bool CopyInstaller(const std::optional<std::wstring>& source,
                   const std::optional<std::wstring>& target, const std::wstring& workingFolder,
                   const std::wstring& installFolder) {
  DWORD error = ERROR_SUCCESS;
  if (!source || !target) {
    WriteLog(L"Path too long: " + (source ? installFolder : workingFolder) +
             L"\\mini_installer.exe");
    error = ERROR_FILENAME_EXCED_RANGE;
  } else if (!CopyFileW(source->c_str(), target->c_str(), FALSE)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    WriteLog(L"Failed to copy mini_installer.exe, error code: " + std::to_wstring(error));
    return false;
  }
  WriteLog(L"mini_installer.exe copied successfully.");
  return true;
}

}  // namespace

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

void WaitForInstallerToFinish(unsigned long limitMs) {
  unsigned long waitedMs = 0;
  while (IsProcessRunning(kInstallerExeName)) {
    if (waitedMs >= limitMs) {
      WriteLog(L"mini_installer.exe is timeout!!!");
      break;
    }
    Sleep(1000);
    waitedMs += 1000;
  }
}

int QuietInstall(const std::wstring& workingFolder, bool isAutoLaunch, bool isKill) {
  InstallerRunner runner(nullptr, false, workingFolder);

  std::wstring installFolder = GetInstallPathFromRegistry();
  WriteLog(L"GetInstallPathFromRegistry path: " + installFolder);
  if (installFolder.empty()) installFolder = GetDefaultInstallPath();

  if (isKill) {
    WriteLog(L"isKill = true, killTargetApp");
    killTargetApp(installFolder);
  }

  std::optional<std::wstring> source = JoinPath(workingFolder, L"mini_installer.exe");
  std::optional<std::wstring> target = JoinPath(installFolder, L"mini_installer.exe");

  if (!CreateInstallFolder(installFolder)) return kInstallFolderNotCreated;
  OpenLogFile(installFolder);
  if (!CopyInstaller(source, target, workingFolder, installFolder)) return kInstallerNotCopied;

  RegisterInstallPath(installFolder);
  SetInstallAutoLaunch(isAutoLaunch);

  std::wstring version;
  if (std::optional<std::wstring> versionFile = JoinPath(workingFolder, L"version.txt")) {
    version = ReadFirstLine(*versionFile);
  }
  WriteLog(L"version.txt: " + version);
  SetProductVersion(version);

  RegisterUrlProtocol(installFolder);

  int result = runner.LaunchMiniInstaller(installFolder, false);
  WriteLog(L"StartInstallation result: " + std::to_wstring(result));

  WaitForInstallerToFinish(kInstallerLingerLimitMs);
  WriteLog(L"mini_installer.exe is completed!!!");
  WriteLog(result != kSetupSuccess ? L"QuietInstall failed" : L"QuietInstall success");

  DeleteAllFilesInDirectory(workingFolder);
  logRegistryValue();
  SetDesktopShortcutName(L"vesk.helm", L"vesk");

  WriteLog(L"QuietInstall result: " + std::to_wstring(result));
  return result;
}

namespace {

// The working folder's removal, with setup's log lines. Entries whose path does not fit stay.
class WorkingFolderRemoval : public FolderTreeRemoval {
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

  std::optional<std::wstring> EntryPath(const std::wstring& folder,
                                        const std::wstring& name) override {
    std::optional<std::wstring> path = JoinPath(folder, name);
    // Never cut into another path: an entry whose path does not fit stays where it is.
    if (!path) WriteLog(L"Path too long: " + folder + L"\\" + name);
    return path;
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

bool DeleteAllFilesInDirectory(const std::wstring& directoryPath) {
  WorkingFolderRemoval removal;
  return removal.Remove(directoryPath);
}

}  // namespace vesk
