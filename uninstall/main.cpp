// VeskUninstall: removes an installed vesk.helm.
#include <windows.h>

#include "uninstall/uninstaller.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return vesk::uninstall::RunUninstaller(GetCommandLineW());
}
