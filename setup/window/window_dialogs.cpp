#include "setup/window/window_dialogs.h"

#include <objbase.h>
#include <shlobj.h>

#include "common/system_libraries.h"

namespace vesk {
namespace {

// The shell folder browser: new dialog style, file-system folders only, no root.
bool PickFolderWithShell(HWND owner, const wchar_t* title, std::wstring& folder) {
  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.lpszTitle = title;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  PIDLIST_ABSOLUTE item = shell::BrowseForFolder(&info);
  if (item == nullptr) return false;
  wchar_t path[MAX_PATH] = {};
  const bool converted = shell::GetPathFromIDList(item, path, MAX_PATH) != FALSE;
  CoTaskMemFree(item);
  if (!converted) return false;
  folder = path;
  return true;
}

}  // namespace

Seam<PickFolderFunction> g_pickFolder{&PickFolderWithShell};
Seam<decltype(&::MessageBoxW)> g_setupMessageBox{&::MessageBoxW};

}  // namespace vesk
