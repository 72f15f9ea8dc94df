// debug_output_capture <program> [arguments...]
// Runs the program under a debug loop, prints each line it sends to the debugger output, and
// ends with the program's exit code.
#include <windows.h>

#include <cstdio>
#include <string>

#include "testsupport/test_support.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: debug_output_capture <program> [arguments...]\n", stderr);
    return 2;
  }
  std::wstring commandLine;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine += L' ';
    commandLine += L'"' + std::wstring(argv[i]) + L'"';
  }
  vesk::testing::RunOptions options;
  options.captureDebugOutput = true;
  options.timeoutMs = 600000;
  vesk::testing::ProcessResult result = vesk::testing::RunProcess(commandLine, options);
  if (!result.started) {
    std::fprintf(stderr, "cannot start the program, error %lu\n", GetLastError());
    return 2;
  }
  for (const std::wstring& line : result.debugLines) {
    std::printf("%s\n", vesk::testing::Narrow(line).c_str());
  }
  return static_cast<int>(result.exitCode);
}
