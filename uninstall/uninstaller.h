// The uninstaller's flow: find the installation, get the rights, deal with the running
// application, run setup.exe, clean up, and check the folder before every exit.
#pragma once

#include <string>

#include "uninstall/multi_process_deleter.h"

namespace vesk::uninstall {

class Uninstaller {
 public:
  // Seeds the pseudo-random generator that temporary names use.
  Uninstaller();

  // Rights, running application (terminated first in force mode), installation path and
  // version from the product key. False when the run cannot go on.
  [[nodiscard]] bool Prepare(bool forceMode);

  // Runs setup.exe, handles its exit code and, when the product's uninstall entry is gone,
  // deletes the product's own keys. True only when that entry is gone.
  bool RunUninstall();

  // Removes the "uninstall" folder two levels above the running program when it is all that is
  // left there.
  bool FinalDirectoryCheck();

  const std::wstring& installPath() const { return m_installPath; }
  const std::wstring& productVersion() const { return m_productVersion; }

 private:
  std::wstring m_installPath;
  std::wstring m_productVersion;
  MultiProcessDeleter m_deleter;
};

// True when some element after the program path is exactly "--force".
[[nodiscard]] bool ParseForceMode(const wchar_t* fullCommandLine);

// The whole program for a full command line (program path included); returns the exit code.
[[nodiscard]] int RunUninstaller(const wchar_t* fullCommandLine);

}  // namespace vesk::uninstall
