// Libraries come from the system folder only: a DLL placed beside a program (a Downloads folder
// holds whatever a browser saved there) or in the current folder is never loaded in its place.
#pragma once

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

namespace vesk {

// Restricts every later library load of the process, the system's own included, to the system
// folder. Called first thing in each program's entry, before anything loads a library.
inline void RestrictLibrarySearchToSystemFolder() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Loads a system library from the system folder, whatever the process-wide setting.
[[nodiscard]] inline HMODULE LoadSystemLibrary(const wchar_t* name) {
  return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// A function of a system library looked up at run time in the system folder; null when it is
// missing. The library stays loaded for the life of the process.
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = LoadSystemLibrary(library);
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The shell's functions the programs use. shell32 and shlwapi are not in the programs' import
// tables: loaded as the program starts, before its entry restricts the search, they would bring
// their own dependencies (under Wine shcore, for one) from the program's folder. Each call fails
// as the function does when the library cannot be loaded.
namespace shell {

inline LPWSTR* CommandLineToArgv(LPCWSTR commandLine, int* count) {
  static const auto function =
      SystemFunction<decltype(&::CommandLineToArgvW)>(L"shell32.dll", "CommandLineToArgvW");
  return function != nullptr ? function(commandLine, count) : nullptr;
}

inline void ChangeNotify(LONG event, UINT flags, LPCVOID first, LPCVOID second) {
  static const auto function =
      SystemFunction<decltype(&::SHChangeNotify)>(L"shell32.dll", "SHChangeNotify");
  if (function != nullptr) function(event, flags, first, second);
}

inline int CreateDirectoryEx(HWND window, LPCWSTR path, const SECURITY_ATTRIBUTES* security) {
  static const auto function =
      SystemFunction<decltype(&::SHCreateDirectoryExW)>(L"shell32.dll", "SHCreateDirectoryExW");
  return function != nullptr ? function(window, path, security) : ERROR_PROC_NOT_FOUND;
}

inline HRESULT GetFolderPath(HWND window, int folder, HANDLE token, DWORD flags, LPWSTR path) {
  static const auto function =
      SystemFunction<decltype(&::SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
  return function != nullptr ? function(window, folder, token, flags, path)
                             : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

inline HINSTANCE Execute(HWND window, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                         LPCWSTR folder, INT show) {
  static const auto function =
      SystemFunction<decltype(&::ShellExecuteW)>(L"shell32.dll", "ShellExecuteW");
  // Results up to 32 are failures; SE_ERR_DLLNOTFOUND tells this one.
  if (function == nullptr) return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_DLLNOTFOUND));
  return function(window, verb, file, parameters, folder, show);
}

inline BOOL ExecuteEx(SHELLEXECUTEINFOW* info) {
  static const auto function =
      SystemFunction<decltype(&::ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
  if (function == nullptr) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
  }
  return function(info);
}

inline BOOL PathStripToRoot(LPWSTR path) {
  static const auto function =
      SystemFunction<BOOL(WINAPI*)(LPWSTR)>(L"shlwapi.dll", "PathStripToRootW");
  return function != nullptr ? function(path) : FALSE;
}

inline BOOL PathFileExists(LPCWSTR path) {
  static const auto function =
      SystemFunction<BOOL(WINAPI*)(LPCWSTR)>(L"shlwapi.dll", "PathFileExistsW");
  return function != nullptr ? function(path) : FALSE;
}

// The shell's folder browser; null when it cannot be shown or the user cancels.
inline PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOW* info) {
  static const auto function =
      SystemFunction<decltype(&::SHBrowseForFolderW)>(L"shell32.dll", "SHBrowseForFolderW");
  return function != nullptr ? function(info) : nullptr;
}

// The file-system path of an item list, into a buffer of `size` characters; FALSE when the item
// is no file-system folder or its path does not fit.
inline BOOL GetPathFromIDList(PCIDLIST_ABSOLUTE item, LPWSTR path, DWORD size) {
  static const auto function =
      SystemFunction<decltype(&::SHGetPathFromIDListEx)>(L"shell32.dll", "SHGetPathFromIDListEx");
  return function != nullptr ? function(item, path, size, GPFIDL_DEFAULT) : FALSE;
}

}  // namespace shell

}  // namespace vesk
