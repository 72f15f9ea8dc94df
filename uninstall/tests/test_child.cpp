// A small program the uninstaller's tests run as the application, as setup.exe, as a process that
// hangs, or as the elevated restart. It never shows a window.
//   vesk_test_child.exe --sleep <ms>     waits, then exits with 0
// Otherwise it follows these environment variables, in this order:
//   VESK_TEST_CHILD_RECORD   file to which its own command line is appended (one line, 8-bit)
//   VESK_TEST_CHILD_SLEEP_MS milliseconds to wait
//   VESK_TEST_CHILD_EXIT     exit code (default 0)
#include <windows.h>

#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[1024];
  DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
  return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

void AppendLine(const std::wstring& file, const std::wstring& text) {
  HANDLE handle = CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return;
  std::string bytes;
  for (wchar_t c : text) bytes += static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?';
  bytes += "\r\n";
  DWORD written = 0;
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(handle);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments != nullptr && count == 3 && std::wstring(arguments[1]) == L"--sleep") {
    Sleep(static_cast<DWORD>(wcstoul(arguments[2], nullptr, 10)));
    return 0;
  }
  std::wstring record = Environment(L"VESK_TEST_CHILD_RECORD");
  if (!record.empty()) AppendLine(record, GetCommandLineW());
  std::wstring sleep = Environment(L"VESK_TEST_CHILD_SLEEP_MS");
  if (!sleep.empty()) Sleep(static_cast<DWORD>(wcstoul(sleep.c_str(), nullptr, 10)));
  std::wstring exitCode = Environment(L"VESK_TEST_CHILD_EXIT");
  return exitCode.empty() ? 0 : static_cast<int>(wcstoul(exitCode.c_str(), nullptr, 10));
}
