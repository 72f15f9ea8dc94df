// VeskUninstall: removes an installed vesk.helm.
#include <windows.h>

// TEMPORARY: does nothing yet and reports success.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
