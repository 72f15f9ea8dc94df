#include "uninstall/process_control.h"

#include <windows.h>

#include "common/process_list.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

bool IsProcessRunning(const std::wstring& name) {
  LogInfo(L"Checking if process is running: " + name);
  ProcessMatches found = FindProcessesByName(name, NameMatch::kExact);
  if (found.status == ProcessListStatus::kNoSnapshot) {
    LogError(L"Failed to create process snapshot.");
    return false;
  }
  if (!found.ids.empty()) {
    LogInfo(L"Process found running: " + name);
    return true;
  }
  LogInfo(L"Process not running: " + name);
  return false;
}

bool KillProcess(const std::wstring& name) {
  LogInfo(L"Attempting to kill process: " + name);
  ProcessMatches found = FindProcessesByName(name, NameMatch::kExact);
  if (found.status == ProcessListStatus::kNoSnapshot) {
    LogError(L"Failed to create process snapshot for killing process.");
    return false;
  }
  if (!found.ids.empty()) {
    switch (TerminateProcessById(found.ids.front())) {
      case TerminateResult::kTerminated:
        LogInfo(L"Successfully killed process: " + name);
        return true;
      case TerminateResult::kNotTerminated:
        LogError(L"Failed to terminate process: " + name);
        break;
      case TerminateResult::kNotOpened:
        LogError(L"Failed to open process for termination: " + name);
        break;
    }
  }
  LogWarning(L"Process not found for killing: " + name);
  return false;
}

std::wstring FirstProcessImagePath(const std::wstring& name) {
  ProcessMatches found = FindProcessesByName(name, NameMatch::kExact);
  return found.ids.empty() ? std::wstring() : ProcessImagePath(found.ids.front());
}

}  // namespace vesk::uninstall
