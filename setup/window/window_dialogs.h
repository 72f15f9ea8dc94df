// The two modal dialogs of the setup window: the shell's folder browser and a message box.
// Tests replace them, since a modal dialog would wait for a person.
#pragma once

#include <windows.h>

#include <string>

#include "common/seam.h"

namespace vesk {

// Asks for a folder with the title, as a dialog owned by `owner` (disabled while it is open);
// true with its file-system path (at most 260 characters) when one was chosen, false when the
// user cancelled or the choice has no such path.
using PickFolderFunction = bool (*)(HWND owner, const wchar_t* title, std::wstring& folder);
extern Seam<PickFolderFunction> g_pickFolder;

extern Seam<decltype(&::MessageBoxW)> g_setupMessageBox;

}  // namespace vesk
