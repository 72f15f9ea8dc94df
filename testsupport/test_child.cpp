// vesk_test_child.exe: a small program the tests start under the names of the product's programs
// ("mini_installer.exe", "vesk.helm.exe", "setup.exe", the uninstaller's elevated restart) where
// they need a process of a given name that runs, records itself or ends as told. It never shows
// a window.
//   vesk_test_child.exe ... --sleep <ms>    waits, then exits with 0
// Otherwise it follows these environment variables (the product's programs are started without
// arguments of the test's choosing), in this order:
//   VESK_TEST_CHILD_RECORD    file to which it appends one line: its own path, a tab, its command
//                             line (8-bit; other characters as '?')
//   VESK_TEST_CHILD_SLEEP_MS  milliseconds to wait
//   VESK_TEST_CHILD_EXIT      its exit code (default 0)
#include <windows.h>

#include <cwchar>
#include <string>

#include "common/log_text.h"
#include "common/module_path.h"
#include "common/unique_handle.h"

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[1024];
  DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
  return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

void AppendLine(const std::wstring& file, const std::wstring& text) {
  vesk::UniqueFile handle(CreateFileW(file.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!handle) return;
  std::string bytes;
  vesk::AppendLogBytes(bytes, text + L"\n");
  DWORD written = 0;
  WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // The command line is searched, not split: splitting would load shell32, whose start makes
  // Wine start its desktop process from this child, which tests waiting for descendants see.
  if (const wchar_t* sleep = wcsstr(GetCommandLineW(), L" --sleep ")) {
    Sleep(static_cast<DWORD>(wcstoul(sleep + 9, nullptr, 10)));
    return 0;
  }
  std::wstring record = Environment(L"VESK_TEST_CHILD_RECORD");
  if (!record.empty()) AppendLine(record, vesk::GetModulePath() + L"\t" + GetCommandLineW());
  std::wstring sleepMs = Environment(L"VESK_TEST_CHILD_SLEEP_MS");
  if (!sleepMs.empty()) Sleep(static_cast<DWORD>(wcstoul(sleepMs.c_str(), nullptr, 10)));
  std::wstring exitCode = Environment(L"VESK_TEST_CHILD_EXIT");
  return exitCode.empty() ? 0 : static_cast<int>(wcstoul(exitCode.c_str(), nullptr, 10));
}
