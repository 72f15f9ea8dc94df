// The running processes, found by executable file name (never by path), and what can be done
// with one of them. Callers write their own log lines from the results.
#pragma once

#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace vesk {

struct ProcessEntry {
  DWORD id;
  DWORD parentId;
  std::wstring exeName;  // file name only
};

enum class ProcessListStatus {
  kListed,
  kNoSnapshot,     // the process snapshot could not be taken
  kNoFirstEntry,   // the snapshot was taken but its first entry could not be read
};

// Every process in snapshot order.
[[nodiscard]] inline ProcessListStatus ListProcesses(std::vector<ProcessEntry>& processes) {
  processes.clear();
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ProcessListStatus::kNoSnapshot;
  UniqueKernelHandle owner(snapshot);
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof(entry);
  if (!Process32FirstW(snapshot, &entry)) return ProcessListStatus::kNoFirstEntry;
  do {
    processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
  } while (Process32NextW(snapshot, &entry));
  return ProcessListStatus::kListed;
}

enum class NameMatch {
  kExact,         // same length and every character equal, letter case included
  kIgnoringCase,  // ordinal comparison without letter case
};

[[nodiscard]] inline bool ExeNameMatches(const std::wstring& exeName, const std::wstring& wanted,
                           NameMatch match) {
  if (match == NameMatch::kExact) return exeName == wanted;
  return CompareStringOrdinal(exeName.c_str(), static_cast<int>(exeName.size()), wanted.c_str(),
                              static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

struct ProcessMatches {
  ProcessListStatus status = ProcessListStatus::kListed;
  std::vector<DWORD> ids;  // in snapshot order
};

// The processes whose executable name matches `exeName`.
[[nodiscard]] inline ProcessMatches FindProcessesByName(const std::wstring& exeName, NameMatch match) {
  ProcessMatches matches;
  std::vector<ProcessEntry> processes;
  matches.status = ListProcesses(processes);
  for (const ProcessEntry& process : processes) {
    if (ExeNameMatches(process.exeName, exeName, match)) matches.ids.push_back(process.id);
  }
  return matches;
}

enum class TerminateResult { kTerminated, kNotOpened, kNotTerminated };

// Ends the process at once with `exitCode`.
inline TerminateResult TerminateProcessById(DWORD id, UINT exitCode = 0) {
  UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, id));
  if (!process) return TerminateResult::kNotOpened;
  return TerminateProcess(process.get(), exitCode) ? TerminateResult::kTerminated
                                                   : TerminateResult::kNotTerminated;
}

// The process's whole program path, however long (a cut path could hide the folder names a
// caller looks for); empty when it cannot be read.
[[nodiscard]] inline std::wstring ProcessImagePath(DWORD id) {
  UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id));
  if (!process) return std::wstring();
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

// The whole program path of a process held open with PROCESS_QUERY_LIMITED_INFORMATION, however
// long; empty when it cannot be read. Reading it through the handle, never through an id, keeps a
// reused id from naming another process.
[[nodiscard]] inline std::wstring OpenProcessImagePath(HANDLE process) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    if (QueryFullProcessImageNameW(process, 0, buffer.data(), &length)) {
      return std::wstring(buffer.data(), length);
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buffer.size() >= 32768) {
      return std::wstring();
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace vesk
