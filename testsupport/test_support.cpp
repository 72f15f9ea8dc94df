#include "testsupport/test_support.h"

#include <algorithm>
#include <atomic>

#include <shlobj.h>

#include "common/command_line_arguments.h"
#include "common/folder_entries.h"
#include "common/unique_handle.h"

namespace vesk::testing {

ScopedCurrentUserOverride::ScopedCurrentUserOverride() {
  static std::atomic<int> counter{0};
  keyPath_ = L"Software\\VeskTests\\user_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter);
  RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                  key_.put(), nullptr);
  RegOverridePredefKey(HKEY_CURRENT_USER, key_.get());
}

ScopedCurrentUserOverride::~ScopedCurrentUserOverride() {
  RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
  key_.reset();
  RegDeleteTreeW(HKEY_CURRENT_USER, keyPath_.c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, keyPath_.c_str());
}

ScopedTempFolder::ScopedTempFolder(const std::wstring& prefix) {
  static std::atomic<int> counter{0};
  wchar_t temp[MAX_PATH];
  DWORD length = GetTempPathW(MAX_PATH, temp);
  std::wstring base(temp, length);
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  for (;;) {
    path_ = base + L"\\" + prefix + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount()) + L"_" + std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

ScopedTempFolder::~ScopedTempFolder() { RemoveTree(path_); }

namespace {

// Removes every linked folder in the tree, so that no later deletion reaches through one (and a
// link whose target went first, which Wine no longer lists, is not left behind).
void RemoveLinksInTree(const std::wstring& path) {
  std::vector<FolderEntry> entries;
  ListFolderEntries(path, entries);
  for (const FolderEntry& entry : entries) {
    if (!entry.isFolder) continue;
    const std::wstring child = path + L"\\" + entry.name;
    if (entry.isLink) {
      RemoveFolderLink(child);
    } else {
      RemoveLinksInTree(child);
    }
  }
}

void RemoveTreeWithoutLinks(const std::wstring& path) {
  std::vector<FolderEntry> entries;
  ListFolderEntries(path, entries);
  for (const FolderEntry& entry : entries) {
    if (entry.isFolder && entry.isLink) continue;  // a link that could not be removed
    const std::wstring child = path + L"\\" + entry.name;
    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (entry.isFolder) {
      RemoveTreeWithoutLinks(child);
    } else {
      DeleteFileW(child.c_str());
    }
  }
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(path.c_str());
}

}  // namespace

void RemoveTree(const std::wstring& path) {
  RemoveLinksInTree(path);
  RemoveTreeWithoutLinks(path);
}

namespace {

// Wine's name of a Windows path in the Unix file system; empty outside Wine.
std::string UnixPathUnderWine(const std::wstring& path) {
  using UnixFileName = char*(__cdecl*)(const wchar_t*);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto toUnix = reinterpret_cast<UnixFileName>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
  if (toUnix == nullptr) return std::string();
  char* name = toUnix(path.c_str());
  if (name == nullptr) return std::string();
  std::string result = name;
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

bool IsLink(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Runs a Unix program under Wine (which starts Unix binaries natively, without a usable exit
// code) and waits up to 5 s for `done` to hold.
template <typename Done>
bool RunUnixCommand(const std::wstring& program, const std::wstring& arguments, Done done) {
  std::wstring commandLine = program + L" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  UniqueKernelHandle thread(process.hThread);
  UniqueKernelHandle handle(process.hProcess);
  for (int waited = 0; waited < 5000; waited += 20) {
    if (done()) return true;
    Sleep(20);
  }
  return done();
}

std::wstring Quoted(const std::string& unixPath) {
  return L"\"" + std::wstring(unixPath.begin(), unixPath.end()) + L"\"";
}

}  // namespace

bool MakeFolderLink(const std::wstring& link, const std::wstring& target) {
  const std::string unixLink = UnixPathUnderWine(link);
  const std::string unixTarget = UnixPathUnderWine(target);
  if (!unixLink.empty() && !unixTarget.empty()) {
    return RunUnixCommand(L"Z:\\usr\\bin\\ln", L"-s " + Quoted(unixTarget) + L" " + Quoted(unixLink),
                          [&] { return IsLink(link); });
  }
  return CreateSymbolicLinkW(link.c_str(), target.c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY |
                                 SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) != FALSE &&
         IsLink(link);
}

bool RemoveFolderLink(const std::wstring& link) {
  const std::string unixLink = UnixPathUnderWine(link);
  if (!unixLink.empty()) {
    return RunUnixCommand(L"Z:\\usr\\bin\\rm", L"-f " + Quoted(unixLink),
                          [&] { return GetFileAttributesW(link.c_str()) == INVALID_FILE_ATTRIBUTES; });
  }
  return RemoveDirectoryW(link.c_str()) != FALSE;
}

DWORD FileAttributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool FileExists(const std::wstring& path) {
  DWORD attributes = FileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  DWORD attributes = FileAttributes(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadFileBytes(const std::wstring& path) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes;
  if (!file) return bytes;
  char buffer[65536];
  DWORD read = 0;
  while (ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
    bytes.append(buffer, read);
  }
  return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::vector<std::wstring> ListFolder(const std::wstring& path) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileW((path + L"\\*").c_str(), &entry));
  if (!find) return names;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (FindNextFileW(find.get(), &entry));
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

std::wstring RegistryValue::AsString() const {
  std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
  if (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

DWORD RegistryValue::AsDword() const {
  DWORD value = 0;
  if (data.size() >= sizeof(value)) memcpy(&value, data.data(), sizeof(value));
  return value;
}

RegistryValue ReadRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name) {
  RegistryValue value;
  UniqueRegKey opened;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, nullptr, &size) !=
      ERROR_SUCCESS) {
    return value;
  }
  value.data.resize(size);
  if (RegQueryValueExW(opened.get(), name.c_str(), nullptr, &value.type, value.data.data(),
                       &size) == ERROR_SUCCESS) {
    value.exists = true;
    value.data.resize(size);
  }
  return value;
}

bool CreateUserKey(const std::wstring& key) {
  UniqueRegKey opened;
  return RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                         opened.put(), nullptr) == ERROR_SUCCESS;
}

bool WriteUserValue(const std::wstring& key, const std::wstring& name, DWORD type,
                    const void* data, DWORD bytes) {
  UniqueRegKey opened;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      opened.put(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExW(opened.get(), name.empty() ? nullptr : name.c_str(), 0, type,
                        static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
}

bool WriteUserString(const std::wstring& key, const std::wstring& name, const std::wstring& text,
                     DWORD type) {
  return WriteUserValue(key, name, type, text.c_str(),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool RegistryKeyExists(HKEY root, const std::wstring& key) {
  UniqueRegKey opened;
  return RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

bool PlaceTestChild(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) SHCreateDirectoryExW(nullptr, path.substr(0, slash).c_str(), nullptr);
  return CopyFileW(VESK_TEST_CHILD_EXE, path.c_str(), FALSE) != FALSE;
}

std::wstring RecordedCommandLine(const std::string& recordLine) {
  size_t tab = recordLine.find('\t');
  return Widen(tab == std::string::npos ? recordLine : recordLine.substr(tab + 1));
}

std::vector<std::wstring> CommandLineArguments(const std::wstring& commandLine) {
  return SplitCommandLine(commandLine.c_str()).value_or(std::vector<std::wstring>());
}

ChildProcess::ChildProcess(const std::wstring& path, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + path + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    process_.reset(process.hProcess);
    UniqueKernelHandle thread(process.hThread);
    id_ = process.dwProcessId;
  }
}

ChildProcess::ChildProcess(const std::wstring& path, DWORD sleepMs)
    : ChildProcess(path, L"--sleep " + std::to_wstring(sleepMs)) {}

ChildProcess::~ChildProcess() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 10000);
  }
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
  return process_ && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_.get(), &code);
  return code;
}

std::wstring Widen(const std::string& text) {
  std::wstring wide;
  for (unsigned char c : text) wide += static_cast<wchar_t>(c);
  return wide;
}

std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += static_cast<unsigned>(c) <= 0xFF ? static_cast<char>(c) : '?';
  return narrow;
}

std::wstring ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  std::wstring text;
  if (info.fUnicode) {
    std::vector<wchar_t> buffer(info.nDebugStringLength);
    SIZE_T read = 0;
    if (ReadProcessMemory(process, info.lpDebugStringData, buffer.data(),
                          buffer.size() * sizeof(wchar_t), &read)) {
      text.assign(buffer.data(), read / sizeof(wchar_t));
    }
  } else {
    std::vector<char> buffer(info.nDebugStringLength);
    SIZE_T read = 0;
    if (ReadProcessMemory(process, info.lpDebugStringData, buffer.data(), buffer.size(), &read)) {
      text = Widen(std::string(buffer.data(), read));
    }
  }
  while (!text.empty() && (text.back() == L'\0' || text.back() == L'\n')) text.pop_back();
  return text;
}

namespace {

constexpr DWORD kWindowPollMs = 50;

struct WindowSearch {
  DWORD processId;
  const std::wstring* className;
  HWND found;
};

// A visible top-level window of the class that belongs to the process, or null.
HWND FindShownWindow(DWORD processId, const std::wstring& className) {
  WindowSearch search = {processId, &className, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        WindowSearch& search = *reinterpret_cast<WindowSearch*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t name[256] = {};
        if (owner != search.processId || !IsWindowVisible(window) ||
            GetClassNameW(window, name, 256) == 0 || *search.className != name) {
          return TRUE;
        }
        search.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Looks out for the window RunOptions awaits, at most every kWindowPollMs: once it shows, runs
// the caller's step and asks the window to close.
class WindowCloser {
 public:
  WindowCloser(const RunOptions& options, DWORD processId, ProcessResult& result)
      : options_(options), processId_(processId), result_(result) {}

  bool waiting() const { return !options_.closeWindowOfClass.empty() && !result_.windowClosed; }

  void Poll() {
    if (!waiting() || GetTickCount64() - lastPoll_ < kWindowPollMs) return;
    lastPoll_ = GetTickCount64();
    HWND window = FindShownWindow(processId_, options_.closeWindowOfClass);
    if (window == nullptr) return;
    if (options_.whileWindowShown) options_.whileWindowShown(window);
    PostMessageW(window, WM_CLOSE, 0, 0);
    result_.windowClosed = true;
  }

 private:
  const RunOptions& options_;
  DWORD processId_;
  ProcessResult& result_;
  ULONGLONG lastPoll_ = 0;
};

// Milliseconds left until `deadline`, no more than kWindowPollMs while a window is awaited.
DWORD WaitSlice(ULONGLONG deadline, const WindowCloser& closer) {
  const ULONGLONG now = GetTickCount64();
  const DWORD remaining = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
  return closer.waiting() ? std::min(remaining, kWindowPollMs) : remaining;
}

void DebugLoop(const PROCESS_INFORMATION& process, const RunOptions& options,
               ProcessResult& result) {
  ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
  WindowCloser closer(options, process.dwProcessId, result);
  bool terminated = false;
  for (;;) {
    if (!terminated) closer.Poll();
    DEBUG_EVENT event;
    if (!WaitForDebugEvent(&event, terminated ? 10000 : WaitSlice(deadline, closer))) {
      if (terminated) return;
      if (GetTickCount64() < deadline) continue;
      TerminateProcess(process.hProcess, 1);
      terminated = true;
      continue;
    }
    DWORD continueStatus = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        UniqueKernelHandle(event.u.CreateProcessInfo.hFile).reset();
        break;
      case LOAD_DLL_DEBUG_EVENT:
        UniqueKernelHandle(event.u.LoadDll.hFile).reset();
        break;
      case OUTPUT_DEBUG_STRING_EVENT:
        result.debugLines.push_back(ReadDebugString(process.hProcess, event.u.DebugString));
        break;
      case EXCEPTION_DEBUG_EVENT:
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
          continueStatus = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      default:
        break;
    }
    bool exited = event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT;
    if (exited) {
      result.exitCode = event.u.ExitProcess.dwExitCode;
      result.finished = !terminated;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    if (exited) return;
  }
}

}  // namespace

ProcessResult RunProcess(const std::wstring& commandLine, const RunOptions& options) {
  ProcessResult result;
  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  std::wstring mutableCommandLine = commandLine;
  DWORD flags = options.captureDebugOutput ? DEBUG_ONLY_THIS_PROCESS : 0;
  // A program copied a moment ago can fail to start once under a loaded Wine (seen in a full
  // parallel run, never alone); a missing file fails at once.
  for (int attempt = 0;; ++attempt) {
    if (CreateProcessW(nullptr, &mutableCommandLine[0], nullptr, nullptr, FALSE, flags, nullptr,
                       options.currentFolder.empty() ? nullptr : options.currentFolder.c_str(),
                       &startup, &process)) {
      break;
    }
    result.startError = GetLastError();
    if (attempt == 2 || result.startError == ERROR_FILE_NOT_FOUND ||
        result.startError == ERROR_PATH_NOT_FOUND) {
      return result;
    }
    Sleep(200);
  }
  result.started = true;
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  if (options.captureDebugOutput) {
    DebugLoop(process, options, result);
    return result;
  }
  const ULONGLONG deadline = GetTickCount64() + options.timeoutMs;
  WindowCloser closer(options, process.dwProcessId, result);
  for (;;) {
    closer.Poll();
    if (WaitForSingleObject(process.hProcess, WaitSlice(deadline, closer)) == WAIT_OBJECT_0) {
      result.finished = true;
      GetExitCodeProcess(process.hProcess, &result.exitCode);
      return result;
    }
    if (GetTickCount64() >= deadline) break;
  }
  TerminateProcess(process.hProcess, 1);
  WaitForSingleObject(process.hProcess, 10000);
  return result;
}

}  // namespace vesk::testing
