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

Seam<decltype(&::OpenProcess)> g_openProcessByName{&::OpenProcess};

std::vector<OpenedProcess> OpenProcessesByName(const std::wstring& name) {
  std::vector<OpenedProcess> opened;
  for (DWORD id : FindProcessesByName(name, NameMatch::kExact).ids) {
    UniqueKernelHandle process(
        g_openProcessByName(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (!process) {
      LogWarning(name + L" (process " + std::to_wstring(id) +
                 L") cannot be opened to read its path, left alone, error: " +
                 std::to_wstring(GetLastError()));
      continue;
    }
    std::wstring imagePath = OpenProcessImagePath(process.get());
    opened.push_back({std::move(process), std::move(imagePath)});
  }
  return opened;
}

bool KillOpenedProcess(const OpenedProcess& process, const std::wstring& name) {
  LogInfo(L"Attempting to kill process: " + name);
  if (TerminateProcess(process.handle.get(), 0)) {
    LogInfo(L"Successfully killed process: " + name);
    return true;
  }
  LogError(L"Failed to terminate process: " + name);
  return false;
}

namespace {

std::wstring LongForm(const std::wstring& path) {
  DWORD needed = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring longPath(needed, L'\0');
  DWORD length = GetLongPathNameW(path.c_str(), &longPath[0], needed);
  if (length == 0 || length >= needed) return path;
  longPath.resize(length);
  return longPath;
}

}  // namespace

bool SameFilePath(const std::wstring& first, const std::wstring& second) {
  std::wstring a = LongForm(first);
  std::wstring b = LongForm(second);
  return CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace vesk::uninstall
