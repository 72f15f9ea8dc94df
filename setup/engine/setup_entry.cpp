#include "setup/engine/setup_entry.h"

#include <objbase.h>

#include <optional>

#include "common/bounded_path.h"
#include "common/module_path.h"
#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/command_line.h"
#include "setup/engine/exit_codes.h"
#include "setup/engine/install_steps.h"
#include "setup/engine/payload.h"
#include "setup/engine/quiet_install.h"
#include "setup/engine/setup_log.h"
#include "setup/engine/windows_version.h"

namespace vesk {
namespace {

// Per-monitor DPI awareness, looked up at run time so the program still starts where the
// function is missing.
void DeclarePerMonitorDpiAwareness() {
  UniqueModule shcore(LoadSystemLibrary(L"shcore.dll"));
  if (!shcore) return;
  using SetProcessDpiAwarenessFunction = HRESULT(WINAPI*)(int);
  auto setAwareness = reinterpret_cast<SetProcessDpiAwarenessFunction>(
      reinterpret_cast<void*>(GetProcAddress(shcore.get(), "SetProcessDpiAwareness")));
  const int processPerMonitorDpiAware = 2;
  if (setAwareness != nullptr) setAwareness(processPerMonitorDpiAware);
}

int RunWindowRoad(HINSTANCE instance, const std::wstring& workingFolder, bool isUpdate,
                  WindowRoad windowRoad) {
  int majorVersion = GetWindowsMajorVersion();
  WriteLog(L"GetWindowsMajorVersion version: " + std::to_wstring(majorVersion));
  if (majorVersion >= 10) DeclarePerMonitorDpiAwareness();
  if (FAILED(CoInitialize(nullptr))) return kSetupSuccess;
  const int result = windowRoad(instance, workingFolder, isUpdate);
  CoUninitialize();
  return result == kPayloadDigestMismatch ? kPayloadDigestMismatch : kSetupSuccess;
}

}  // namespace

int RunSetup(HINSTANCE instance, const wchar_t* commandLineText, WindowRoad windowRoad) {
  WriteLog(std::wstring(L"Command line arguments: ") + (commandLineText ? commandLineText : L""));
  SetupFlags flags;
  if (!ParseSetupCommandLine(GetCommandLineW(), flags)) return kSetupSuccess;

  std::wstring workingFolder = GetWorkingFolder();
  if (workingFolder.empty()) {
    WriteLog(L"Working folder path too long: " + FolderOf(GetModulePath()) + L"\\.VeskSetupTemp");
    return kWorkingFolderPathTooLong;
  }
  // The result of this first creation does not matter: the preparation empties and remakes it.
  (void)CreateDirectoryW(workingFolder.c_str(), nullptr);
  if (!PrepareWorkingFolder(workingFolder)) return kWorkingFolderNotEmptied;
  if (!ExtractPayload(instance, workingFolder)) return kPayloadDigestMismatch;

  if (flags.isQuiet) {
    WriteLog(L"isQuiet = true, start QuietInstall");
    int result = QuietInstall(workingFolder, flags.isAutoLaunch, flags.isKill);
    WriteLog(L"_tWinMain end result: " + std::to_wstring(result));
    return result;
  }
  return RunWindowRoad(instance, workingFolder, flags.isUpdate, windowRoad);
}

}  // namespace vesk
