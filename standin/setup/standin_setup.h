// The stand-in for the product's installed setup.exe: removes the application
// ("--uninstall ..."), or completes a pending in-use update ("--rename-vesk-exe").
#pragma once

#include <string>
#include <vector>

namespace vesk::standin {

struct SetupCommand {
  enum class Mode { kNone, kUninstall, kRename };
  Mode mode = Mode::kNone;
  std::wstring logFile;                 // from --log-file=, without its quotes
  std::vector<std::wstring> ignored;    // arguments it does not know
};

// Reads the switches of a whole command line (element 0, the program, is skipped).
SetupCommand ParseSetupCommandLine(const wchar_t* commandLine);

// Runs the command for the installation that holds `setupPath`
// (<install folder>\<version>\Installer\setup.exe) and returns the exit code.
[[nodiscard]] int RunSetupCommand(const std::wstring& setupPath, const SetupCommand& command,
                    const std::wstring& commandLine);

}  // namespace vesk::standin
