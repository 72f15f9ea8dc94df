// VeskUpdateHelper: runs a pending in-use update of vesk.helm. It takes no arguments.
#include <windows.h>

#include "common/system_libraries.h"
#include "updatehelper/update_helper.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  vesk::RestrictLibrarySearchToSystemFolder();
  return vesk::RunPendingUpdate();
}
