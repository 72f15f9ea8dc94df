// Stand-in for the product's mini_installer.exe: installs vesk.helm into its own folder.
#include <windows.h>
#include <objbase.h>

#include "common/module_path.h"
#include "standin/mini_installer/installer.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  vesk::standin::InstallOptions options =
      vesk::standin::ReadInstallOptions(VESK_STANDIN_DEFAULT_VERSION);
  int exitCode =
      vesk::standin::RunInstaller(instance, vesk::FolderOf(vesk::GetModulePath()), options);
  if (SUCCEEDED(com)) CoUninitialize();
  if (options.runMs > 0) Sleep(options.runMs);
  return exitCode;
}
