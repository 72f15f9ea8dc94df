// Escalating ways to remove files and folders that may be in use: plain deletion, renaming into
// the temporary folder with deletion at reboot, and deletion of the path itself at reboot.
#pragma once

#include <string>

namespace vesk::uninstall {

// Deletes the folder's content entry by entry (locked files take the temporary-folder road),
// each subfolder once, then the folder itself, which is scheduled for deletion at reboot when it
// cannot be removed now. True when everything is gone or will go at reboot.
bool DeleteDirectoryRecursive(const std::wstring& folder);

// Deletes the file, or moves it into the temporary folder and schedules it for deletion at
// reboot, or schedules the file itself. True when its place is free or will be at reboot.
bool MoveToTempAndScheduleDelete(const std::wstring& file);

// A free path in the temporary folder for `file`; empty when no such name fits a 260-character
// path (the name is never cut short).
[[nodiscard]] std::wstring MakeTempDeleteName(const std::wstring& file);

// Removes a linked folder (junction or symbolic link) as a link, without entering it; logs either
// outcome. True when the link was removed.
bool RemoveLinkedFolderAsLink(const std::wstring& path);

// Asks Windows to delete `path` at the next reboot.
bool ScheduleDeleteOnReboot(const std::wstring& path);

}  // namespace vesk::uninstall
