// marker_writer <marker file> <delay in ms> [anything else...]
// A stand-in for an update command: waits, then writes the marker file holding "done", so a test
// can tell whether the command ran and whether its starter waited for its end.
#include <windows.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "common/command_line_arguments.h"
#include "common/unique_handle.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::optional<std::vector<std::wstring>> arguments = vesk::SplitCommandLine(GetCommandLineW());
  if (!arguments || arguments->size() < 3) return 2;
  Sleep(static_cast<DWORD>(wcstoul((*arguments)[2].c_str(), nullptr, 10)));
  vesk::UniqueFile file(CreateFileW((*arguments)[1].c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 3;
  DWORD written = 0;
  WriteFile(file.get(), "done", 4, &written, nullptr);
  return 0;
}
