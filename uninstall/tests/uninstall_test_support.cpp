#include "uninstall/tests/uninstall_test_support.h"

#include <shlobj.h>

#include <algorithm>
#include <cwctype>

#include "common/module_path.h"
#include "common/process_list.h"

namespace vesk::uninstall::testing {

namespace {

constexpr size_t kTimestampLength = 20;  // "YYYY-MM-DD hh:mm:ss "
constexpr wchar_t kSessionManagerKey[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
constexpr wchar_t kPendingValue[] = L"PendingFileRenameOperations";

std::wstring WithoutNtPrefix(const std::wstring& path) {
  return path.rfind(L"\\??\\", 0) == 0 ? path.substr(4) : path;
}

std::wstring Lowered(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

// Collapses doubled separators so that "C:\Temp\\x" and "C:\Temp\x" compare equal.
std::wstring Normalized(const std::wstring& path) {
  std::wstring result;
  for (wchar_t c : WithoutNtPrefix(path)) {
    if (c == L'\\' && !result.empty() && result.back() == L'\\') continue;
    result += c;
  }
  return Lowered(result);
}

std::vector<std::wstring> ReadPendingOperations() {
  vesk::testing::RegistryValue value =
      vesk::testing::ReadRegistryValue(HKEY_LOCAL_MACHINE, kSessionManagerKey, kPendingValue);
  std::vector<std::wstring> strings;
  if (!value.exists) return strings;
  const wchar_t* text = reinterpret_cast<const wchar_t*>(value.data.data());
  size_t count = value.data.size() / sizeof(wchar_t);
  std::wstring current;
  for (size_t i = 0; i < count; ++i) {
    if (text[i] == L'\0') {
      strings.push_back(current);
      current.clear();
    } else {
      current += text[i];
    }
  }
  // A multi-string ends with an extra null: drop the empty string it produces at the very end
  // only when the pairs are uneven.
  if (strings.size() % 2 == 1 && !strings.empty() && strings.back().empty()) strings.pop_back();
  return strings;
}

}  // namespace

LogCapture::LogCapture()
    : LogFileCapture(
          L"vesk_uninstall.log", kTimestampLength,
          [](const std::wstring&, const std::wstring& path) {
            UninstallLog::Instance().SetFileOutput(true, path);
          },
          [] { UninstallLog::Instance().SetFileOutput(false); }) {}

std::string N(const std::wstring& text) { return vesk::testing::Narrow(text); }

std::vector<std::wstring> PendingRebootDeletions() {
  std::vector<std::wstring> operations = ReadPendingOperations();
  std::vector<std::wstring> deletions;
  for (size_t i = 0; i + 1 < operations.size(); i += 2) {
    if (operations[i + 1].empty()) deletions.push_back(WithoutNtPrefix(operations[i]));
  }
  return deletions;
}

bool IsPendingRebootDeletion(const std::wstring& path) {
  std::wstring wanted = Normalized(path);
  for (const std::wstring& deletion : PendingRebootDeletions()) {
    if (Normalized(deletion) == wanted) return true;
  }
  return false;
}

void ForgetPendingRebootOperations(const std::wstring& prefix) {
  std::vector<std::wstring> operations = ReadPendingOperations();
  std::wstring wanted = Normalized(prefix);
  std::wstring kept;
  bool changed = false;
  for (size_t i = 0; i + 1 < operations.size(); i += 2) {
    if (Normalized(operations[i]).rfind(wanted, 0) == 0) {
      changed = true;
      continue;
    }
    kept += operations[i];
    kept += L'\0';
    kept += operations[i + 1];
    kept += L'\0';
  }
  if (!changed) return;
  UniqueRegKey key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManagerKey, 0, KEY_SET_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    return;
  }
  if (kept.empty()) {
    RegDeleteValueW(key.get(), kPendingValue);
    return;
  }
  kept += L'\0';
  RegSetValueExW(key.get(), kPendingValue, 0, REG_MULTI_SZ,
                 reinterpret_cast<const BYTE*>(kept.data()),
                 static_cast<DWORD>(kept.size() * sizeof(wchar_t)));
}

int CountProcesses(const std::wstring& name) {
  return static_cast<int>(FindProcessesByName(name, NameMatch::kExact).ids.size());
}

bool WaitUntilNoProcess(const std::wstring& name, DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (CountProcesses(name) > 0) {
    if (GetTickCount64() > deadline) return false;
    Sleep(50);
  }
  return true;
}

}  // namespace vesk::uninstall::testing

namespace vesk::uninstall::testing {

void MakeTree(const std::wstring& root, const std::vector<std::wstring>& paths) {
  for (const std::wstring& relative : paths) {
    std::wstring path = root + L"\\" + relative;
    if (!relative.empty() && relative.back() == L'\\') {
      path.pop_back();
      SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    } else {
      SHCreateDirectoryExW(nullptr, FolderOf(path).c_str(), nullptr);
      vesk::testing::WriteFileBytes(path, "content");
    }
  }
}

UniqueFile HoldOpen(const std::wstring& path) {
  return UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace vesk::uninstall::testing
