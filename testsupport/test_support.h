// Shared test helpers. A test never touches the real user's settings: HKEY_CURRENT_USER is
// redirected to a throwaway key, and files live in a per-test temporary folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace vesk::testing {

// Redirects this process's HKEY_CURRENT_USER to a fresh empty key for its lifetime, then deletes
// that key. Child processes are not affected.
class ScopedCurrentUserOverride {
 public:
  ScopedCurrentUserOverride();
  ~ScopedCurrentUserOverride();
  ScopedCurrentUserOverride(const ScopedCurrentUserOverride&) = delete;
  ScopedCurrentUserOverride& operator=(const ScopedCurrentUserOverride&) = delete;

 private:
  std::wstring keyPath_;
  UniqueRegKey key_;
};

// A new empty folder below the temporary folder, removed with all its content at the end.
class ScopedTempFolder {
 public:
  explicit ScopedTempFolder(const std::wstring& prefix = L"vesk_test");
  ~ScopedTempFolder();
  ScopedTempFolder(const ScopedTempFolder&) = delete;
  ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Removes a folder with its content; linked folders inside are unlinked, never followed.
void RemoveTree(const std::wstring& path);

// Makes `link` a link to the folder `target`. Under Wine, whose link calls do nothing, a Unix
// symbolic link is made (Wine shows it as a linked folder); on Windows, a directory symbolic link.
// False when no link could be made.
bool MakeFolderLink(const std::wstring& link, const std::wstring& target);
// Removes a link made by MakeFolderLink, leaving its target alone.
bool RemoveFolderLink(const std::wstring& link);

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
DWORD FileAttributes(const std::wstring& path);
// The whole file, or empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// Names of the entries of a folder (files and folders, without "." and ".."), sorted.
std::vector<std::wstring> ListFolder(const std::wstring& path);
// The lines of a CR LF text, without their line ends.
std::vector<std::string> SplitLines(const std::string& text);

// Registry reads for checks; `exists` tells apart a missing value.
struct RegistryValue {
  bool exists = false;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  std::wstring AsString() const;  // REG_SZ data without its terminating null
  DWORD AsDword() const;
};
RegistryValue ReadRegistryValue(HKEY root, const std::wstring& key, const std::wstring& name);
// Writes under HKEY_CURRENT_USER\<key>, creating the key when it is missing; an empty name is the
// key's default value. True when the key exists and the value was written.
bool CreateUserKey(const std::wstring& key);
bool WriteUserValue(const std::wstring& key, const std::wstring& name, DWORD type,
                    const void* data, DWORD bytes);
// Text stored with its terminating null.
bool WriteUserString(const std::wstring& key, const std::wstring& name, const std::wstring& text,
                     DWORD type = REG_SZ);
bool RegistryKeyExists(HKEY root, const std::wstring& key);

struct ProcessResult {
  bool started = false;
  DWORD startError = 0;       // GetLastError of the last failed start
  bool finished = false;      // false: still running at the time limit, and then terminated
  DWORD exitCode = 0;
  std::vector<std::wstring> debugLines;  // OutputDebugString lines, when captured
  bool windowClosed = false;  // the awaited window showed and was sent WM_CLOSE
};

struct RunOptions {
  std::wstring currentFolder;
  DWORD timeoutMs = 120000;
  bool captureDebugOutput = false;  // run the program under a debug loop to collect its lines
  // When not empty: once a visible top-level window of this class belonging to the started
  // program exists, `whileWindowShown` runs (when set) and the window is then sent WM_CLOSE.
  std::wstring closeWindowOfClass;
  std::function<void(HWND)> whileWindowShown;
};

// Starts `commandLine` and waits for it to end (closing the awaited window, see RunOptions).
ProcessResult RunProcess(const std::wstring& commandLine, const RunOptions& options = {});

// Copies the test child program (vesk_test_child.exe, see test_child.cpp) to `path`, creating its
// folder; false on failure.
bool PlaceTestChild(const std::wstring& path);
// The command line in a line the test child recorded (the part after its own path and the tab).
std::wstring RecordedCommandLine(const std::string& recordLine);
// The arguments of a command line as a started program sees them (element 0 is the program).
std::vector<std::wstring> CommandLineArguments(const std::wstring& commandLine);

// A program started for a test, terminated at the end when it still runs.
class ChildProcess {
 public:
  explicit ChildProcess(const std::wstring& path, const std::wstring& arguments = L"");
  // A copy of the test child that waits `sleepMs` and exits with 0.
  ChildProcess(const std::wstring& path, DWORD sleepMs);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_.valid(); }
  HANDLE handle() const { return process_.get(); }
  DWORD id() const { return id_; }
  // True when the program ended within `timeoutMs`.
  bool WaitForExit(DWORD timeoutMs);
  // Its exit code; STILL_ACTIVE while it runs or when it did not start.
  DWORD ExitCode() const;

 private:
  UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// The text of a debugger output event of `process` (the debugged child), whichever its width.
std::wstring ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info);

std::wstring Widen(const std::string& text);  // byte-for-byte (Latin-1)
std::string Narrow(const std::wstring& text);  // characters above U+00FF become '?'

}  // namespace vesk::testing
