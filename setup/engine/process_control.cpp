#include "setup/engine/process_control.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cwchar>

#include "common/unique_handle.h"
#include "setup/engine/setup_log.h"

namespace vesk {
namespace {

UniqueKernelHandle TakeProcessSnapshot() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  return UniqueKernelHandle(snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot);
}

}  // namespace

void killTargetApp(const std::wstring& installFolder) {
  const std::wstring displayName = installFolder + L"\\" + kApplicationExeName;
  WriteLog(L"killTargetApp processName: " + displayName);

  UniqueKernelHandle snapshot = TakeProcessSnapshot();
  if (!snapshot) {
    WriteLog(L"Failed to create process snapshot.");
    return;
  }
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  if (!Process32FirstW(snapshot.get(), &entry)) {
    WriteLog(L"Failed to retrieve first process.");
    snapshot.reset();
    Sleep(1000);
    return;
  }
  do {
    if (wcscmp(entry.szExeFile, kApplicationExeName) != 0) continue;
    UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (!process) {
      WriteLog(L"Failed to open process: " + displayName);
      continue;
    }
    if (TerminateProcess(process.get(), 0)) {
      WriteLog(L"Successfully terminated process: " + displayName);
    } else {
      WriteLog(L"Failed to terminate process: " + displayName);
    }
  } while (Process32NextW(snapshot.get(), &entry));
  snapshot.reset();
  // Terminated processes need a moment to release their files before setup copies over them.
  Sleep(1000);
}

bool IsProcessRunning(const std::wstring& exeName) {
  UniqueKernelHandle snapshot = TakeProcessSnapshot();
  if (!snapshot) return false;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  if (!Process32FirstW(snapshot.get(), &entry)) return false;
  do {
    if (exeName == entry.szExeFile) return true;
  } while (Process32NextW(snapshot.get(), &entry));
  return false;
}

unsigned long FindProcessIgnoringCase(const std::wstring& exeName) {
  UniqueKernelHandle snapshot = TakeProcessSnapshot();
  if (!snapshot) return 0;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  if (!Process32FirstW(snapshot.get(), &entry)) return 0;
  do {
    if (CompareStringOrdinal(entry.szExeFile, -1, exeName.c_str(), -1, TRUE) == CSTR_EQUAL) {
      return entry.th32ProcessID;
    }
  } while (Process32NextW(snapshot.get(), &entry));
  return 0;
}

}  // namespace vesk
