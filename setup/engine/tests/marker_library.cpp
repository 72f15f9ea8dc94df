// A library that tests place beside a program under the names of system libraries. Loaded in
// their place, it leaves "<its own path>.loaded" behind, which the tests look for.
#include <windows.h>

#include "common/unique_handle.h"

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8] = {};
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return TRUE;
  lstrcatW(path, L".loaded");
  // Created and closed at once: only its existence tells.
  vesk::UniqueFile marker(
      CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  return TRUE;
}
