// A command line split into its arguments the way programs started by Windows see them.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>
#include <vector>

#include "common/system_libraries.h"
#include "common/unique_handle.h"

namespace vesk {

// The arguments as CommandLineToArgvW splits them (element 0 is the program); nothing when the
// line cannot be split.
inline std::optional<std::vector<std::wstring>> SplitCommandLine(const wchar_t* commandLine) {
  int count = 0;
  UniqueLocalMemory<LPWSTR*> arguments(shell::CommandLineToArgv(commandLine, &count));
  if (!arguments) return std::nullopt;
  return std::vector<std::wstring>(arguments.get(), arguments.get() + count);
}

}  // namespace vesk
