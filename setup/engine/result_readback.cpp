#include "setup/engine/result_readback.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/product.h"
#include "common/registry_text.h"
#include "common/unique_handle.h"
#include "setup/engine/setup_log.h"

namespace vesk {
namespace {

// Starting sizes of the listing's buffers; both grow when a value needs more, so a long name or
// text (a log path of more than 129 characters, say) is listed whole instead of ending the list.
constexpr DWORD kNameChars = 260;
constexpr DWORD kDataBytes = 260;

std::wstring DescribeValue(DWORD type, const std::vector<BYTE>& data, DWORD size) {
  if (type == REG_SZ) return TextUpToFirstNull(reinterpret_cast<const wchar_t*>(data.data()), size);
  if (type == REG_DWORD && size >= sizeof(DWORD)) {
    DWORD number = 0;
    memcpy(&number, data.data(), sizeof(number));
    return std::to_wstring(number);
  }
  return L"Unsupported type";
}

// Lists the values of the key by index, each as one line.
void LogAllValues(HKEY key) {
  std::vector<wchar_t> name(kNameChars);
  std::vector<BYTE> data(kDataBytes);
  for (DWORD index = 0;;) {
    DWORD nameChars = static_cast<DWORD>(name.size());
    DWORD dataBytes = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    LONG status = RegEnumValueW(key, index, name.data(), &nameChars, nullptr, &type, data.data(),
                                &dataBytes);
    if (status == ERROR_MORE_DATA) {
      // Ask for the sizes this value needs and list the same index again.
      DWORD longestName = 0;
      DWORD longestData = 0;
      if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                           &longestName, &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        return;
      }
      if (longestName + 1 <= name.size() && longestData <= data.size()) return;  // no progress
      if (longestName + 1 > name.size()) name.resize(longestName + 1);
      if (longestData > data.size()) data.resize(longestData);
      continue;
    }
    if (status != ERROR_SUCCESS) return;
    WriteLog(std::wstring(name.data(), nameChars) + L": " + DescribeValue(type, data, dataBytes));
    ++index;
  }
}

// Logs "<name>: <number>" when the value is present.
void LogNumberValue(HKEY key, const wchar_t* name) {
  DWORD number = 0;
  DWORD size = sizeof(number);
  if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size) ==
      ERROR_SUCCESS) {
    WriteLog(std::wstring(name) + L": " + std::to_wstring(number));
  }
}

// Logs "<name>: <text>" when the value is present, however long it is.
void LogTextValue(HKEY key, const wchar_t* name) {
  std::wstring text;
  if (ReadWholeRegistryText(key, name, text) == ERROR_SUCCESS) {
    WriteLog(std::wstring(name) + L": " + text);
  }
}

}  // namespace

void logRegistryValue() {
  WriteLog(L"========== logRegistryValue start ==========");
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductKey, 0, KEY_READ, key.put()) == ERROR_SUCCESS) {
    WriteLog(L"RegOpenKeyEx success");
    LogAllValues(key.get());
    LogNumberValue(key.get(), kInstallerErrorValue);
    LogNumberValue(key.get(), kInstallerResultValue);
    LogTextValue(key.get(), kInstallerResultTextValue);
    LogTextValue(key.get(), kLogPathValue);
  }
  WriteLog(L"logRegistryValue end");
}

}  // namespace vesk
