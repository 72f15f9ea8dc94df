// VeskUninstall: removes an installed vesk.helm.
#include <windows.h>

#include "common/system_libraries.h"
#include "uninstall/uninstaller.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vesk::RestrictLibrarySearchToSystemFolder();
  return vesk::uninstall::RunUninstaller(GetCommandLineW());
}
