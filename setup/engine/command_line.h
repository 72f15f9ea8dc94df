// The setup program's command-line grammar: four flags set by exact keywords.
#pragma once

namespace vesk {

struct SetupFlags {
  bool isUpdate = false;
  bool isQuiet = false;
  bool isAutoLaunch = true;
  bool isKill = false;
};

// Splits the full command line (program path included) and sets the flags, logging each keyword
// found. False, with "Failed to parse command line arguments." logged, when it cannot be split.
[[nodiscard]] bool ParseSetupCommandLine(const wchar_t* fullCommandLine, SetupFlags& flags);

}  // namespace vesk
