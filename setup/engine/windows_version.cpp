#include "setup/engine/windows_version.h"

#include <windows.h>

#include <string>

#include "common/system_libraries.h"
#include "common/unique_handle.h"
#include "setup/engine/setup_log.h"

namespace vesk {

int GetWindowsMajorVersion() {
  // RtlGetVersion, unlike GetVersionEx, is not subject to the compatibility shims.
  UniqueModule ntdll(LoadSystemLibrary(L"ntdll.dll"));
  if (!ntdll) {
    WriteLog(L"ntdll NULL");
    return -1;
  }
  using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
      reinterpret_cast<void*>(GetProcAddress(ntdll.get(), "RtlGetVersion")));
  if (rtlGetVersion == nullptr) {
    WriteLog(L"RtlGetVersion NULL");
    return -1;
  }
  OSVERSIONINFOW versionInfo = {};
  versionInfo.dwOSVersionInfoSize = sizeof(versionInfo);  // 276 bytes: the basic record
  if (rtlGetVersion(&versionInfo) != 0) {
    WriteLog(L"versionInfo NULL");
    return -1;
  }
  int major = static_cast<int>(versionInfo.dwMajorVersion);
  WriteLog(L"dwMajorVersion: " + std::to_wstring(major));
  return major;
}

}  // namespace vesk
