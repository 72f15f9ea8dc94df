#include "setup/engine/tests/engine_test_support.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>

#include "common/process_list.h"

namespace vesk::testing {

namespace {

const wchar_t* const kPlantedLibraries[] = {L"msimg32", L"dwmapi", L"uxtheme", L"comctl32",
                                            L"shcore",  L"bcrypt", L"winmm",   L"userenv"};

}  // namespace

ScopedPlantedLibraries::ScopedPlantedLibraries(const std::wstring& folder,
                                               const std::wstring& markerLibrary)
    : m_folder(folder),
      m_preferPlanted(L"WINEDLLOVERRIDES", Overrides(folder, markerLibrary)) {}

std::wstring ScopedPlantedLibraries::Overrides(const std::wstring& folder,
                                               const std::wstring& markerLibrary) {
  // The harness's own overrides stay; the planted names are added to them.
  wchar_t harness[512] = {};
  const DWORD harnessLength = GetEnvironmentVariableW(L"WINEDLLOVERRIDES", harness, 512);
  std::wstring overrides =
      harnessLength > 0 && harnessLength < 512 ? std::wstring(harness) + L";" : std::wstring();
  for (const wchar_t* name : kPlantedLibraries) {
    const std::wstring planted = folder + L"\\" + name + L".dll";
    EXPECT_TRUE(CopyFileW(markerLibrary.c_str(), planted.c_str(), FALSE)) << Narrow(planted);
    overrides += std::wstring(name) + L",";
  }
  overrides.back() = L'=';
  return overrides + L"n,b";
}

std::vector<std::string> ScopedPlantedLibraries::Loaded() const {
  std::vector<std::string> found;
  for (const std::wstring& name : ListFolder(m_folder)) {
    if (name.size() > 7 && name.substr(name.size() - 7) == L".loaded") found.push_back(Narrow(name));
  }
  return found;
}

std::map<std::wstring, RegistryValue> ReadAllValues(HKEY root, const std::wstring& key) {
  std::map<std::wstring, RegistryValue> values;
  UniqueRegKey opened;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD nameChars = 16384;
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegEnumValueW(opened.get(), index, name, &nameChars, nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS) {
      break;
    }
    RegistryValue value = ReadRegistryValue(root, key, std::wstring(name, nameChars));
    values[std::wstring(name, nameChars)] = value;
  }
  return values;
}

RegistryValue StringValue(const std::wstring& text) {
  RegistryValue value;
  value.exists = true;
  value.type = REG_SZ;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  value.data.assign(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
  return value;
}

RegistryValue DwordValue(DWORD number) {
  RegistryValue value;
  value.exists = true;
  value.type = REG_DWORD;
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&number);
  value.data.assign(bytes, bytes + sizeof(number));
  return value;
}

bool operator==(const RegistryValue& a, const RegistryValue& b) {
  return a.exists == b.exists && a.type == b.type && a.data == b.data;
}

std::ostream& operator<<(std::ostream& out, const RegistryValue& value) {
  if (!value.exists) return out << "<missing>";
  out << "type " << value.type << ", " << value.data.size() << " bytes";
  if (value.type == REG_SZ) out << ", \"" << Narrow(value.AsString()) << "\"";
  if (value.type == REG_DWORD) out << ", " << value.AsDword();
  return out;
}

namespace {
constexpr wchar_t kRecorderClass[] = L"VeskEngineTestMessageRecorder";
}  // namespace

MessageRecorder::MessageRecorder() {
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = &MessageRecorder::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = kRecorderClass;
  RegisterClassW(&windowClass);  // fails harmlessly when already registered
  m_window = CreateWindowExW(0, kRecorderClass, L"recorder", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
}

MessageRecorder::~MessageRecorder() {
  if (m_window != nullptr) DestroyWindow(m_window);
}

LRESULT CALLBACK MessageRecorder::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message >= WM_USER && message <= WM_APP + 0xFF) {
    if (self->m_handler) self->m_handler(message, wParam);
    self->m_received.push_back({message, wParam, GetTickCount64()});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool MessageRecorder::PumpUntil(UINT message, DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  auto arrived = [&] {
    for (const Received& received : m_received) {
      if (received.message == message) return true;
    }
    return false;
  };
  while (!arrived()) {
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  return true;
}

std::vector<int> MessageRecorder::ValuesOf(UINT message) const {
  std::vector<int> values;
  for (const Received& received : m_received) {
    if (received.message == message) values.push_back(static_cast<int>(received.wParam));
  }
  return values;
}

Seam<ProcessListStatus (*)(std::vector<ProcessEntry>&)> g_listProcessesForDescendantWait{
    &ListProcesses};

namespace {

ULONGLONG CreationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// A descendant held open from the moment it is first seen: while the handle is open its id
// cannot be given to another process, so a remembered id always names the same process.
struct Descendant {
  UniqueKernelHandle handle;
  ULONGLONG created;
};

// Adds to `known` every running process whose parent is this process or a known descendant (one
// that has ended included) and that was created after that parent: a process whose parent id
// only names ours because the id was reused is a stranger. Answers whether any known process
// still runs.
bool DescendantsRunning(std::map<DWORD, Descendant>& known, ULONGLONG ownCreation) {
  std::vector<ProcessEntry> processes;
  if (g_listProcessesForDescendantWait(processes) == ProcessListStatus::kNoSnapshot) return false;
  // Wine starts its desktop process "explorer.exe" for the first program that needs a desktop
  // and keeps it for the whole session: it is not one of ours to wait for, even when it was
  // seen under another name while it started.
  auto isDesktop = [](const ProcessEntry& process) {
    return ExeNameMatches(process.exeName, L"explorer.exe", NameMatch::kIgnoringCase);
  };
  for (bool grown = true; grown;) {
    grown = false;
    for (const ProcessEntry& process : processes) {
      if (isDesktop(process) || known.count(process.id) != 0) continue;
      ULONGLONG parentCreation;
      if (process.parentId == GetCurrentProcessId()) {
        parentCreation = ownCreation;
      } else if (auto parent = known.find(process.parentId); parent != known.end()) {
        parentCreation = parent->second.created;
      } else {
        continue;
      }
      UniqueKernelHandle handle(OpenProcess(
          SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process.id));
      if (!handle) continue;  // ended meanwhile
      ULONGLONG created = CreationTime(handle.get());
      if (created < parentCreation) continue;
      known.emplace(process.id, Descendant{std::move(handle), created});
      grown = true;
    }
  }
  // A descendant first seen while it was still starting may have become the desktop process:
  // it is forgotten, never waited for or terminated (its handle keeps its id from being reused).
  for (const ProcessEntry& process : processes) {
    if (isDesktop(process)) known.erase(process.id);
  }
  for (const auto& [id, descendant] : known) {
    if (WaitForSingleObject(descendant.handle.get(), 0) == WAIT_TIMEOUT) return true;
  }
  return false;
}

}  // namespace

bool WaitForDescendantProcesses(DWORD timeoutMs) {
  std::map<DWORD, Descendant> known;
  const ULONGLONG ownCreation = CreationTime(GetCurrentProcess());
  if (WaitUntil([&] { return !DescendantsRunning(known, ownCreation); }, timeoutMs)) return true;
  for (const auto& [id, descendant] : known) {
    if (TerminateProcess(descendant.handle.get(), 1)) {
      WaitForSingleObject(descendant.handle.get(), 5000);
    }
  }
  return false;
}

std::vector<std::string> LogMessagesOf(const std::wstring& logFile) {
  std::vector<std::string> messages;
  for (const std::string& line : SplitLines(ReadFileBytes(logFile))) {
    messages.push_back(line.size() >= 24 ? line.substr(24) : line);
  }
  return messages;
}

bool ContainsInOrder(const std::vector<std::string>& lines,
                     const std::vector<std::string>& expected) {
  size_t next = 0;
  for (const std::string& line : lines) {
    if (next < expected.size() && line == expected[next]) ++next;
  }
  return next == expected.size();
}

int IndexOf(const std::vector<std::string>& lines, const std::string& line) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == line) return static_cast<int>(i);
  }
  return -1;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

}  // namespace vesk::testing
