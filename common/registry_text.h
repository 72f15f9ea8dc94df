// Reading a registry text value through a buffer of fixed size.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/seam.h"

namespace vesk {

// The value query every bounded read goes through. Tests replace it to answer as Windows may
// where Wine does not (a buffer filled with the start of a value that does not fit).
inline Seam<decltype(&::RegQueryValueExW)> g_queryRegistryValue{&::RegQueryValueExW};

// Registry text data as text: up to its first null, or all of it when it holds none (the stored
// data need not end with one). `bytes` is the size the query reported.
[[nodiscard]] inline std::wstring TextUpToFirstNull(const wchar_t* data, size_t bytes) {
  const size_t units = bytes / sizeof(wchar_t);
  size_t length = 0;
  while (length < units && data[length] != L'\0') ++length;
  return std::wstring(data, length);
}

// Reads the value `name` of `key` into a buffer of `bufferChars` characters and takes its text up
// to the first null, or up to the end of the data when it has none; the data is never read past
// the buffer. Answers the query's status: anything but ERROR_SUCCESS leaves `text` empty (a value
// that does not fit gives ERROR_MORE_DATA, and whatever the buffer then holds is not used).
inline LSTATUS ReadBoundedRegistryText(HKEY key, const wchar_t* name, size_t bufferChars,
                                       std::wstring& text) {
  text.clear();
  std::vector<wchar_t> buffer(bufferChars, L'\0');
  DWORD size = static_cast<DWORD>(bufferChars * sizeof(wchar_t));
  LSTATUS status = g_queryRegistryValue(key, name, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (status != ERROR_SUCCESS) return status;
  text = TextUpToFirstNull(buffer.data(), std::min<size_t>(size, bufferChars * sizeof(wchar_t)));
  return ERROR_SUCCESS;
}

// Reads the value `name` of `key` whole, however long, and takes its text up to the first null.
// Answers the query's status; anything but ERROR_SUCCESS leaves `text` empty.
inline LSTATUS ReadWholeRegistryText(HKEY key, const wchar_t* name, std::wstring& text) {
  text.clear();
  std::vector<wchar_t> buffer(260, L'\0');
  // A value that grows between two queries asks for a larger buffer again; a few rounds settle it.
  for (int round = 0; round < 8; ++round) {
    DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    LSTATUS status = g_queryRegistryValue(key, name, nullptr, nullptr,
                                          reinterpret_cast<BYTE*>(buffer.data()), &size);
    if (status == ERROR_MORE_DATA) {
      buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
      continue;
    }
    if (status != ERROR_SUCCESS) return status;
    text = TextUpToFirstNull(buffer.data(),
                             std::min<size_t>(size, buffer.size() * sizeof(wchar_t)));
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

}  // namespace vesk
