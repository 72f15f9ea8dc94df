// Stand-in for the product's installed setup.exe (<install folder>\<version>\Installer\).
#include <windows.h>
#include <objbase.h>

#include "common/module_path.h"
#include "standin/setup/standin_setup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const wchar_t* commandLine = GetCommandLineW();
  int exitCode = vesk::standin::RunSetupCommand(
      vesk::GetModulePath(), vesk::standin::ParseSetupCommandLine(commandLine), commandLine);
  if (SUCCEEDED(com)) CoUninitialize();
  return exitCode;
}
