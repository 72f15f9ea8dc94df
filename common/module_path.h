// Where the running program lies.
#pragma once

#include <windows.h>

#include <string>

namespace vesk {

// Full path of the given module (the running program for nullptr), however long; empty on failure.
[[nodiscard]] inline std::wstring GetModulePath(HMODULE module = nullptr) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(module, &buffer[0], static_cast<DWORD>(buffer.size()));
    if (length == 0) return std::wstring();
    if (length < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

// The folder part of a path: everything before its last backslash (the path itself if it has none).
[[nodiscard]] inline std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(0, slash);
}

}  // namespace vesk
