// The toolkit core's one contact with the operating system. The string and container types, the
// markup parser and the zip reader use only what is declared here, so the same sources build for
// Windows and natively on Linux (for sanitizers, fuzzing and benchmarks).
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
// The few Windows value types the core types are laid out on.
typedef unsigned char BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef unsigned int UINT;
typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT;
typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT;
typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE;
#ifndef MAX_PATH
#define MAX_PATH 260
#endif
#endif

namespace SkinUI {
namespace Platform {

enum class CodePage {
  Utf8,  // UTF-8
  Ansi,  // the system's default code page (Windows-1252 in the native build)
};

// Converts `count` bytes to UTF-16 code units (one code unit per wchar_t on every platform;
// malformed input becomes U+FFFD). Writes at most `capacity` units to `out` when `out` is not
// null and returns the number of units the whole conversion needs.
std::size_t MultiByteToWide(CodePage codePage, const char* bytes, std::size_t count, wchar_t* out,
                            std::size_t capacity);

// True for letters of any script and for digits.
bool IsAlphaNumeric(wchar_t ch);

// Simple one-to-one case mapping of a code unit.
wchar_t ToUpper(wchar_t ch);
wchar_t ToLower(wchar_t ch);

// printf-style formatting with Windows' wide conventions on every platform: %s and %c take wide
// text. Returns the length of the complete result, or -1 for a bad format; writes at most
// `capacity` characters, terminator included, when `buffer` is not null.
int FormatV(wchar_t* buffer, std::size_t capacity, const wchar_t* format, std::va_list args);

// A file opened for shared reading. The path is a Windows path; the native build reads it with
// backslashes taken as slashes.
class CReadOnlyFile {
 public:
  CReadOnlyFile() = default;
  ~CReadOnlyFile();
  CReadOnlyFile(const CReadOnlyFile&) = delete;
  CReadOnlyFile& operator=(const CReadOnlyFile&) = delete;

  [[nodiscard]] bool Open(const wchar_t* path);
  void Close();
  bool IsOpen() const { return m_handle != nullptr; }
  // Size in bytes; false when it cannot be told.
  [[nodiscard]] bool GetSize(std::uint64_t& size) const;
  // Reads up to `count` bytes at `offset`; returns the number of bytes read (fewer at the end of
  // the file or on a read error).
  [[nodiscard]] std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;

 private:
  void* m_handle = nullptr;
};

}  // namespace Platform
}  // namespace SkinUI
