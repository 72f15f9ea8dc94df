// One level of a folder's content.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"

namespace vesk {

struct FolderEntry {
  std::wstring name;
  bool isFolder;
  // A junction or symbolic link: what it points to lies outside the folder being walked.
  bool isLink;
};

// The folder's entries in search order without "." and ".."; false when the search cannot start.
inline bool ListFolderEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) {
  WIN32_FIND_DATAW data;
  UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &data));
  if (!find) return false;
  do {
    std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
  } while (FindNextFileW(find.get(), &data));
  return true;
}

}  // namespace vesk
