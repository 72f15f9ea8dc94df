// A small program the engine tests start under the names of the product's programs
// ("mini_installer.exe", "vesk.helm.exe"). It is steered through the environment, since the
// installer is started without arguments:
//   VESK_CHILD_RECORD    file to which it appends one line: its own path, a tab, its command line
//   VESK_CHILD_SLEEP_MS  how long it runs before it ends (default 0)
//   VESK_CHILD_EXIT_CODE its exit code (default 0)
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[1024];
  DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
  return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

void AppendRecord(const std::wstring& recordPath) {
  wchar_t self[MAX_PATH * 2];
  DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH * 2);
  std::wstring line = std::wstring(self, length) + L"\t" + GetCommandLineW() + L"\r\n";
  std::string bytes;
  for (wchar_t c : line) bytes += static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?';
  HANDLE file = CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring record = Environment(L"VESK_CHILD_RECORD");
  if (!record.empty()) AppendRecord(record);
  std::wstring sleepMs = Environment(L"VESK_CHILD_SLEEP_MS");
  if (!sleepMs.empty()) Sleep(static_cast<DWORD>(wcstoul(sleepMs.c_str(), nullptr, 10)));
  std::wstring exitCode = Environment(L"VESK_CHILD_EXIT_CODE");
  return exitCode.empty() ? 0 : static_cast<int>(wcstoul(exitCode.c_str(), nullptr, 10));
}
