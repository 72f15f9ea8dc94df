// The stand-in installer's work: installs vesk.helm into the folder that holds the installer and
// records the outcome in the registry, as the product's mini_installer.exe does.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vesk::standin {

struct InstallOptions {
  std::wstring version;                  // version to install, dotted numbers
  std::optional<unsigned long> failWith;  // a nonzero code: fail with it, installing nothing
  bool leavePendingUpdate = false;       // install beside the running application instead
  std::wstring inUseVersion;             // "opv" of a pending update; empty: the installed one
  DWORD runMs = 0;                       // time to keep running after the work
};

// The options the test controls ask for, with the built-in version as default.
InstallOptions ReadInstallOptions(const std::wstring& defaultVersion);

// Installs from the programs carried as resources of `module` into `installFolder` and returns
// the exit code (an InstallerExitCode, or the requested failure code).
[[nodiscard]] int RunInstaller(HMODULE module, const std::wstring& installFolder, const InstallOptions& options);

// The command line that completes a pending update of the given setup.exe.
[[nodiscard]] std::wstring PendingUpdateCommand(const std::wstring& setupPath);

}  // namespace vesk::standin
