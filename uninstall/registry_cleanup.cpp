#include "uninstall/registry_cleanup.h"

#include "common/registry_text.h"
#include "common/unique_handle.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

std::wstring ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& name) {
  UniqueRegKey opened;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) {
    LogError(L"Failed to open registry key: " + key);
    return std::wstring();
  }
  std::wstring text;
  LONG result = ReadBoundedRegistryText(opened.get(), name.c_str(), kRegistryTextChars, text);
  // Data that fills the whole buffer without a null character is 260 characters or more: too
  // long as well.
  if (result == ERROR_SUCCESS && text.size() >= kRegistryTextChars) result = ERROR_MORE_DATA;
  if (result != ERROR_SUCCESS) {
    if (result == ERROR_FILE_NOT_FOUND) {
      LogError(L"Registry value not found: " + name);
    } else if (result == ERROR_MORE_DATA) {
      LogError(L"Registry value is too long: " + name);
    } else {
      LogError(L"Failed to query registry value: " + name);
    }
    return std::wstring();
  }
  opened.reset();
  LogInfo(L"Found pv value in registry: " + text);
  return text;
}

RemovalDecision ShouldRemoveProductData() {
  UniqueRegKey entry;
  LSTATUS opened = RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallEntryKey, 0, KEY_READ, entry.put());
  if (opened != ERROR_SUCCESS) {
    LogError(std::wstring(L"Failed to open registry key: ") + kUninstallEntryKey);
    return opened == ERROR_FILE_NOT_FOUND ? RemovalDecision::kRemove : RemovalDecision::kUnreadable;
  }
  std::wstring command;
  LSTATUS read = ReadWholeRegistryText(entry.get(), kUninstallStringValue, command);
  if (read == ERROR_FILE_NOT_FOUND) {
    LogError(std::wstring(L"Registry value not found: ") + kUninstallStringValue);
    return RemovalDecision::kRemove;
  }
  if (read != ERROR_SUCCESS) {
    LogError(std::wstring(L"Failed to query registry value: ") + kUninstallStringValue);
    return RemovalDecision::kUnreadable;
  }
  LogInfo(L"Found pv value in registry: " + command);
  return command.empty() ? RemovalDecision::kRemove : RemovalDecision::kKeep;
}

bool DeleteProductRegistryKeys() {
  LogInfo(L"Deleting Vesk registry entries...");
  if (!DeleteRegistryTree(HKEY_CURRENT_USER, kUrlProtocolKey)) return false;
  return DeleteRegistryTree(HKEY_CURRENT_USER, kMakerKey);
}

bool DeleteRegistryTree(HKEY root, const std::wstring& key) {
  LONG result = RegDeleteTreeW(root, key.c_str());
  if (result == ERROR_SUCCESS) {
    LogInfo(L"Successfully deleted registry key: " + key);
    return true;
  }
  if (result == ERROR_FILE_NOT_FOUND) {
    LogWarning(L"Registry key not found: " + key);
    return false;
  }
  LogError(L"Failed to delete registry key: " + key + L", error code: " +
           std::to_wstring(static_cast<long>(result)));
  return false;
}

}  // namespace vesk::uninstall
