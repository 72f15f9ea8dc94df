#include "setup/engine/location_checks.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <optional>
#include <vector>

#include "common/bounded_path.h"
#include "common/product.h"
#include "common/registry_text.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/setup_log.h"

namespace vesk {

Seam<decltype(&::GetDiskFreeSpaceExW)> g_getDiskFreeSpace{&::GetDiskFreeSpaceExW};

std::wstring GetInstallPathFromRegistry() {
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) {
    return std::wstring();
  }
  // Room for a whole path and its terminating null; a longer value reads as missing, and so does
  // a value that fills the whole buffer without a null, since it does not fit a path.
  std::wstring path;
  if (ReadBoundedRegistryText(key.get(), kInstallPathValue, kPathBufferChars, path) !=
          ERROR_SUCCESS ||
      !FitsPathBuffer(path)) {
    return std::wstring();
  }
  return path;
}

std::wstring GetDefaultInstallPath() {
  wchar_t localAppData[MAX_PATH] = {};
  if (FAILED(shell::GetFolderPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT,
                              localAppData))) {
    return std::wstring();
  }
  std::optional<std::wstring> path = BuildPath({localAppData, L"\\vesk.helm\\Application"});
  if (!path) {
    WriteLog(std::wstring(L"Path too long: ") + localAppData + L"\\vesk.helm\\Application");
    return std::wstring();
  }
  return *path;
}

bool HasInstallPermission(const std::wstring& folder) {
  int created = shell::CreateDirectoryEx(nullptr, folder.c_str(), nullptr);
  if (created == ERROR_SUCCESS) {
    WriteLog(L"HasInstallPermission OK path: " + folder);
    if (!RemoveDirectoryW(folder.c_str())) {
      WriteLog(L"Failed to remove check directory, error code: " + std::to_wstring(GetLastError()));
      return false;
    }
    WriteLog(L"Successfully removed check directory: " + folder);
    return true;
  }
  if (created == ERROR_ALREADY_EXISTS) {
    WriteLog(L"check Install directory already exists");
    std::wstring probeName =
        L"checkDir_" + std::to_wstring(static_cast<int>(GetTickCount()));
    std::optional<std::wstring> probe = JoinPath(folder, probeName);
    if (!probe) {
      WriteLog(L"Path too long: " + folder + L"\\" + probeName);
      WriteLog(L"Failed to create sub directory: " + folder + L"\\" + probeName);
      return false;
    }
    if (!CreateDirectoryW(probe->c_str(), nullptr)) {
      WriteLog(L"Failed to create sub directory: " + *probe);
      return false;
    }
    WriteLog(L"Successfully created sub directory: " + *probe);
    if (!RemoveDirectoryW(probe->c_str())) {
      WriteLog(L"Failed to remove sub directory, error code: " + std::to_wstring(GetLastError()));
      return false;
    }
    WriteLog(L"Successfully removed sub directory: " + *probe);
    return true;
  }
  WriteLog(L"Failed check install directory");
  return false;
}

bool checkDiskSpace(const std::wstring& folder) {
  WriteLog(L"checkDiskSpace path: " + folder);
  if (folder.empty()) {
    WriteLog(L"path is empty.");
    return false;
  }
  // The root is taken from the whole path: a path that does not fit the buffer is not cut into
  // another one but treated as not measurable.
  if (!FitsPathBuffer(folder)) {
    WriteLog(L"Path too long: " + folder);
    return false;
  }
  wchar_t root[kPathBufferChars] = {};
  folder.copy(root, folder.size());
  if (!shell::PathStripToRoot(root)) {
    WriteLog(L"Failed to strip to root.");
    return false;
  }
  ULARGE_INTEGER freeBytesAvailable = {};
  ULARGE_INTEGER totalBytes = {};
  ULARGE_INTEGER totalFreeBytes = {};
  if (!g_getDiskFreeSpace(root, &freeBytesAvailable, &totalBytes, &totalFreeBytes)) return false;
  WriteLog(L"freeBytesAvailable: " + std::to_wstring(freeBytesAvailable.QuadPart));
  return freeBytesAvailable.QuadPart < kRequiredFreeBytes;
}

}  // namespace vesk
