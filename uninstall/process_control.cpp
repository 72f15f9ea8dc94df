#include "uninstall/process_control.h"

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <vector>

#include "common/unique_handle.h"
#include "uninstall/uninstall_log.h"

namespace vesk::uninstall {

namespace {

// Same length and every character equal: no case folding, no path.
bool IsExactName(const wchar_t* executable, const std::wstring& name) {
  return name == executable;
}

UniqueKernelHandle TakeProcessSnapshot() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  return UniqueKernelHandle(snapshot == INVALID_HANDLE_VALUE ? nullptr : snapshot);
}

// Walks the snapshot to the first entry with the name; false when there is none.
bool FindFirstProcess(HANDLE snapshot, const std::wstring& name, PROCESSENTRY32W& entry) {
  entry = {};
  entry.dwSize = sizeof(entry);
  if (!Process32FirstW(snapshot, &entry)) return false;
  do {
    if (IsExactName(entry.szExeFile, name)) return true;
  } while (Process32NextW(snapshot, &entry));
  return false;
}

}  // namespace

bool IsProcessRunning(const std::wstring& name) {
  LogInfo(L"Checking if process is running: " + name);
  UniqueKernelHandle snapshot = TakeProcessSnapshot();
  if (!snapshot) {
    LogError(L"Failed to create process snapshot.");
    return false;
  }
  PROCESSENTRY32W entry;
  if (FindFirstProcess(snapshot.get(), name, entry)) {
    LogInfo(L"Process found running: " + name);
    return true;
  }
  LogInfo(L"Process not running: " + name);
  return false;
}

bool KillProcess(const std::wstring& name) {
  LogInfo(L"Attempting to kill process: " + name);
  UniqueKernelHandle snapshot = TakeProcessSnapshot();
  if (!snapshot) {
    LogError(L"Failed to create process snapshot for killing process.");
    return false;
  }
  PROCESSENTRY32W entry;
  if (FindFirstProcess(snapshot.get(), name, entry)) {
    UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (process) {
      if (TerminateProcess(process.get(), 0)) {
        LogInfo(L"Successfully killed process: " + name);
        return true;
      }
      LogError(L"Failed to terminate process: " + name);
    } else {
      LogError(L"Failed to open process for termination: " + name);
    }
  }
  LogWarning(L"Process not found for killing: " + name);
  return false;
}

std::wstring FirstProcessImagePath(const std::wstring& name) {
  UniqueKernelHandle snapshot = TakeProcessSnapshot();
  if (!snapshot) return std::wstring();
  PROCESSENTRY32W entry;
  if (!FindFirstProcess(snapshot.get(), name, entry)) return std::wstring();
  UniqueKernelHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, entry.th32ProcessID));
  if (!process) return std::wstring();
  // The whole path, however long: a cut path could hide the folder names the caller looks for.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = GetModuleFileNameExW(process.get(), nullptr, buffer.data(),
                                        static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size() - 1) return std::wstring(buffer.data(), length);
    if (buffer.size() >= 32768) return std::wstring();
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace vesk::uninstall
