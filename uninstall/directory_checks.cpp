#include "uninstall/directory_checks.h"

#include <windows.h>

#include <vector>

#include "common/folder_entries.h"
#include "common/module_path.h"
#include "common/product.h"
#include "common/unique_handle.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

namespace {

// Installation folder: exactly "uninstall" and one other folder, no file. Fills `otherFolder`.
bool CheckInstallationRoot(const std::wstring& installPath, std::wstring& otherFolder) {
  std::vector<FolderEntry> entries;
  if (!ListFolderEntries(installPath, entries)) {
    LogError(L"Failed to find files in installation directory: " + installPath);
    return false;
  }
  int folders = 0;
  bool uninstallFound = false;
  for (const FolderEntry& entry : entries) {
    if (!entry.isFolder) {
      LogInfo(L"Found file in root directory, terminating check early: " + entry.name);
      return false;
    }
    if (++folders > 2) {
      LogInfo(L"Found more than 2 folders, terminating check early");
      return false;
    }
    if (entry.name == kUninstallFolderName) {
      uninstallFound = true;
      LogInfo(L"Found uninstall folder: " + entry.name);
    } else {
      otherFolder = entry.name;
      LogInfo(L"Found other folder: " + entry.name);
    }
  }
  LogInfo(L"Total folders found: " + std::to_wstring(folders));
  LogInfo(L"Total files found: 0 (any files would have caused early termination)");
  if (folders != 2) {
    LogInfo(L"Expected exactly 2 folders, but found " + std::to_wstring(folders) + L" folders");
    return false;
  }
  if (!uninstallFound) {
    LogInfo(L"Uninstall folder not found");
    return false;
  }
  if (otherFolder.empty()) {
    LogInfo(L"No other folder found besides uninstall folder");
    return false;
  }
  return true;
}

// The other folder holds exactly one entry: the folder "Installer".
bool CheckVersionFolder(const std::wstring& otherPath, const std::wstring& otherName) {
  std::vector<FolderEntry> entries;
  if (!ListFolderEntries(otherPath, entries)) {
    LogError(L"Failed to find files in other folder: " + otherPath);
    return false;
  }
  int items = 0;
  bool installerFound = false;
  for (const FolderEntry& entry : entries) {
    if (++items > 1) {
      LogInfo(L"Found more than 1 item in " + otherName + L", terminating check early");
      return false;
    }
    if (!entry.isFolder) {
      LogInfo(L"Found file in " + otherName + L": " + entry.name);
      return false;
    }
    if (entry.name != kInstallerFolderName) {
      LogInfo(L"Found unexpected folder in " + otherName + L": " + entry.name);
      return false;
    }
    installerFound = true;
    LogInfo(L"Found Installer folder in " + otherName);
  }
  if (items == 1 && installerFound) return true;
  if (items == 1) {
    LogInfo(L"Installer folder not found in " + otherName);
  } else {
    LogInfo(L"Expected exactly 1 item in " + otherName + L", but found " +
            std::to_wstring(items) + L" items");
  }
  return false;
}

// The "Installer" folder holds exactly one entry: the file "setup.exe".
bool CheckInstallerFolder(const std::wstring& installerPath) {
  std::vector<FolderEntry> entries;
  if (!ListFolderEntries(installerPath, entries)) {
    LogError(L"Failed to find files in Installer folder: " + installerPath);
    return false;
  }
  int items = 0;
  bool setupFound = false;
  for (const FolderEntry& entry : entries) {
    if (++items > 1) {
      LogInfo(L"Found more than 1 item in Installer folder, terminating check early");
      return false;
    }
    if (entry.isFolder) {
      LogInfo(L"Found unexpected folder in Installer folder: " + entry.name);
      return false;
    }
    if (entry.name != kChromiumSetupExeName) {
      LogInfo(L"Found unexpected file in Installer folder: " + entry.name);
      return false;
    }
    setupFound = true;
    LogInfo(L"Found setup.exe in Installer folder");
  }
  if (items == 1 && setupFound) return true;
  if (items == 1) {
    LogInfo(L"setup.exe not found in Installer folder");
  } else {
    LogInfo(L"Expected exactly 1 item in Installer folder, but found " + std::to_wstring(items) +
            L" items");
  }
  return false;
}

// The path without its last component; empty when it has no backslash.
std::wstring WithoutLastComponent(const std::wstring& path) {
  size_t slash = path.rfind(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace

bool IsMinimalInstallState(const std::wstring& installPath) {
  LogInfo(L"Checking installation directory status to determine if cleanup is needed");
  if (installPath.empty()) {
    LogError(L"Installation path is empty, cannot check directory status");
    return false;
  }
  std::wstring otherName;
  if (!CheckInstallationRoot(installPath, otherName)) return false;
  std::wstring otherPath = installPath + L"\\" + otherName;
  if (!CheckVersionFolder(otherPath, otherName)) return false;
  if (!CheckInstallerFolder(otherPath + L"\\" + kInstallerFolderName)) return false;
  LogInfo(L"All conditions met:");
  LogInfo(L"  - Installation directory has exactly 2 folders: uninstall and " + otherName);
  LogInfo(L"  - " + otherName + L" folder contains only Installer folder");
  LogInfo(L"  - Installer folder contains only setup.exe");
  LogInfo(L"Installation directory is in minimal state, safe to cleanup");
  return true;
}

bool FinalDirectoryCheck(const MultiProcessDeleter& deleter) {
  LogInfo(L"Performing final directory check before exit...");
  std::wstring programPath = GetModulePath();
  if (programPath.empty()) {
    LogError(L"Failed to get current executable path for final directory check");
    return false;
  }
  return FinalDirectoryCheckFor(programPath, deleter);
}

bool FinalDirectoryCheckFor(const std::wstring& programPath, const MultiProcessDeleter& deleter) {
  std::wstring folder = WithoutLastComponent(WithoutLastComponent(programPath));
  LogInfo(L"Checking installation directory: " + folder);
  if (RemoveLoneUninstallFolder(folder, deleter)) {
    LogInfo(L"Final directory check completed successfully");
    return true;
  }
  LogWarning(L"Final directory check failed");
  return false;
}

bool RemoveLoneUninstallFolder(const std::wstring& folder, const MultiProcessDeleter& deleter) {
  LogInfo(L"Checking if current directory only contains uninstall folder: " + folder);
  if (folder.empty()) {
    LogError(L"Current path is empty");
    return false;
  }
  std::vector<FolderEntry> entries;
  if (!ListFolderEntries(folder, entries)) {
    LogError(L"Failed to find files in current directory: " + folder);
    return false;
  }
  int folders = 0;
  std::wstring uninstallPath;
  for (const FolderEntry& entry : entries) {
    if (!entry.isFolder) {
      LogInfo(L"Found file in current directory: " + entry.name + L", not only uninstall folder");
      return true;
    }
    if (++folders > 1) {
      LogInfo(L"Found more than 1 folder, current directory is not only uninstall folder");
      return true;
    }
    if (entry.name != kUninstallFolderName) {
      LogInfo(L"Found other folder: " + entry.name + L", not only uninstall folder");
      return true;
    }
    uninstallPath = folder + L"\\" + entry.name;
    LogInfo(L"Found uninstall folder: " + uninstallPath);
  }
  LogInfo(L"Total folders found: " + std::to_wstring(folders));
  LogInfo(L"Total files found: 0");
  if (folders != 1 || uninstallPath.empty()) {
    LogInfo(L"Current directory does not only contain uninstall folder, no deletion needed");
    return true;
  }
  LogInfo(L"Current directory only contains uninstall folder, attempting to delete it");
  if (deleter.DeleteDirectoryMultiProcess(uninstallPath)) {
    LogInfo(L"Successfully deleted uninstall folder using multi-process deletion");
    return true;
  }
  LogError(L"Failed to delete uninstall folder using multi-process deletion");
  return false;
}

}  // namespace vesk::uninstall
