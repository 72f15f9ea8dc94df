// The walk that removes a folder with everything in it. Linked folders (junctions and symbolic
// links) are removed as links and never entered, so nothing outside the tree can be deleted
// through them. What is done at each step, and logged, is the caller's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "common/folder_entries.h"

namespace vesk {

class FolderTreeRemoval {
 public:
  virtual ~FolderTreeRemoval() = default;

  // Removes the folder's entries (subfolders first, each once), then the folder itself. True
  // when every step reported success.
  bool Remove(const std::wstring& folder) {
    std::vector<FolderEntry> entries;
    if (!ListEntries(folder, entries)) return false;
    bool removed = true;
    for (const FolderEntry& entry : entries) {
      std::optional<std::wstring> path = EntryPath(folder, entry.name);
      if (!path) {
        removed = false;
        continue;
      }
      bool entryRemoved;
      if (entry.isFolder && entry.isLink) {
        entryRemoved = RemoveLinkedFolder(*path);
      } else if (entry.isFolder) {
        entryRemoved = Remove(*path);
      } else {
        entryRemoved = RemoveFile(*path);
      }
      if (!entryRemoved) removed = false;
    }
    return RemoveEmptiedFolder(folder, removed);
  }

 protected:
  // The folder's entries; false ends the walk of this folder with false, without removing it.
  virtual bool ListEntries(const std::wstring& folder, std::vector<FolderEntry>& entries) {
    return ListFolderEntries(folder, entries);
  }
  // The entry's path; empty when it cannot be formed, and then the entry stays.
  virtual std::optional<std::wstring> EntryPath(const std::wstring& folder,
                                                const std::wstring& name) {
    return folder + L"\\" + name;
  }
  virtual bool RemoveLinkedFolder(const std::wstring& path) = 0;
  virtual bool RemoveFile(const std::wstring& path) = 0;
  // Removes the folder once its entries have been dealt with; `entriesRemoved` tells whether all
  // of them went. Answers the result of the whole folder.
  virtual bool RemoveEmptiedFolder(const std::wstring& folder, bool entriesRemoved) = 0;
};

}  // namespace vesk
