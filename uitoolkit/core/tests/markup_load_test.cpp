#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/core/markup.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/tests/core_test_support.h"

namespace SkinUI {
namespace {

using testing::MakeZip;
using testing::TempFolder;
using testing::Utf16Bytes;
using testing::Utf8;
using testing::WriteFileBytes;
using testing::ZipItem;

const std::wstring kDocument =
    L"<?xml version=\"1.0\" encoding=\"utf-8\"?><Window text=\"\u5b89\u88c5 \u00e9\">"
    L"\u4e2d\u6587 &amp; \U0001F600</Window>";

std::wstring WindowText(CMarkup& markup) {
  const wchar_t* text = markup.GetRoot().GetAttributeValue(L"text");
  return text == nullptr ? L"<none>" : text;
}

// UTF-16 code units of a text, whatever the width of wchar_t.
std::wstring Utf16Units(const std::wstring& text) {
  const std::string bytes = Utf16Bytes(text, false, false);
  std::wstring units;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    units += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                  (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return units;
}

struct MemCase {
  const char* label;
  std::string bytes;
  int encoding;
};

// UTF-8 with and without its mark and UTF-16 in both byte orders read as the same text.
TEST(CMarkupLoad, ReadsEveryEncodingToTheSameText) {
  const std::string utf8 = Utf8(kDocument);
  const MemCase cases[] = {
      {"utf-8", utf8, MarkupEncodingUtf8},
      {"utf-8 with mark", "\xEF\xBB\xBF" + utf8, MarkupEncodingUtf8},
      {"utf-16 le", Utf16Bytes(kDocument, false, true), MarkupEncodingUtf16},
      {"utf-16 be", Utf16Bytes(kDocument, true, true), MarkupEncodingUtf16},
      {"utf-16 le odd byte", Utf16Bytes(kDocument, false, true) + "x", MarkupEncodingUtf16},
      {"utf-16 any other value", Utf16Bytes(kDocument, true, true), 7},
  };
  for (const MemCase& row : cases) {
    CMarkup markup;
    std::string bytes = row.bytes;
    const std::string original = bytes;
    ASSERT_TRUE(markup.LoadFromMem(bytes.data(), static_cast<std::uint32_t>(bytes.size()), row.encoding))
        << row.label << ": " << markup.GetLastErrorMessage();
    EXPECT_EQ(Utf16Units(L"\u5b89\u88c5 \u00e9"), WindowText(markup)) << row.label;
    EXPECT_EQ(Utf16Units(L"\u4e2d\u6587 & \U0001F600"), std::wstring(markup.GetRoot().GetValue()))
        << row.label;
    EXPECT_EQ(original, bytes) << row.label << ": the caller's bytes changed";
  }
}

// UTF-16 needs its byte-order mark; anything shorter than a mark or without one fails.
TEST(CMarkupLoad, RefusesUtf16WithoutByteOrderMark) {
  const MemCase cases[] = {
      {"no mark", Utf16Bytes(L"<A/>", false, false), MarkupEncodingUtf16},
      {"one byte", std::string("\xFF"), MarkupEncodingUtf16},
      {"empty", std::string(), MarkupEncodingUtf16},
      {"mark of UTF-8", "\xEF\xBB\xBF<A/>", MarkupEncodingUtf16},
  };
  for (const MemCase& row : cases) {
    CMarkup markup;
    EXPECT_FALSE(markup.LoadFromMem(row.bytes.data(), static_cast<std::uint32_t>(row.bytes.size()),
                                    row.encoding))
        << row.label;
    EXPECT_STREQ(L"Expected byte order mark", markup.GetLastErrorMessage()) << row.label;
    EXPECT_FALSE(markup.IsValid()) << row.label;
  }
  CMarkup markMarkup;
  EXPECT_TRUE(markMarkup.LoadFromMem("\xFF\xFE", 2, MarkupEncodingUtf16));
  EXPECT_FALSE(markMarkup.GetRoot().IsValid());
}

// Only `size` bytes are read: a document cut short by the size fails, bytes after it are ignored,
// and malformed UTF-8 becomes replacement characters instead of failing.
TEST(CMarkupLoad, ReadsExactlyTheGivenBytes) {
  const std::string text = "<A x=\"1\"/>garbage";
  CMarkup markup;
  EXPECT_TRUE(markup.LoadFromMem(text.data(), 10, MarkupEncodingUtf8));
  EXPECT_STREQ(L"1", markup.GetRoot().GetAttributeValue(L"x"));
  EXPECT_FALSE(markup.LoadFromMem(text.data(), 6, MarkupEncodingUtf8));
  EXPECT_STREQ(L"Error while parsing attribute string", markup.GetLastErrorMessage());
  const std::string broken = "<A x=\"\xC3\x28\xFF\xE2\x82\"/>";
  ASSERT_TRUE(markup.LoadFromMem(broken.data(), static_cast<std::uint32_t>(broken.size()), MarkupEncodingUtf8));
  const std::wstring value = markup.GetRoot().GetAttributeValue(L"x");
  EXPECT_EQ(L'\xFFFD', value[0]);
  EXPECT_EQ(L'(', value[1]);
  EXPECT_EQ(std::wstring::npos, value.find_first_not_of(L"\xFFFD(")) << value.size();
  EXPECT_TRUE(markup.LoadFromMem("<A>ansi</A>", 11, MarkupEncodingAnsi));
  EXPECT_STREQ(L"ansi", markup.GetRoot().GetValue());
  EXPECT_TRUE(markup.LoadFromMem(nullptr, 0, MarkupEncodingUtf8));
  EXPECT_FALSE(markup.LoadFromMem(nullptr, 4, MarkupEncodingUtf8));
}

// ASCII runs of every length around multi-byte characters convert exactly (the conversion
// copies ASCII a block at a time).
TEST(CMarkupLoad, ReadsUtf8WithAsciiRunsOfEveryLength) {
  for (std::size_t run = 0; run <= 40; ++run) {
    const std::wstring ascii(run, L'a');
    const std::wstring value = ascii + L"\u00e9" + ascii + L"\u4e2d" + ascii + L"\U0001F600" + ascii;
    const std::string bytes = Utf8(L"<A x=\"" + value + L"\">" + ascii + L"</A>");
    CMarkup markup;
    ASSERT_TRUE(markup.LoadFromMem(bytes.data(), static_cast<std::uint32_t>(bytes.size())))
        << run << ": " << markup.GetLastErrorMessage();
    EXPECT_EQ(Utf16Units(value), std::wstring(markup.GetRoot().GetAttributeValue(L"x"))) << run;
    EXPECT_EQ(ascii, std::wstring(markup.GetRoot().GetValue())) << run;
  }
}

class CMarkupFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CResourceFiles::CloseResourceZip();
    CResourceFiles::SetResourcePath(m_folder.path().c_str());
  }
  void TearDown() override {
    CResourceFiles::CloseResourceZip();
    CResourceFiles::SetResourcePath(L"");
  }
  TempFolder m_folder;
};

std::string DocumentOfSize(std::size_t size) {
  std::string text = "<A/>";
  text.resize(size, ' ');
  return text;
}

struct FileCase {
  const char* label;
  const wchar_t* name;
  const char* contents;  // null = do not create the file
  std::size_t size;      // used when contents is null and size > 0: a document of that size
  const wchar_t* message;  // null = loads
};

// A skin file is read from the resource folder; each failure has its message and an empty
// location, and exactly 4 MiB is still accepted.
TEST_F(CMarkupFileTest, ReadsSkinFilesFromTheResourceFolder) {
  const FileCase cases[] = {
      {"plain", L"main.xml", "<Window/>", 0, nullptr},
      {"missing", L"absent.xml", nullptr, 0, L"Error opening file"},
      {"empty", L"empty.xml", "", 0, L"File is empty"},
      {"4 MiB", L"big.xml", nullptr, 4194304, nullptr},
      {"4 MiB + 1", L"bigger.xml", nullptr, 4194305, L"File too large"},
      {"parse error", L"broken.xml", "<A></B>", 0, L"Unmatched closing tag"},
  };
  for (const FileCase& row : cases) {
    if (row.contents != nullptr) {
      ASSERT_TRUE(WriteFileBytes(m_folder / row.name, row.contents)) << row.label;
    } else if (row.size > 0) {
      ASSERT_TRUE(WriteFileBytes(m_folder / row.name, DocumentOfSize(row.size))) << row.label;
    }
  }
  for (const FileCase& row : cases) {
    CMarkup markup;
    const bool loaded = markup.LoadFromFile(row.name, MarkupEncodingUtf8);
    EXPECT_EQ(row.message == nullptr, loaded) << row.label;
    EXPECT_STREQ(row.message == nullptr ? L"" : row.message, markup.GetLastErrorMessage()) << row.label;
    if (row.message != nullptr && std::wstring(row.message) != L"Unmatched closing tag") {
      EXPECT_STREQ(L"", markup.GetLastErrorLocation()) << row.label;
    }
    EXPECT_EQ(loaded, markup.IsValid()) << row.label;
  }
}

// A path longer than 260 characters is refused, never cut to a shorter, different file.
TEST_F(CMarkupFileTest, RefusesPathsLongerThanThePathBuffer) {
  const std::wstring longName = std::wstring(300 - m_folder.path().size(), L'n') + L".xml";
  const std::wstring cutName = longName.substr(0, 259 - m_folder.path().size());
  WriteFileBytes(m_folder / cutName, "<Cut/>");
  CMarkup markup;
  EXPECT_FALSE(markup.LoadFromFile(longName.c_str()));
  EXPECT_STREQ(L"Error opening file", markup.GetLastErrorMessage());
}

// With a resource zip set, skins come from its entries, looked up ignoring case, with the zip
// messages for each failure.
TEST_F(CMarkupFileTest, ReadsSkinFilesFromTheResourceZip) {
  std::string large(4194305, ' ');
  large.replace(0, 4, "<A/>");
  std::string corrupt = MakeZip({{"bad.xml", "<Window/>", false}});
  corrupt[30 + 7] = 'X';  // damage the stored data: the checksum no longer matches
  const std::string archive = MakeZip({{"Skin/Main.XML", "<Window name=\"zipped\"/>", true},
                                       {"empty.xml", "", true},
                                       {"large.xml", large, true},
                                       {"stored.xml", "<Stored/>", false}});
  ASSERT_TRUE(WriteFileBytes(m_folder / L"skin.zip", archive));
  ASSERT_TRUE(WriteFileBytes(m_folder / L"corrupt.zip", corrupt));
  ASSERT_TRUE(WriteFileBytes(m_folder / L"notazip.zip", "PK not really"));
  const struct {
    const wchar_t* zip;
    bool cached;
    const wchar_t* name;
    const wchar_t* message;  // null = loads
  } cases[] = {
      {L"skin.zip", false, L"skin\\main.xml", nullptr},
      {L"skin.zip", true, L"SKIN/MAIN.xml", nullptr},
      {L"skin.zip", false, L"stored.xml", nullptr},
      {L"skin.zip", false, L"main.xml", L"Could not find ziped file"},
      {L"skin.zip", true, L"empty.xml", L"File is empty"},
      {L"skin.zip", false, L"large.xml", L"File too large"},
      {L"corrupt.zip", false, L"bad.xml", L"Could not unzip file"},
      {L"notazip.zip", false, L"main.xml", L"Error opening zip file"},
      {L"notazip.zip", true, L"main.xml", L"Error opening zip file"},
      {L"absent.zip", false, L"main.xml", L"Error opening zip file"},
  };
  for (const auto& row : cases) {
    CResourceFiles::SetResourceZip(row.zip, row.cached);
    CMarkup markup;
    const bool loaded = markup.LoadFromFile(row.name);
    EXPECT_EQ(row.message == nullptr, loaded) << row.zip << " " << row.name;
    if (row.message != nullptr) {
      EXPECT_STREQ(row.message, markup.GetLastErrorMessage()) << row.zip << " " << row.name;
      EXPECT_STREQ(L"", markup.GetLastErrorLocation());
    } else {
      EXPECT_TRUE(markup.GetRoot().IsValid());
    }
  }
  // A zip held in memory serves the same entries.
  CResourceFiles::SetResourceZip(archive.data(), archive.size());
  CMarkup markup;
  ASSERT_TRUE(markup.LoadFromFile(L"skin/main.xml"));
  EXPECT_STREQ(L"zipped", markup.GetRoot().GetAttributeValue(L"name"));
  // Closing the zip returns to the folder.
  CResourceFiles::CloseResourceZip();
  EXPECT_FALSE(markup.LoadFromFile(L"skin/main.xml"));
  EXPECT_STREQ(L"Error opening file", markup.GetLastErrorMessage());
}

// The resource folder always ends in a separator, added only when missing.
TEST(CResourceFiles, EndsTheResourcePathWithOneSeparator) {
  const struct {
    const wchar_t* given;
    const wchar_t* stored;
  } rows[] = {{L"C:\\skin", L"C:\\skin\\"}, {L"C:\\skin\\", L"C:\\skin\\"}, {L"C:/skin/", L"C:/skin/"},
              {L"", L""}, {nullptr, L""}};
  for (const auto& row : rows) {
    CResourceFiles::SetResourcePath(row.given);
    EXPECT_STREQ(row.stored, CResourceFiles::GetResourcePath().GetData());
  }
  CResourceFiles::SetResourcePath(L"");
}

}  // namespace
}  // namespace SkinUI
