#include "uitoolkit/core/zip_archive.h"

#include <zlib.h>

#include <cstring>

namespace SkinUI {
namespace {

const std::uint32_t kEndOfCentralDirectory = 0x06054b50;
const std::uint32_t kCentralFileHeader = 0x02014b50;
const std::uint32_t kLocalFileHeader = 0x04034b50;
const std::size_t kEndRecordSize = 22;
const std::size_t kCentralHeaderSize = 46;
const std::size_t kLocalHeaderSize = 30;
const std::size_t kMaxCommentSize = 0xFFFF;
const std::uint16_t kFlagEncrypted = 0x0001;
const std::uint16_t kFlagUtf8Name = 0x0800;
const std::uint16_t kMethodStored = 0;
const std::uint16_t kMethodDeflated = 8;

// Code page 437 (the zip format's default for names) above 0x7F.
const wchar_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8,
    0x00EF, 0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2,
    0x00FB, 0x00F9, 0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1,
    0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD,
    0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562,
    0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534,
    0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560,
    0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B,
    0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393,
    0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6,
    0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248, 0x00B0,
    0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

std::uint16_t Read16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Read32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

CUiString DecodeName(const unsigned char* bytes, std::size_t length, bool utf8) {
  std::vector<wchar_t> units(length + 1);
  std::size_t count = 0;
  if (utf8) {
    count = Platform::MultiByteToWide(Platform::CodePage::Utf8, reinterpret_cast<const char*>(bytes),
                                      length, units.data(), length);
    if (count > length) count = length;
  } else {
    for (std::size_t i = 0; i < length; ++i) {
      units[i] = bytes[i] < 0x80 ? static_cast<wchar_t>(bytes[i]) : kCp437High[bytes[i] - 0x80];
    }
    count = length;
  }
  return CUiString(units.data(), static_cast<int>(count));
}

// The form names are compared in: upper case, '\' as '/'.
wchar_t FoldForLookup(wchar_t ch) { return ch == L'\\' ? L'/' : Platform::ToUpper(ch); }

bool NamesMatch(const CUiString& stored, const wchar_t* wanted) {
  const wchar_t* a = stored.GetData();
  for (;; ++a, ++wanted) {
    if (FoldForLookup(*a) != FoldForLookup(*wanted)) return false;
    if (*a == L'\0') return true;
  }
}

}  // namespace

CZipArchive::~CZipArchive() { Close(); }

void CZipArchive::Close() {
  m_file.Close();
  m_memory = nullptr;
  m_size = 0;
  m_dataEnd = 0;
  m_shift = 0;
  m_entries.clear();
  m_open = false;
}

bool CZipArchive::OpenFile(const wchar_t* path) {
  Close();
  std::uint64_t size = 0;
  if (!m_file.Open(path) || !m_file.GetSize(size)) {
    Close();
    return false;
  }
  m_size = size;
  return ReadDirectoryOrClose();
}

bool CZipArchive::OpenMemory(const void* data, std::size_t size) {
  Close();
  if (data == nullptr) return false;
  m_memory = static_cast<const unsigned char*>(data);
  m_size = size;
  return ReadDirectoryOrClose();
}

bool CZipArchive::ReadDirectoryOrClose() {
  if (!ReadCentralDirectory()) {
    Close();
    return false;
  }
  m_open = true;
  return true;
}

bool CZipArchive::ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const {
  if (offset > m_size || count > m_size - offset) return false;
  if (count == 0) return true;
  if (m_memory != nullptr) {
    std::memcpy(buffer, m_memory + offset, count);
    return true;
  }
  return m_file.ReadAt(offset, buffer, count) == count;
}

bool CZipArchive::ReadCentralDirectory() {
  if (m_size < kEndRecordSize) return false;
  // The end record sits in the last 22 bytes plus at most a 65535-byte comment.
  const std::uint64_t tailSize =
      m_size < kEndRecordSize + kMaxCommentSize ? m_size : kEndRecordSize + kMaxCommentSize;
  std::vector<unsigned char> tail(static_cast<std::size_t>(tailSize));
  const std::uint64_t tailStart = m_size - tailSize;
  if (!ReadAt(tailStart, tail.data(), tail.size())) return false;
  std::size_t found = tail.size();
  for (std::size_t at = tail.size() - kEndRecordSize + 1; at-- > 0;) {
    if (Read32(&tail[at]) == kEndOfCentralDirectory &&
        at + kEndRecordSize + Read16(&tail[at + 20]) <= tail.size()) {
      found = at;
      break;
    }
  }
  if (found == tail.size()) return false;
  const unsigned char* end = &tail[found];
  const std::uint16_t disk = Read16(end + 4);
  const std::uint16_t directoryDisk = Read16(end + 6);
  const std::uint16_t entriesOnDisk = Read16(end + 8);
  const std::uint16_t entryCount = Read16(end + 10);
  const std::uint32_t directorySize = Read32(end + 12);
  const std::uint32_t directoryOffset = Read32(end + 16);
  // Split archives and the 64-bit extension are not read.
  if (disk != 0 || directoryDisk != 0 || entriesOnDisk != entryCount || entryCount == 0xFFFF ||
      directorySize == 0xFFFFFFFFu || directoryOffset == 0xFFFFFFFFu) {
    return false;
  }
  const std::uint64_t endRecordOffset = tailStart + found;
  const std::uint64_t declaredEnd = static_cast<std::uint64_t>(directoryOffset) + directorySize;
  if (declaredEnd > endRecordOffset) return false;
  // Data in front of the archive (a prefixed archive) shifts every offset by the same amount.
  m_shift = static_cast<std::int64_t>(endRecordOffset - declaredEnd);
  const std::uint64_t directoryStart = directoryOffset + static_cast<std::uint64_t>(m_shift);
  m_dataEnd = directoryStart;

  std::vector<unsigned char> directory(directorySize);
  if (!ReadAt(directoryStart, directory.data(), directory.size())) return false;
  m_entries.reserve(entryCount);
  std::size_t position = 0;
  for (std::uint32_t i = 0; i < entryCount; ++i) {
    if (directory.size() - position < kCentralHeaderSize) return false;
    const unsigned char* header = &directory[position];
    if (Read32(header) != kCentralFileHeader) return false;
    const std::size_t nameLength = Read16(header + 28);
    const std::size_t extraLength = Read16(header + 30);
    const std::size_t commentLength = Read16(header + 32);
    const std::size_t recordSize = kCentralHeaderSize + nameLength + extraLength + commentLength;
    if (directory.size() - position < recordSize) return false;
    ZipEntry entry;
    entry.flags = Read16(header + 8);
    entry.method = Read16(header + 10);
    entry.crc32 = Read32(header + 16);
    entry.compressedSize = Read32(header + 20);
    entry.size = Read32(header + 24);
    const std::uint32_t localOffset = Read32(header + 42);
    if (entry.compressedSize == 0xFFFFFFFFu || entry.size == 0xFFFFFFFFu ||
        localOffset == 0xFFFFFFFFu) {
      return false;
    }
    entry.localHeaderOffset = localOffset + static_cast<std::uint64_t>(m_shift);
    entry.name = DecodeName(header + kCentralHeaderSize, nameLength, (entry.flags & kFlagUtf8Name) != 0);
    m_entries.push_back(std::move(entry));
    position += recordSize;
  }
  return true;
}

const ZipEntry* CZipArchive::GetEntry(int index) const {
  if (index < 0 || index >= GetEntryCount()) return nullptr;
  return &m_entries[static_cast<std::size_t>(index)];
}

int CZipArchive::FindEntry(const wchar_t* name) const {
  if (!m_open || name == nullptr) return -1;
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    if (NamesMatch(m_entries[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

bool CZipArchive::InflateEntry(const ZipEntry& entry, std::uint64_t dataStart,
                               unsigned char* output, std::size_t wanted, bool whole) const {
  z_stream stream;
  std::memset(&stream, 0, sizeof(stream));
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
  std::vector<unsigned char> chunk(m_memory != nullptr ? 0 : 65536);
  std::uint64_t consumed = 0;  // compressed bytes handed to zlib
  std::size_t produced = 0;
  unsigned char overflow = 0;  // catches output beyond the declared size
  bool ended = false;
  bool failed = false;
  while (!ended && !failed) {
    if (stream.avail_in == 0 && consumed < entry.compressedSize) {
      const std::uint64_t left = entry.compressedSize - consumed;
      if (m_memory != nullptr) {
        stream.next_in = const_cast<unsigned char*>(m_memory + dataStart);
        stream.avail_in = static_cast<uInt>(left);
      } else {
        const std::size_t count = left < chunk.size() ? static_cast<std::size_t>(left) : chunk.size();
        if (!ReadAt(dataStart + consumed, chunk.data(), count)) {
          failed = true;
          break;
        }
        stream.next_in = chunk.data();
        stream.avail_in = static_cast<uInt>(count);
      }
      consumed += stream.avail_in;
    }
    if (produced < wanted) {
      stream.next_out = output + produced;
      stream.avail_out = static_cast<uInt>(wanted - produced);
    } else if (!whole) {
      break;  // the caller's buffer is full
    } else {
      stream.next_out = &overflow;
      stream.avail_out = 1;
    }
    const bool intoOverflow = produced >= wanted;
    const uInt before = stream.avail_out;
    const uInt inputBefore = stream.avail_in;
    const int status = inflate(&stream, Z_NO_FLUSH);
    const uInt written = before - stream.avail_out;
    if (intoOverflow && written > 0) {
      failed = true;  // more data than the entry declares
    } else {
      produced += written;
    }
    if (status == Z_STREAM_END) {
      ended = true;
    } else if (status != Z_OK && status != Z_BUF_ERROR) {
      failed = true;
    } else if (written == 0 && stream.avail_in == inputBefore) {
      failed = true;  // no progress: the compressed data ended early
    }
  }
  inflateEnd(&stream);
  return !failed && produced == wanted;
}

ZipResult CZipArchive::Extract(int index, void* buffer, std::size_t capacity) const {
  const ZipEntry* entry = GetEntry(index);
  if (!m_open || entry == nullptr || (buffer == nullptr && capacity > 0)) return ZipResult::Error;
  if ((entry->flags & kFlagEncrypted) != 0) return ZipResult::Error;

  // The local header repeats the name and may carry a different extra field; only its lengths
  // are taken from it. Header and data must lie before the central directory.
  unsigned char local[kLocalHeaderSize];
  if (entry->localHeaderOffset > m_dataEnd || m_dataEnd - entry->localHeaderOffset < kLocalHeaderSize ||
      !ReadAt(entry->localHeaderOffset, local, sizeof(local)) ||
      Read32(local) != kLocalFileHeader) {
    return ZipResult::Error;
  }
  const std::uint64_t dataStart =
      entry->localHeaderOffset + kLocalHeaderSize + Read16(local + 26) + Read16(local + 28);
  if (dataStart > m_dataEnd || m_dataEnd - dataStart < entry->compressedSize) return ZipResult::Error;

  unsigned char* output = static_cast<unsigned char*>(buffer);
  const bool whole = capacity >= entry->size;
  const std::size_t wanted = whole ? entry->size : capacity;

  if (entry->method == kMethodStored) {
    if (entry->compressedSize != entry->size) return ZipResult::Error;
    if (!ReadAt(dataStart, output, wanted)) return ZipResult::Error;
  } else if (entry->method == kMethodDeflated) {
    if (!InflateEntry(*entry, dataStart, output, wanted, whole)) return ZipResult::Error;
  } else {
    return ZipResult::Error;
  }
  if (!whole) return ZipResult::MoreData;
  const uLong checksum = crc32(crc32(0L, Z_NULL, 0), output, static_cast<uInt>(wanted));
  return static_cast<std::uint32_t>(checksum) == entry->crc32 ? ZipResult::Ok : ZipResult::Error;
}

}  // namespace SkinUI
