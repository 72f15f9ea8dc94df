// CZipArchive reads entries of a zip archive held in a file or in memory: stored and deflated
// entries, looked up by name ignoring case. The archive is untrusted input: every offset and size
// it declares is checked against the archive before use, and extraction never writes past the
// caller's buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "uitoolkit/core/ui_platform.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

enum class ZipResult {
  Ok,        // the whole entry was extracted
  MoreData,  // the buffer was filled with the start of a larger entry
  Error,     // the entry cannot be extracted (damaged, encrypted, unknown method, bad checksum)
};

struct ZipEntry {
  CUiString name;                    // as stored, '/' separating folders
  std::uint16_t flags = 0;
  std::uint16_t method = 0;          // 0 stored, 8 deflated
  std::uint32_t crc32 = 0;
  std::uint32_t compressedSize = 0;
  std::uint32_t size = 0;            // uncompressed
  std::uint64_t localHeaderOffset = 0;
};

class CZipArchive {
 public:
  CZipArchive() = default;
  ~CZipArchive();
  CZipArchive(const CZipArchive&) = delete;
  CZipArchive& operator=(const CZipArchive&) = delete;

  // Opens a zip file and reads its central directory; false when it is not a readable archive.
  bool OpenFile(const wchar_t* path);
  // Reads an archive held in memory; the bytes are not copied and must outlive the archive.
  bool OpenMemory(const void* data, std::size_t size);
  void Close();
  bool IsOpen() const { return m_open; }

  int GetEntryCount() const { return static_cast<int>(m_entries.size()); }
  const ZipEntry* GetEntry(int index) const;
  // Index of the first entry whose name equals `name` ignoring case ('\' and '/' alike), or -1.
  int FindEntry(const wchar_t* name) const;
  // Extracts the entry into `buffer` (at most `capacity` bytes). The whole entry gives Ok after
  // its checksum is verified; a smaller buffer receives the entry's first bytes and MoreData.
  [[nodiscard]] ZipResult Extract(int index, void* buffer, std::size_t capacity) const;

 private:
  // Reads the central directory of the source just opened; the archive is open only if it is
  // well-formed, and closed otherwise.
  bool ReadDirectoryOrClose();
  bool ReadCentralDirectory();
  [[nodiscard]] bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const;
  // Inflates the deflated data of `entry` at `dataStart` into `wanted` bytes of `output`; with
  // `whole`, data beyond the declared size fails. False on any failure.
  bool InflateEntry(const ZipEntry& entry, std::uint64_t dataStart, unsigned char* output,
                    std::size_t wanted, bool whole) const;

  bool m_open = false;
  const unsigned char* m_memory = nullptr;
  Platform::CReadOnlyFile m_file;
  std::uint64_t m_size = 0;
  std::uint64_t m_dataEnd = 0;  // entry data must end before the central directory
  std::int64_t m_shift = 0;     // bytes before the archive proper (a prefixed archive)
  std::vector<ZipEntry> m_entries;
};

}  // namespace SkinUI
