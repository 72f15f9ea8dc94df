// VeskSetup: carries the product, unpacks it and installs it quietly or through its window.
#include <windows.h>

#include "common/system_libraries.h"
#include "setup/engine/setup_entry.h"
#include "setup/window/setup_window_road.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  vesk::RestrictLibrarySearchToSystemFolder();
  return vesk::RunSetup(instance, commandLine, &vesk::RunSetupWindow);
}
