// marker_writer <marker file> <delay in ms> [anything else...]
// A stand-in for an update command: waits, then writes the marker file holding "done", so a test
// can tell whether the command ran and whether its starter waited for its end.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 3) return 2;
  Sleep(static_cast<DWORD>(wcstoul(arguments[2], nullptr, 10)));
  HANDLE file = CreateFileW(arguments[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  DWORD written = 0;
  WriteFile(file, "done", 4, &written, nullptr);
  CloseHandle(file);
  LocalFree(arguments);
  return 0;
}
