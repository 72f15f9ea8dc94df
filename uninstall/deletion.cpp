#include "uninstall/deletion.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "common/bounded_path.h"
#include "common/folder_entries.h"
#include "common/folder_tree_removal.h"
#include "common/unique_handle.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

namespace {

constexpr int kMoveAttempts = 5;
constexpr DWORD kMovePauseStepMs = 200;
constexpr DWORD kLogFilePauseMs = 100;
constexpr int kTempNameTries = 10;

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetTempPathW(MAX_PATH, buffer);
  if (length == 0 || length >= MAX_PATH) {
    LogWarning(L"Failed to get temp path, using current directory");
    return L".";
  }
  return std::wstring(buffer, length);
}

std::wstring BaseName(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// The uninstaller's removal of a folder tree: locked files take the temporary-folder road, and a
// folder that cannot be removed now is scheduled for deletion at reboot.
class InstallationTreeRemoval : public FolderTreeRemoval {
 protected:
  bool ListEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) override {
    LogInfo(L"Recursively deleting directory: " + folder);
    if (ListFolderEntries(folder, entries)) return true;
    LogError(L"Failed to find files in directory: " + folder);
    return false;
  }

  bool RemoveLinkedFolder(const std::wstring& path) override {
    return RemoveLinkedFolderAsLink(path);
  }

  bool RemoveFile(const std::wstring& path) override {
    if (DeleteFileW(path.c_str())) {
      LogInfo(L"Successfully deleted file: " + path);
      return true;
    }
    DWORD error = GetLastError();
    if (error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) {
      LogError(L"Failed to delete file: " + path + L", error: " + std::to_wstring(error));
      return false;
    }
    LogInfo(L"File in use, moving to temp and scheduling for deletion: " + path);
    return MoveToTempAndScheduleDelete(path);
  }

  bool RemoveEmptiedFolder(const std::wstring& folder, bool entriesRemoved) override {
    if (RemoveDirectoryW(folder.c_str())) {
      LogInfo(L"Successfully deleted directory: " + folder);
      return entriesRemoved;
    }
    DWORD error = GetLastError();
    if (error != ERROR_DIR_NOT_EMPTY) {
      LogWarning(L"Failed to remove directory: " + folder + L", error: " + std::to_wstring(error));
    }
    if (MoveFileExW(folder.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
      LogInfo(L"Scheduled directory deletion on reboot: " + folder);
      return entriesRemoved;
    }
    LogError(L"Failed to schedule directory deletion on reboot: " + folder);
    return false;
  }
};

}  // namespace

bool DeleteDirectoryRecursive(const std::wstring& folder) {
  InstallationTreeRemoval removal;
  return removal.Remove(folder);
}

bool RemoveLinkedFolderAsLink(const std::wstring& path) {
  if (RemoveDirectoryW(path.c_str())) {
    LogInfo(L"Removed linked folder without entering it: " + path);
    return true;
  }
  LogError(L"Failed to remove linked folder: " + path + L", error: " +
           std::to_wstring(GetLastError()));
  return false;
}

std::wstring MakeTempDeleteName(const std::wstring& file) {
  std::wstring tempFolder = TempFolder();
  std::wstring baseName = BaseName(file);
  for (int tries = 0;;) {
    wchar_t produced[MAX_PATH];
    if (GetTempFileNameW(tempFolder.c_str(), L"vesk_del_", 0, produced) != 0) {
      if (!PathExists(produced)) {
        LogInfo(std::wstring(L"Generated temp file name: ") + produced);
        return produced;
      }
      DeleteFileW(produced);  // the call itself created it
    }
    std::wstring manual = tempFolder + L"\\vesk_del_" + std::to_wstring(GetTickCount()) + L"_" +
                          std::to_wstring(rand()) + L"_" + baseName;
    if (!FitsPathBuffer(manual)) {
      // Every later name, the fallback included, is at least as long.
      LogWarning(L"Temp file name too long: " + manual);
      return std::wstring();
    }
    if (!PathExists(manual)) {
      LogInfo(L"Generated temp file name (manual): " + manual);
      return manual;
    }
    if (++tries >= kTempNameTries) break;
  }
  std::wstring fallback =
      tempFolder + L"\\vesk_del_fallback_" + std::to_wstring(GetTickCount()) + L"_" + baseName;
  if (!FitsPathBuffer(fallback)) {
    LogWarning(L"Temp file name too long: " + fallback);
    return std::wstring();
  }
  LogInfo(L"Generated temp file name (fallback): " + fallback);
  return fallback;
}

bool MoveToTempAndScheduleDelete(const std::wstring& file) {
  LogInfo(L"Moving file to temp and scheduling deletion: " + file);
  if (DeleteFileW(file.c_str())) {
    LogInfo(L"Successfully deleted file directly: " + file);
    return true;
  }
  LogInfo(L"Cannot delete file directly, error: " + std::to_wstring(GetLastError()) +
          L", trying to move to temp");
  if (file.find(L".log") != std::wstring::npos) {
    // Only a short pause: another program may be closing the log.
    LogInfo(L"Detected log file, attempting to close any open handles");
    Sleep(kLogFilePauseMs);
  }
  std::wstring tempPath = MakeTempDeleteName(file);
  if (!tempPath.empty() && PathExists(tempPath)) {
    LogInfo(L"Temp file already exists, deleting: " + tempPath);
    if (!DeleteFileW(tempPath.c_str())) {
      LogWarning(L"Failed to delete existing temp file: " + tempPath + L", error: " +
                 std::to_wstring(GetLastError()));
      tempPath = MakeTempDeleteName(file);
    }
  }
  bool moved = false;
  if (tempPath.empty()) {
    LogError(L"No temp file name fits, not moving file: " + file);
  } else {
    for (int attempt = 0; attempt < kMoveAttempts; ++attempt) {
      if (attempt > 0) {
        LogInfo(L"Retry attempt " + std::to_wstring(attempt) + L" to move file: " + file);
        Sleep(static_cast<DWORD>(attempt) * kMovePauseStepMs);
      }
      if (MoveFileW(file.c_str(), tempPath.c_str())) {
        moved = true;
        break;
      }
      DWORD error = GetLastError();
      LogWarning(L"Attempt " + std::to_wstring(attempt + 1) + L" failed to move file: " + file +
                 L" -> " + tempPath + L", error: " + std::to_wstring(error));
      if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) break;
    }
  }
  if (!moved) {
    if (!tempPath.empty()) {
      LogError(L"Failed to move file to temp after all retries: " + file + L" -> " + tempPath);
    }
    if (MoveFileExW(file.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
      LogInfo(L"Scheduled original file deletion on reboot: " + file);
      return true;
    }
    LogError(L"Failed to schedule file deletion on reboot: " + file);
    return false;
  }
  LogInfo(L"Successfully moved file to temp: " + tempPath);
  if (MoveFileExW(tempPath.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    LogInfo(L"Scheduled temp file deletion on reboot: " + tempPath);
  } else {
    LogError(L"Failed to schedule temp file deletion on reboot: " + tempPath);
  }
  return true;
}

bool ScheduleDeleteOnReboot(const std::wstring& path) {
  LogInfo(L"Scheduling for deletion on reboot: " + path);
  if (MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT)) {
    LogInfo(L"Successfully scheduled for deletion on reboot: " + path);
    return true;
  }
  LogError(L"Failed to schedule for deletion on reboot: " + path + L", error: " +
           std::to_wstring(GetLastError()));
  return false;
}

}  // namespace vesk::uninstall
