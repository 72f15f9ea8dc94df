// Helpers for the core's tests that build on every platform: a temporary folder, file writing,
// and an in-memory zip writer for archives of any shape (including damaged ones).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace SkinUI {
namespace testing {

// A new empty folder, removed with its content at the end. Paths are Windows-style wide text
// (the native build's file seam reads '\' as '/').
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder, ending in a backslash.
  const std::wstring& path() const { return m_path; }
  std::wstring operator/(const std::wstring& name) const { return m_path + name; }

 private:
  std::wstring m_path;
};

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);

struct ZipItem {
  std::string name;
  std::string data;
  bool deflate = true;
  std::uint16_t flags = 0;
};

// The fields of one written entry, for tests that damage an archive on purpose.
struct ZipLayout {
  std::vector<std::size_t> localHeaderOffsets;
  std::vector<std::size_t> centralHeaderOffsets;
  std::size_t centralDirectoryOffset = 0;
  std::size_t endRecordOffset = 0;
};

// A zip archive of the items (deflated with zlib's raw deflate or stored).
std::string MakeZip(const std::vector<ZipItem>& items, ZipLayout* layout = nullptr);
// Raw deflate of `data`.
std::string Deflate(const std::string& data);

void Put16(std::string& bytes, std::size_t at, std::uint16_t value);
void Put32(std::string& bytes, std::size_t at, std::uint32_t value);

// UTF-8 of a wide text (UTF-16 code units, or whole code points where wchar_t is 32-bit).
std::string Utf8(const std::wstring& text);
// UTF-16 bytes of a text, little- or big-endian, optionally with a byte-order mark.
std::string Utf16Bytes(const std::wstring& text, bool bigEndian, bool withMark);

}  // namespace testing
}  // namespace SkinUI
