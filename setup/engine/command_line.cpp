#include "setup/engine/command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

#include "setup/engine/setup_log.h"

namespace vesk {

bool ParseSetupCommandLine(const wchar_t* fullCommandLine, SetupFlags& flags) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(fullCommandLine, &count);
  if (arguments == nullptr) {
    WriteLog(L"Failed to parse command line arguments.");
    return false;
  }
  // Element 0 (the program path as typed) is tested like every other element.
  for (int i = 0; i < count; ++i) {
    const wchar_t* argument = arguments[i];
    if (wcscmp(argument, L"update") == 0) {
      flags.isUpdate = true;
    } else if (wcscmp(argument, L"quiet") == 0 || wcscmp(argument, L"/s") == 0) {
      flags.isQuiet = true;
      WriteLog(std::wstring(L"isQuiet = true,Argument ") + argument);
    } else if (wcscmp(argument, L"disable_autolaunch") == 0) {
      flags.isAutoLaunch = false;
      WriteLog(std::wstring(L"isAutoLaunch = false,Argument ") + argument);
    } else if (wcscmp(argument, L"kill") == 0) {
      flags.isKill = true;
      WriteLog(std::wstring(L"isKill = true,Argument ") + argument);
    }
  }
  LocalFree(arguments);
  return true;
}

}  // namespace vesk
