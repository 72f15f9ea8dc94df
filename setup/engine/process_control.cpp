#include "setup/engine/process_control.h"

#include <windows.h>

#include "common/process_list.h"
#include "setup/engine/setup_log.h"

namespace vesk {

void killTargetApp(const std::wstring& installFolder) {
  const std::wstring displayName = installFolder + L"\\" + kApplicationExeName;
  WriteLog(L"killTargetApp processName: " + displayName);

  ProcessMatches running = FindProcessesByName(kApplicationExeName, NameMatch::kExact);
  if (running.status == ProcessListStatus::kNoSnapshot) {
    WriteLog(L"Failed to create process snapshot.");
    return;
  }
  if (running.status == ProcessListStatus::kNoFirstEntry) {
    WriteLog(L"Failed to retrieve first process.");
    Sleep(1000);
    return;
  }
  for (DWORD id : running.ids) {
    switch (TerminateProcessById(id)) {
      case TerminateResult::kNotOpened:
        WriteLog(L"Failed to open process: " + displayName);
        break;
      case TerminateResult::kTerminated:
        WriteLog(L"Successfully terminated process: " + displayName);
        break;
      case TerminateResult::kNotTerminated:
        WriteLog(L"Failed to terminate process: " + displayName);
        break;
    }
  }
  // Terminated processes need a moment to release their files before setup copies over them.
  Sleep(1000);
}

bool IsProcessRunning(const std::wstring& exeName) {
  return !FindProcessesByName(exeName, NameMatch::kExact).ids.empty();
}

unsigned long FindProcessIgnoringCase(const std::wstring& exeName) {
  ProcessMatches found = FindProcessesByName(exeName, NameMatch::kIgnoringCase);
  return found.ids.empty() ? 0 : found.ids.front();
}

}  // namespace vesk
