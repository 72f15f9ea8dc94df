#include "setup/engine/command_line.h"

#include <optional>
#include <string>
#include <vector>

#include "common/command_line_arguments.h"
#include "setup/engine/setup_log.h"

namespace vesk {

bool ParseSetupCommandLine(const wchar_t* fullCommandLine, SetupFlags& flags) {
  std::optional<std::vector<std::wstring>> arguments = SplitCommandLine(fullCommandLine);
  if (!arguments) {
    WriteLog(L"Failed to parse command line arguments.");
    return false;
  }
  // Element 0 (the program path as typed) is tested like every other element.
  for (const std::wstring& argument : *arguments) {
    if (argument == L"update") {
      flags.isUpdate = true;
    } else if (argument == L"quiet" || argument == L"/s") {
      flags.isQuiet = true;
      WriteLog(L"isQuiet = true,Argument " + argument);
    } else if (argument == L"disable_autolaunch") {
      flags.isAutoLaunch = false;
      WriteLog(L"isAutoLaunch = false,Argument " + argument);
    } else if (argument == L"kill") {
      flags.isKill = true;
      WriteLog(L"isKill = true,Argument " + argument);
    }
  }
  return true;
}

}  // namespace vesk
