// Stand-in for the product's mini_installer.exe.
#include <windows.h>

// TEMPORARY: installs nothing yet.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
