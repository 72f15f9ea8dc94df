// Windows side of the core's platform seam.
#include "uitoolkit/core/ui_platform.h"

#include <climits>
#include <cstdio>
#include <cwchar>
#include <utility>

#include "common/unique_handle.h"

namespace SkinUI {
namespace Platform {

std::size_t MultiByteToWide(CodePage codePage, const char* bytes, std::size_t count, wchar_t* out,
                            std::size_t capacity) {
  if (count == 0 || bytes == nullptr) return 0;
  // MultiByteToWideChar counts in int; larger inputs are refused rather than cut.
  if (count > static_cast<std::size_t>(INT_MAX)) return 0;
  const UINT page = codePage == CodePage::Utf8 ? CP_UTF8 : CP_ACP;
  // A byte never yields more than one UTF-16 code unit, so a buffer of `count` units takes the
  // whole conversion in one pass.
  if (out != nullptr && capacity >= count) {
    const int converted = ::MultiByteToWideChar(page, 0, bytes, static_cast<int>(count), out,
                                                static_cast<int>(count));
    return converted > 0 ? static_cast<std::size_t>(converted) : 0;
  }
  const int needed = ::MultiByteToWideChar(page, 0, bytes, static_cast<int>(count), nullptr, 0);
  if (needed <= 0) return 0;
  if (out != nullptr && capacity > 0) {
    if (capacity >= static_cast<std::size_t>(needed)) {
      ::MultiByteToWideChar(page, 0, bytes, static_cast<int>(count), out, needed);
    } else {
      // Only a prefix fits: convert everything into a scratch buffer, then copy the prefix.
      wchar_t* scratch = new wchar_t[static_cast<std::size_t>(needed)];
      ::MultiByteToWideChar(page, 0, bytes, static_cast<int>(count), scratch, needed);
      for (std::size_t i = 0; i < capacity; ++i) out[i] = scratch[i];
      delete[] scratch;
    }
  }
  return static_cast<std::size_t>(needed);
}

bool IsAlphaNumeric(wchar_t ch) { return ::IsCharAlphaNumericW(ch) != FALSE; }

wchar_t ToUpper(wchar_t ch) {
  if (ch >= 0xD800 && ch <= 0xDFFF) return ch;
  // CharUpperW maps a single character passed in the low word of the pointer argument.
  return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
      ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(ch)))));
}

wchar_t ToLower(wchar_t ch) {
  if (ch >= 0xD800 && ch <= 0xDFFF) return ch;
  return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
      ::CharLowerW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(ch)))));
}

int FormatV(wchar_t* buffer, std::size_t capacity, const wchar_t* format, std::va_list args) {
  if (format == nullptr) return -1;
  std::va_list measure;
  va_copy(measure, args);
  const int length = ::_vscwprintf(format, measure);
  va_end(measure);
  if (length < 0) return -1;
  if (buffer != nullptr && capacity > 0) {
    ::_vsnwprintf_s(buffer, capacity, _TRUNCATE, format, args);
  }
  return length;
}

CReadOnlyFile::~CReadOnlyFile() { Close(); }

bool CReadOnlyFile::Open(const wchar_t* path) {
  Close();
  if (path == nullptr) return false;
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  m_handle = file;
  return true;
}

void CReadOnlyFile::Close() {
  if (m_handle == nullptr) return;
  // The owner closes the handle and keeps the thread's last error.
  vesk::UniqueFile(static_cast<HANDLE>(std::exchange(m_handle, nullptr))).reset();
}

bool CReadOnlyFile::GetSize(std::uint64_t& size) const {
  LARGE_INTEGER value;
  if (m_handle == nullptr || !::GetFileSizeEx(static_cast<HANDLE>(m_handle), &value)) return false;
  size = static_cast<std::uint64_t>(value.QuadPart);
  return true;
}

std::size_t CReadOnlyFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (m_handle == nullptr) return 0;
  std::size_t total = 0;
  while (total < count) {
    const DWORD chunk = static_cast<DWORD>(
        count - total > 0x10000000u ? 0x10000000u : count - total);
    OVERLAPPED position = {};
    const std::uint64_t at = offset + total;
    position.Offset = static_cast<DWORD>(at & 0xFFFFFFFFu);
    position.OffsetHigh = static_cast<DWORD>(at >> 32);
    DWORD read = 0;
    if (!::ReadFile(static_cast<HANDLE>(m_handle), static_cast<char*>(buffer) + total, chunk, &read,
                    &position) ||
        read == 0) {
      break;
    }
    total += read;
  }
  return total;
}

}  // namespace Platform
}  // namespace SkinUI
