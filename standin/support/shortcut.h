// Shell shortcuts (.lnk files) on the current user's desktop. The caller initialises COM.
#pragma once

#include <windows.h>

#include <string>

namespace vesk::standin {

// The current user's desktop folder; empty when it cannot be determined.
std::wstring DesktopFolder();

// Saves a shortcut at `linkPath` that starts `target` in `workingFolder`.
HRESULT CreateShortcut(const std::wstring& linkPath, const std::wstring& target,
                       const std::wstring& workingFolder, const std::wstring& description);

// The program a shortcut starts; empty when the file is not a readable shortcut.
std::wstring ShortcutTarget(const std::wstring& linkPath);

}  // namespace vesk::standin
