#include "uitoolkit/core/tests/core_test_support.h"

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace SkinUI {
namespace testing {
namespace {

std::filesystem::path ToFileSystemPath(const std::wstring& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  std::string narrow = Utf8(path);
  for (char& ch : narrow) {
    if (ch == '\\') ch = '/';
  }
  return std::filesystem::path(narrow);
#endif
}

std::wstring ToWindowsText(const std::filesystem::path& path) {
#ifdef _WIN32
  return path.wstring();
#else
  const std::string narrow = path.string();
  return std::wstring(narrow.begin(), narrow.end());  // temporary paths are ASCII
#endif
}

void Append16(std::string& bytes, std::uint16_t value) {
  bytes += static_cast<char>(value & 0xFF);
  bytes += static_cast<char>(value >> 8);
}

void Append32(std::string& bytes, std::uint32_t value) {
  Append16(bytes, static_cast<std::uint16_t>(value & 0xFFFF));
  Append16(bytes, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("skinui_core_test_" + std::to_string(stamp) + "_" + std::to_string(counter++));
  std::filesystem::create_directories(folder);
  m_path = ToWindowsText(folder) + L"\\";
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(ToFileSystemPath(m_path.substr(0, m_path.size() - 1)), ignored);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const std::filesystem::path target = ToFileSystemPath(path);
#ifdef _WIN32
  std::FILE* file = nullptr;
  if (_wfopen_s(&file, target.c_str(), L"wb") != 0) file = nullptr;
#else
  std::FILE* file = std::fopen(target.c_str(), "wb");
#endif
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

std::string Deflate(const std::string& data) {
  z_stream stream = {};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

std::string MakeZip(const std::vector<ZipItem>& items, ZipLayout* layout) {
  std::string archive;
  std::string directory;
  ZipLayout local;
  std::vector<std::size_t> centralOffsets;
  for (const ZipItem& item : items) {
    const std::string payload = item.deflate ? Deflate(item.data) : item.data;
    const std::uint32_t crc = static_cast<std::uint32_t>(
        crc32(0L, reinterpret_cast<const Bytef*>(item.data.data()), static_cast<uInt>(item.data.size())));
    const std::uint16_t method = item.deflate ? 8 : 0;
    const std::size_t offset = archive.size();
    local.localHeaderOffsets.push_back(offset);
    Append32(archive, 0x04034b50);
    Append16(archive, 20);
    Append16(archive, item.flags);
    Append16(archive, method);
    Append32(archive, 0);  // time and date
    Append32(archive, crc);
    Append32(archive, static_cast<std::uint32_t>(payload.size()));
    Append32(archive, static_cast<std::uint32_t>(item.data.size()));
    Append16(archive, static_cast<std::uint16_t>(item.name.size()));
    Append16(archive, 0);
    archive += item.name;
    archive += payload;

    centralOffsets.push_back(directory.size());
    Append32(directory, 0x02014b50);
    Append16(directory, 20);
    Append16(directory, 20);
    Append16(directory, item.flags);
    Append16(directory, method);
    Append32(directory, 0);
    Append32(directory, crc);
    Append32(directory, static_cast<std::uint32_t>(payload.size()));
    Append32(directory, static_cast<std::uint32_t>(item.data.size()));
    Append16(directory, static_cast<std::uint16_t>(item.name.size()));
    Append16(directory, 0);  // extra
    Append16(directory, 0);  // comment
    Append16(directory, 0);  // disk
    Append16(directory, 0);  // internal attributes
    Append32(directory, 0);  // external attributes
    Append32(directory, static_cast<std::uint32_t>(offset));
    directory += item.name;
  }
  local.centralDirectoryOffset = archive.size();
  for (std::size_t offset : centralOffsets) {
    local.centralHeaderOffsets.push_back(local.centralDirectoryOffset + offset);
  }
  archive += directory;
  local.endRecordOffset = archive.size();
  Append32(archive, 0x06054b50);
  Append16(archive, 0);
  Append16(archive, 0);
  Append16(archive, static_cast<std::uint16_t>(items.size()));
  Append16(archive, static_cast<std::uint16_t>(items.size()));
  Append32(archive, static_cast<std::uint32_t>(directory.size()));
  Append32(archive, static_cast<std::uint32_t>(local.centralDirectoryOffset));
  Append16(archive, 0);
  if (layout != nullptr) *layout = local;
  return archive;
}

void Put16(std::string& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>(value >> 8);
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
  Put16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string Utf8(const std::wstring& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::uint32_t ch = static_cast<std::uint32_t>(text[i]);
    if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < text.size()) {
      ch = 0x10000 + ((ch - 0xD800) << 10) + (static_cast<std::uint32_t>(text[++i]) - 0xDC00);
    }
    if (ch < 0x80) {
      out += static_cast<char>(ch);
    } else if (ch < 0x800) {
      out += static_cast<char>(0xC0 | (ch >> 6));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    } else if (ch < 0x10000) {
      out += static_cast<char>(0xE0 | (ch >> 12));
      out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (ch >> 18));
      out += static_cast<char>(0x80 | ((ch >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((ch >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (ch & 0x3F));
    }
  }
  return out;
}

std::string Utf16Bytes(const std::wstring& text, bool bigEndian, bool withMark) {
  std::string out;
  auto put = [&](std::uint16_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  };
  if (withMark) put(0xFEFF);
  for (wchar_t ch : text) {
    std::uint32_t code = static_cast<std::uint32_t>(ch);
    if (code >= 0x10000) {
      code -= 0x10000;
      put(static_cast<std::uint16_t>(0xD800 + (code >> 10)));
      put(static_cast<std::uint16_t>(0xDC00 + (code & 0x3FF)));
    } else {
      put(static_cast<std::uint16_t>(code));
    }
  }
  return out;
}

}  // namespace testing
}  // namespace SkinUI
