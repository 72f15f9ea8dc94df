#include "setup/engine/quiet_install.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "common/bounded_path.h"
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
  int created = SHCreateDirectoryExW(nullptr, installFolder.c_str(), nullptr);
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

bool DeleteAllFilesInDirectory(const std::wstring& directoryPath) {
  WriteLog(L"== directoryPath : " + directoryPath);
  std::optional<std::wstring> searchPath = JoinPath(directoryPath, L"*");
  if (!searchPath) {
    WriteLog(L"Path too long: " + directoryPath + L"\\*");
  } else {
    WriteLog(L"== searchPath: " + *searchPath);
    WIN32_FIND_DATAW entry;
    UniqueFind find(FindFirstFileW(searchPath->c_str(), &entry));
    if (find) {
      do {
        std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        std::optional<std::wstring> path = JoinPath(directoryPath, name);
        if (!path) {
          // Never cut into another path: an entry whose path does not fit stays where it is.
          WriteLog(L"Path too long: " + directoryPath + L"\\" + name);
          continue;
        }
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
          // A linked folder is removed as a link and never entered: its target lies elsewhere.
          if (!RemoveDirectoryW(path->c_str())) {
            WriteLog(L"RemoveDirectory failed for linked folder: " + *path + L", error: " +
                     std::to_wstring(GetLastError()));
          }
        } else if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          DeleteAllFilesInDirectory(*path);
        } else if (!DeleteFileW(path->c_str())) {
          DWORD error = GetLastError();
          if (error != ERROR_FILE_NOT_FOUND) {
            WriteLog(L"DeleteFile failed: " + *path + L", error: " + std::to_wstring(error));
          }
        }
      } while (FindNextFileW(find.get(), &entry));
    }
  }
  WriteLog(L"DeleteAllFilesInDirectory end");
  SetFileAttributesW(directoryPath.c_str(), FILE_ATTRIBUTE_NORMAL);
  return RemoveDirectoryW(directoryPath.c_str()) != FALSE;
}

}  // namespace vesk
