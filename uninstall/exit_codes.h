// Exit codes of VeskUninstall. Values are part of the program's interface: never renumber them.
#pragma once

namespace vesk::uninstall {

enum UninstallExitCode : int {
  kUninstallSucceeded = 0,          // the product's uninstall entry is gone
  kUninstallRestartedElevated = 0,  // an elevated copy was started and carries on
  kUninstallFailed = 1,             // preparation or uninstallation failed
};

}  // namespace vesk::uninstall
