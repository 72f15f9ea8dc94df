// VeskUpdateHelper: runs a pending in-use update of vesk.helm.
#include <windows.h>

// TEMPORARY: does nothing yet and reports success.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
