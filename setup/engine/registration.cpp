#include "setup/engine/registration.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>

#include "common/bounded_path.h"
#include "common/product.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/location_checks.h"
#include "setup/engine/setup_log.h"

namespace vesk {
namespace {

// Creates the key when it is missing and opens it for writing.
UniqueRegKey CreateKeyForWriting(const wchar_t* path) {
  UniqueRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                      nullptr, key.put(), nullptr) != ERROR_SUCCESS) {
    key.reset();
  }
  return key;
}

// REG_SZ with its terminating null.
bool SetStringValue(HKEY key, const wchar_t* name, const std::wstring& text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// "<folder>\vesk.helm.exe", or empty (logged) when it does not fit a path.
std::optional<std::wstring> ApplicationPath(const std::wstring& installFolder) {
  std::optional<std::wstring> path = BuildPath({installFolder, L"\\vesk.helm.exe"});
  if (!path) WriteLog(L"Path too long: " + installFolder + L"\\vesk.helm.exe");
  return path;
}

void LogInstallPathValueResult(bool written) {
  WriteLog(written ? L"InstallPath registry value set successfully."
                   : L"Failed to set InstallPath registry value.");
}

}  // namespace

void RegisterInstallPath(const std::wstring& installFolder) {
  UniqueRegKey key = CreateKeyForWriting(kProductKey);
  if (!key) {
    WriteLog(L"Failed to create or open registry key.");
    return;
  }
  WriteLog(L"Registry key created successfully : " + installFolder);

  std::optional<std::wstring> uninstaller =
      BuildPath({installFolder, L"\\uninstall\\VeskUninstall.exe"});
  if (!uninstaller) WriteLog(L"Path too long: " + installFolder + L"\\uninstall\\VeskUninstall.exe");
  LogInstallPathValueResult(uninstaller &&
                            SetStringValue(key.get(), kUninstallStringValue, *uninstaller));
  LogInstallPathValueResult(SetStringValue(key.get(), kInstallPathValue, installFolder));
}

void SetInstallAutoLaunch(bool isAutoLaunch) {
  UniqueRegKey key = CreateKeyForWriting(kProductKey);
  if (!key) return;
  DWORD value = isAutoLaunch ? 1 : 0;
  RegSetValueExW(key.get(), kInstallAutoLaunchValue, 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

void SetProductVersion(const std::wstring& version) {
  UniqueRegKey key = CreateKeyForWriting(kProductKey);
  if (!key) return;
  SetStringValue(key.get(), kVersionValue, version);
}

void RegisterUrlProtocol(const std::wstring& installFolder) {
  UniqueRegKey protocolKey = CreateKeyForWriting(kUrlProtocolKey);
  if (!protocolKey) {
    WriteLog(L"Failed to create or open registry key for veskhelm protocol.");
    return;
  }
  WriteLog(L"Registry key for custom protocol created or opened successfully.");
  SetStringValue(protocolKey.get(), nullptr, L"veskhelm");
  // The marker value is empty: no data bytes at all, not even a null.
  static const wchar_t kNoData[] = L"";
  RegSetValueExW(protocolKey.get(), L"URL Protocol", 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(kNoData), 0);

  std::optional<std::wstring> application = ApplicationPath(installFolder);
  if (!application) return;
  UniqueRegKey commandKey;
  if (RegCreateKeyExW(protocolKey.get(), L"shell\\open\\command", 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, commandKey.put(),
                      nullptr) == ERROR_SUCCESS) {
    SetStringValue(commandKey.get(), nullptr, L"\"" + *application + L"\" \"%1\"");
  }
}

void SetAutoStart(const std::wstring& installFolder, bool enable) {
  UniqueRegKey runKey;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                    runKey.put()) != ERROR_SUCCESS) {
    return;
  }
  if (enable) {
    std::optional<std::wstring> application = ApplicationPath(installFolder);
    if (!application) return;
    std::wstring command = L"\"" + *application + L"\"  --win-auto-start";
    SetStringValue(runKey.get(), kAutoStartValue, command);
    WriteLog(L"Set autostart: " + command);
  } else {
    RegDeleteValueW(runKey.get(), kAutoStartValue);
    WriteLog(L"Remove autostart");
  }
}

void MoveUninstallPosition() {
  std::wstring installFolder = GetInstallPathFromRegistry();
  if (installFolder.empty()) {
    WriteLog(L"MoveUninstallPosition: installPath is empty");
    return;
  }
  std::optional<std::wstring> uninstallFolder = JoinPath(installFolder, L"uninstall");
  std::optional<std::wstring> source = JoinPath(installFolder, L"VeskUninstall.exe");
  std::optional<std::wstring> target =
      BuildPath({installFolder, L"\\uninstall\\VeskUninstall.exe"});
  if (!uninstallFolder || !source || !target) {
    WriteLog(L"Path too long: " + installFolder + L"\\uninstall\\VeskUninstall.exe");
    return;
  }
  if (!CreateDirectoryW(uninstallFolder->c_str(), nullptr)) {
    DWORD error = GetLastError();
    if (error != ERROR_ALREADY_EXISTS) {
      WriteLog(L"MoveUninstallPosition: CreateDirectory failed, err: " + std::to_wstring(error));
      return;
    }
  }
  if (MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING)) {
    WriteLog(L"MoveUninstallPosition: Uninstaller moved to Uninstall directory successfully");
  } else {
    WriteLog(L"MoveUninstallPosition: MoveFileEx failed, err: " + std::to_wstring(GetLastError()));
  }
}

void SetDesktopShortcutName(const std::wstring& oldName, const std::wstring& newName) {
  wchar_t desktop[MAX_PATH] = {};
  if (FAILED(shell::GetFolderPath(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT,
                              desktop))) {
    WriteLog(L"Failed to get desktop path.");
    return;
  }
  std::optional<std::wstring> oldPath = BuildPath({desktop, L"\\", oldName, L".lnk"});
  std::optional<std::wstring> newPath = BuildPath({desktop, L"\\", newName, L".lnk"});
  if (!oldPath || !newPath) {
    WriteLog(std::wstring(L"Path too long: ") + desktop + L"\\" + (oldPath ? newName : oldName) +
             L".lnk");
    return;
  }
  WriteLog(L"oldShortcutPath: " + *oldPath);
  if (GetFileAttributesW(oldPath->c_str()) == INVALID_FILE_ATTRIBUTES) {
    WriteLog(L"Old shortcut not found.");
    return;
  }
  // No replacing: a shortcut already called by the new name is the user's and stays.
  if (MoveFileW(oldPath->c_str(), newPath->c_str())) {
    shell::ChangeNotify(SHCNE_RENAMEITEM, SHCNF_PATHW, oldPath->c_str(), newPath->c_str());
    WriteLog(L"Shortcut renamed successfully.");
  } else {
    WriteLog(L"Failed to rename shortcut.");
  }
}

}  // namespace vesk
