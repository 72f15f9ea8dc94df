#include "setup/engine/tests/engine_test_support.h"

#include <cwchar>
#include <ostream>
#include <set>

#include "common/process_list.h"

namespace vesk::testing {

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
  window_ = CreateWindowExW(0, kRecorderClass, L"recorder", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                            nullptr, GetModuleHandleW(nullptr), this);
}

MessageRecorder::~MessageRecorder() {
  if (window_ != nullptr) DestroyWindow(window_);
}

LRESULT CALLBACK MessageRecorder::WindowProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<MessageRecorder*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr && message >= WM_USER && message <= WM_APP + 0xFF) {
    if (self->handler_) self->handler_(message, wParam);
    self->received_.push_back({message, wParam, GetTickCount64()});
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool MessageRecorder::PumpUntil(UINT message, DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  auto arrived = [&] {
    for (const Received& received : received_) {
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
  for (const Received& received : received_) {
    if (received.message == message) values.push_back(static_cast<int>(received.wParam));
  }
  return values;
}

namespace {

// Adds to `known` every running process whose parent is this process or already known (a parent
// that has ended included), and answers whether any known process still runs.
bool DescendantsRunning(std::set<DWORD>& known) {
  std::vector<ProcessEntry> processes;
  if (ListProcesses(processes) == ProcessListStatus::kNoSnapshot) return false;
  // Wine starts its desktop process "explorer.exe" for the first program that needs a desktop
  // and keeps it for the whole session: it is not one of ours to wait for, even when it was
  // seen under another name while it started.
  auto isDesktop = [](const ProcessEntry& process) {
    return ExeNameMatches(process.exeName, L"explorer.exe", NameMatch::kIgnoringCase);
  };
  for (bool grown = true; grown;) {
    grown = false;
    for (const ProcessEntry& process : processes) {
      if (isDesktop(process)) continue;
      bool parentKnown = process.parentId == GetCurrentProcessId() ||
                         known.count(process.parentId) != 0;
      if (parentKnown && known.insert(process.id).second) grown = true;
    }
  }
  for (const ProcessEntry& process : processes) {
    if (known.count(process.id) != 0 && !isDesktop(process)) return true;
  }
  return false;
}

}  // namespace

bool WaitForDescendantProcesses(DWORD timeoutMs) {
  std::set<DWORD> known;
  if (WaitUntil([&] { return !DescendantsRunning(known); }, timeoutMs)) return true;
  for (DWORD id : known) {
    UniqueKernelHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
    if (process) {
      TerminateProcess(process.get(), 1);
      WaitForSingleObject(process.get(), 5000);
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
