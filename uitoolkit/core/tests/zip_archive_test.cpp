#include "uitoolkit/core/zip_archive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uitoolkit/core/tests/core_test_support.h"

namespace SkinUI {
namespace {

using testing::MakeZip;
using testing::Put16;
using testing::Put32;
using testing::TempFolder;
using testing::WriteFileBytes;
using testing::ZipItem;
using testing::ZipLayout;

std::string Extracted(const CZipArchive& archive, int index, ZipResult expected) {
  const ZipEntry* entry = archive.GetEntry(index);
  std::string bytes(entry != nullptr ? entry->size : 0, '\0');
  EXPECT_EQ(expected, archive.Extract(index, bytes.empty() ? nullptr : &bytes[0], bytes.size()));
  return bytes;
}

const std::string kText = "<Window size=\"640,460\">" + std::string(3000, 'x') + "</Window>";

// Stored and deflated entries, found by name ignoring case and slash direction, extract whole.
TEST(CZipArchive, ExtractsStoredAndDeflatedEntries) {
  const std::string archiveBytes = MakeZip({{"skin/main.xml", kText, true},
                                            {"Images/Back.PNG", "\x89PNG stored", false},
                                            {"empty.txt", "", true},
                                            {"caf\x82.xml", "cp437", false},
                                            {"\xE5\xAE\x89.xml", "utf8", false, 0x0800}});
  CZipArchive archive;
  ASSERT_TRUE(archive.OpenMemory(archiveBytes.data(), archiveBytes.size()));
  EXPECT_EQ(5, archive.GetEntryCount());
  const struct {
    const wchar_t* name;
    int index;
    std::string contents;
  } rows[] = {{L"skin/main.xml", 0, kText},        {L"SKIN\\MAIN.XML", 0, kText},
              {L"images/back.png", 1, "\x89PNG stored"}, {L"empty.txt", 2, ""},
              {L"caf\u00e9.xml", 3, "cp437"},       {L"CAF\u00c9.XML", 3, "cp437"},
              {L"\u5b89.xml", 4, "utf8"},           {L"main.xml", -1, ""},
              {L"skin/main.xm", -1, ""},            {L"", -1, ""}};
  for (const auto& row : rows) {
    EXPECT_EQ(row.index, archive.FindEntry(row.name));
    if (row.index >= 0) {
      EXPECT_EQ(row.contents, Extracted(archive, row.index, ZipResult::Ok));
    }
  }
  EXPECT_EQ(-1, archive.FindEntry(nullptr));
  EXPECT_EQ(nullptr, archive.GetEntry(5));
  EXPECT_EQ(ZipResult::Error, archive.Extract(5, nullptr, 0));
}

// A buffer smaller than the entry receives its first bytes and the more-data result; a larger
// one the whole entry.
TEST(CZipArchive, FillsSmallerBuffersWithMoreData) {
  const std::string archiveBytes = MakeZip({{"a", kText, true}, {"b", kText, false}});
  CZipArchive archive;
  ASSERT_TRUE(archive.OpenMemory(archiveBytes.data(), archiveBytes.size()));
  for (int index = 0; index < 2; ++index) {
    for (std::size_t capacity : {std::size_t{1}, std::size_t{100}, kText.size() - 1}) {
      std::string buffer(capacity + 8, '#');
      EXPECT_EQ(ZipResult::MoreData, archive.Extract(index, &buffer[0], capacity)) << capacity;
      EXPECT_EQ(kText.substr(0, capacity), buffer.substr(0, capacity)) << capacity;
      EXPECT_EQ(std::string(8, '#'), buffer.substr(capacity)) << "wrote past the buffer";
    }
    std::string larger(kText.size() + 10, '#');
    EXPECT_EQ(ZipResult::Ok, archive.Extract(index, &larger[0], larger.size()));
    EXPECT_EQ(kText, larger.substr(0, kText.size()));
  }
}

// Archives read from a file behave like archives in memory, also with data in front of them.
TEST(CZipArchive, ReadsFilesAndPrefixedArchives) {
  TempFolder folder;
  const std::string archiveBytes = MakeZip({{"main.xml", kText, true}});
  ASSERT_TRUE(WriteFileBytes(folder / L"plain.zip", archiveBytes));
  ASSERT_TRUE(WriteFileBytes(folder / L"prefixed.zip", std::string(1000, 'M') + archiveBytes));
  for (const wchar_t* name : {L"plain.zip", L"prefixed.zip"}) {
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenFile((folder / name).c_str())) << name;
    ASSERT_EQ(0, archive.FindEntry(L"MAIN.XML"));
    EXPECT_EQ(kText, Extracted(archive, 0, ZipResult::Ok));
  }
  CZipArchive missing;
  EXPECT_FALSE(missing.OpenFile((folder / L"absent.zip").c_str()));
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(-1, missing.FindEntry(L"main.xml"));
}

struct DamageCase {
  const char* label;
  void (*damage)(std::string& bytes, const ZipLayout& layout);
};

// Archives whose directory cannot be trusted are refused at opening.
TEST(CZipArchive, RefusesDamagedDirectories) {
  const DamageCase cases[] = {
      {"no end record", [](std::string& b, const ZipLayout& l) { b.resize(l.endRecordOffset); }},
      {"end record cut", [](std::string& b, const ZipLayout&) { b.resize(b.size() - 1); }},
      {"directory beyond end",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.endRecordOffset + 16, 0x7FFFFFF0u); }},
      {"directory size too big",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.endRecordOffset + 12, 0x10000u); }},
      {"more entries than the directory holds",
       [](std::string& b, const ZipLayout& l) {
         Put16(b, l.endRecordOffset + 8, 3);
         Put16(b, l.endRecordOffset + 10, 3);
       }},
      {"split archive", [](std::string& b, const ZipLayout& l) { Put16(b, l.endRecordOffset + 4, 1); }},
      {"entry counts differ", [](std::string& b, const ZipLayout& l) { Put16(b, l.endRecordOffset + 8, 1); }},
      {"64-bit marker", [](std::string& b, const ZipLayout& l) { Put32(b, l.endRecordOffset + 16, 0xFFFFFFFFu); }},
      {"bad header signature",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[1], 0x12345678u); }},
      {"name runs past the directory",
       [](std::string& b, const ZipLayout& l) { Put16(b, l.centralHeaderOffsets[1] + 28, 0x4000); }},
      {"comment longer than the file",
       [](std::string& b, const ZipLayout& l) { Put16(b, l.endRecordOffset + 20, 10); }},
      {"64-bit entry size",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[0] + 24, 0xFFFFFFFFu); }},
  };
  for (const DamageCase& row : cases) {
    ZipLayout layout;
    std::string bytes = MakeZip({{"one.xml", kText, true}, {"two.xml", "two", false}}, &layout);
    row.damage(bytes, layout);
    CZipArchive archive;
    EXPECT_FALSE(archive.OpenMemory(bytes.data(), bytes.size())) << row.label;
    EXPECT_FALSE(archive.IsOpen()) << row.label;
  }
  CZipArchive archive;
  EXPECT_FALSE(archive.OpenMemory(nullptr, 0));
  EXPECT_FALSE(archive.OpenMemory("PK", 2));
}

// Entries whose data cannot be trusted fail to extract (and never write past the buffer),
// while the archive itself stays readable.
TEST(CZipArchive, RefusesDamagedEntries) {
  const DamageCase cases[] = {
      {"checksum", [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[0] + 16, 1); }},
      {"declared size larger",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[0] + 24, 3100); }},
      {"declared size smaller",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[0] + 24, 3000); }},
      {"compressed size beyond the data",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[0] + 20, 0x00FFFFFFu); }},
      {"compressed size cut",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[0] + 20, 5); }},
      {"local header offset beyond the data",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.centralHeaderOffsets[0] + 42, 0x00FFFFFFu); }},
      {"local header signature",
       [](std::string& b, const ZipLayout& l) { Put32(b, l.localHeaderOffsets[0], 0); }},
      {"local extra field runs past the data",
       [](std::string& b, const ZipLayout& l) { Put16(b, l.localHeaderOffsets[0] + 28, 0xFFFF); }},
      {"unknown method", [](std::string& b, const ZipLayout& l) { Put16(b, l.centralHeaderOffsets[0] + 10, 12); }},
      {"encrypted", [](std::string& b, const ZipLayout& l) { Put16(b, l.centralHeaderOffsets[0] + 8, 1); }},
      {"corrupt deflate stream",
       [](std::string& b, const ZipLayout& l) {
         for (std::size_t i = 0; i < 8; ++i) b[l.localHeaderOffsets[0] + 30 + 7 + i] = '\xFF';
       }},
  };
  for (const DamageCase& row : cases) {
    ZipLayout layout;
    std::string bytes = MakeZip({{"one.xml", kText, true}, {"two.xml", "two", false}}, &layout);
    row.damage(bytes, layout);
    CZipArchive archive;
    ASSERT_TRUE(archive.OpenMemory(bytes.data(), bytes.size())) << row.label;
    const ZipEntry* entry = archive.GetEntry(0);
    std::string buffer(entry->size + 16, '#');
    EXPECT_EQ(ZipResult::Error, archive.Extract(0, &buffer[0], entry->size)) << row.label;
    EXPECT_EQ(std::string(16, '#'), buffer.substr(entry->size)) << row.label;
    EXPECT_EQ("two", Extracted(archive, 1, ZipResult::Ok)) << row.label;
  }
}

// A stored entry whose compressed and uncompressed sizes differ is refused.
TEST(CZipArchive, RefusesStoredEntriesWithTwoSizes) {
  ZipLayout layout;
  std::string bytes = MakeZip({{"s", "stored bytes", false}}, &layout);
  Put32(bytes, layout.centralHeaderOffsets[0] + 24, 5);
  CZipArchive archive;
  ASSERT_TRUE(archive.OpenMemory(bytes.data(), bytes.size()));
  std::string buffer(5, '\0');
  EXPECT_EQ(ZipResult::Error, archive.Extract(0, &buffer[0], buffer.size()));
}

}  // namespace
}  // namespace SkinUI
