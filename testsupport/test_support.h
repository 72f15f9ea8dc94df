// Shared test helpers. A test never touches the real user's settings: HKEY_CURRENT_USER is
// redirected to a throwaway key, and files live in a per-test temporary folder.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

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
  HKEY key_ = nullptr;
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
bool RegistryKeyExists(HKEY root, const std::wstring& key);

struct ProcessResult {
  bool started = false;
  bool finished = false;      // false: still running at the time limit, and then terminated
  DWORD exitCode = 0;
  std::vector<std::wstring> debugLines;  // OutputDebugString lines, when captured
};

struct RunOptions {
  std::wstring currentFolder;
  DWORD timeoutMs = 120000;
  bool captureDebugOutput = false;  // run the program under a debug loop to collect its lines
};

// Starts `commandLine` and waits for it to end.
ProcessResult RunProcess(const std::wstring& commandLine, const RunOptions& options = {});

std::wstring Widen(const std::string& text);  // byte-for-byte (Latin-1)
std::string Narrow(const std::wstring& text);  // characters above U+00FF become '?'

}  // namespace vesk::testing
