#include "standin/support/file_tools.h"

#include "common/process_list.h"
#include "common/unique_handle.h"

namespace vesk::standin {
namespace {

bool WriteAll(HANDLE file, const void* data, size_t size) {
  const BYTE* bytes = static_cast<const BYTE*>(data);
  while (size > 0) {
    DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

bool IsKept(const std::wstring& path, const std::vector<std::wstring>& keep) {
  for (const std::wstring& kept : keep) {
    if (SamePath(path, kept)) return true;
  }
  return false;
}

// True when a kept path lies inside `folder`.
bool LeadsToKept(const std::wstring& folder, const std::vector<std::wstring>& keep) {
  for (const std::wstring& kept : keep) {
    if (kept.size() > folder.size() && kept[folder.size()] == L'\\' &&
        SamePath(kept.substr(0, folder.size()), folder)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
  UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && WriteAll(file.get(), data, size);
}

bool WriteTextFile(const std::wstring& path, const std::string& text) {
  return WriteWholeFile(path, text.data(), text.size());
}

bool AppendToFile(const std::wstring& path, const std::string& bytes) {
  UniqueFile file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return file && WriteAll(file.get(), bytes.data(), bytes.size());
}

bool WriteResourceToFile(HMODULE module, int id, const std::wstring& path) {
  HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_RCDATA);
  if (resource == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data == nullptr) return false;
  return WriteWholeFile(path, data, SizeofResource(module, resource));
}

bool PathExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool SamePath(const std::wstring& left, const std::wstring& right) {
  return CompareStringOrdinal(left.c_str(), static_cast<int>(left.size()), right.c_str(),
                              static_cast<int>(right.size()), TRUE) == CSTR_EQUAL;
}

bool DeleteContentsExcept(const std::wstring& folder, const std::vector<std::wstring>& keep) {
  bool allGone = true;
  WIN32_FIND_DATAW entry;
  UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
  if (find) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (IsKept(path, keep)) continue;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        if (!DeleteContentsExcept(path, keep)) allGone = false;
      } else {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) {
          SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
        if (!DeleteFileW(path.c_str())) allGone = false;
      }
    } while (FindNextFileW(find.get(), &entry));
  }
  find.reset();
  if (LeadsToKept(folder, keep)) return allGone;
  return RemoveDirectoryW(folder.c_str()) && allGone;
}

bool IsProcessRunning(const wchar_t* executableName) {
  return !FindProcessesByName(executableName, NameMatch::kExact).ids.empty();
}

}  // namespace vesk::standin
