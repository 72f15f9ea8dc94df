#include "standin/support/registry_tools.h"

#include <vector>

#include "common/unique_handle.h"

namespace vesk::standin {

bool SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value) {
  DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        bytes) == ERROR_SUCCESS;
}

bool SetNumberValue(HKEY key, const wchar_t* name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof(value)) == ERROR_SUCCESS;
}

std::wstring ReadStringValue(HKEY root, const wchar_t* keyPath, const wchar_t* name) {
  UniqueRegKey key;
  if (RegOpenKeyExW(root, keyPath, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) {
    return std::wstring();
  }
  for (;;) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
      return std::wstring();
    }
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD capacity = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LSTATUS status = RegQueryValueExW(key.get(), name, nullptr, &type,
                                      reinterpret_cast<BYTE*>(buffer.data()), &capacity);
    if (status == ERROR_MORE_DATA) continue;  // the value grew meanwhile
    if (status != ERROR_SUCCESS || type != REG_SZ) return std::wstring();
    buffer.back() = L'\0';
    return std::wstring(buffer.data());
  }
}

bool DeleteKeyTree(HKEY root, const wchar_t* keyPath) {
  LSTATUS status = RegDeleteTreeW(root, keyPath);
  if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
  status = RegDeleteKeyW(root, keyPath);
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

}  // namespace vesk::standin
