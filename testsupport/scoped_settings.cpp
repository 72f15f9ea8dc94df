#include "testsupport/scoped_settings.h"

#include "common/unique_handle.h"

namespace vesk::testing {
namespace {

std::optional<std::wstring> ReadEnvironmentVariable(const std::wstring& name) {
  DWORD size = GetEnvironmentVariableW(name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  DWORD length = GetEnvironmentVariableW(name.c_str(), &value[0], size);
  value.resize(length);
  return value;
}

void WriteEnvironmentVariable(const std::wstring& name, const std::optional<std::wstring>& value) {
  SetEnvironmentVariableW(name.c_str(), value ? value->c_str() : nullptr);
}

constexpr wchar_t kUserShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
constexpr wchar_t kShellFolders[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr wchar_t kDesktopValue[] = L"Desktop";

void WriteDesktopValue(const std::wstring& key, DWORD type, const BYTE* data, DWORD size) {
  UniqueRegKey opened;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      opened.put(), nullptr) == ERROR_SUCCESS) {
    RegSetValueExW(opened.get(), kDesktopValue, 0, type, data, size);
  }
}

void DeleteDesktopValue(const std::wstring& key) {
  UniqueRegKey opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_SET_VALUE, opened.put()) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(opened.get(), kDesktopValue);
  }
}

}  // namespace

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::wstring name,
                                                     const std::optional<std::wstring>& value)
    : name_(std::move(name)), previous_(ReadEnvironmentVariable(name_)) {
  WriteEnvironmentVariable(name_, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
  WriteEnvironmentVariable(name_, previous_);
}

ScopedDesktopFolder::ScopedDesktopFolder() {
  const std::wstring& folder = folder_.path();
  for (const wchar_t* key : {kUserShellFolders, kShellFolders}) {
    saved_.push_back({key, ReadRegistryValue(HKEY_CURRENT_USER, key, kDesktopValue)});
    WriteDesktopValue(key, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                      static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
  }
}

ScopedDesktopFolder::~ScopedDesktopFolder() {
  for (const SavedValue& saved : saved_) {
    if (saved.value.exists) {
      WriteDesktopValue(saved.key, saved.value.type, saved.value.data.data(),
                        static_cast<DWORD>(saved.value.data.size()));
    } else {
      DeleteDesktopValue(saved.key);
    }
  }
}

}  // namespace vesk::testing
