#include "setup/engine/setup_log.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <thread>
#include <vector>

#include <shlobj.h>

#include "common/product.h"
#include "common/unique_handle.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::ReadFileBytes;
using testing::ScopedCurrentUserOverride;
using testing::ScopedTempFolder;
using testing::SplitLines;

const std::regex kPrefix(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} )");

class SetupLogTest : public ::testing::Test {
 protected:
  std::string FileText() { return ReadFileBytes(m_folder / L"vesk_install.log"); }

  ScopedCurrentUserOverride m_user;
  ScopedTempFolder m_folder;
  SetupLog m_log;
};

// The prefix is zero-padded local time with milliseconds and one trailing blank.
TEST(SetupLogPrefix, IsZeroPaddedAndEndsWithBlank) {
  SYSTEMTIME time = {};
  time.wYear = 2026; time.wMonth = 3; time.wDay = 7;
  time.wHour = 9; time.wMinute = 5; time.wSecond = 1; time.wMilliseconds = 42;
  EXPECT_EQ(FormatLogPrefix(time), L"2026-03-07 09:05:01.042 ");
  time.wYear = 999; time.wMonth = 12; time.wDay = 31;
  time.wHour = 23; time.wMinute = 59; time.wSecond = 59; time.wMilliseconds = 999;
  EXPECT_EQ(FormatLogPrefix(time), L"0999-12-31 23:59:59.999 ");
}

// Each line is the prefix, the message unchanged and CR LF; an empty message leaves the prefix.
TEST_F(SetupLogTest, LinesHavePrefixMessageAndCrLf) {
  m_log.Open(m_folder.path());
  m_log.Write(L"dirPath created: C:\\x y");
  m_log.Write(L"");
  std::string text = FileText();
  std::vector<std::string> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(std::regex_match(lines[0].substr(0, 24), kPrefix)) << lines[0];
  EXPECT_EQ(lines[0].substr(24), "dirPath created: C:\\x y");
  EXPECT_EQ(lines[1].size(), 24u);
  EXPECT_TRUE(std::regex_match(lines[1], kPrefix)) << lines[1];
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(text.find("\r\n"), 24 + 23u);  // no stray line end before the message ends
}

// Nothing reaches a file before the log is opened.
TEST_F(SetupLogTest, LinesBeforeOpenStayOutOfTheFile) {
  m_log.Write(L"early line");
  m_log.Open(m_folder.path());
  m_log.Write(L"late line");
  std::vector<std::string> lines = SplitLines(FileText());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(24), "late line");
}

// The first successful open empties a log left by an earlier run.
TEST_F(SetupLogTest, FirstOpenTruncatesAnEarlierLog) {
  ASSERT_TRUE(testing::WriteFileBytes(m_folder / L"vesk_install.log", "old run\r\nold run\r\n"));
  m_log.Open(m_folder.path());
  m_log.Write(L"new run");
  std::vector<std::string> lines = SplitLines(FileText());
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(24), "new run");
}

// A second open keeps the open file and every line, even when it names another folder.
TEST_F(SetupLogTest, SecondOpenKeepsTheOpenFile) {
  ScopedTempFolder other;
  m_log.Open(m_folder.path());
  m_log.Write(L"one");
  m_log.Open(m_folder.path());
  m_log.Write(L"two");
  m_log.Open(other.path());
  m_log.Write(L"three");
  std::vector<std::string> lines = SplitLines(FileText());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2].substr(24), "three");
  EXPECT_FALSE(testing::FileExists(other / L"vesk_install.log"));
}

// Opening in a folder that does not exist yet writes nothing; a later open of a real folder
// starts the file (the window's fresh-install case).
TEST_F(SetupLogTest, OpenOfMissingFolderWaitsForTheNextOpen) {
  std::wstring missing = m_folder / L"not_yet";
  m_log.Open(missing);
  m_log.Write(L"lost to the file");
  ASSERT_TRUE(CreateDirectoryW(missing.c_str(), nullptr));
  m_log.Open(missing);
  m_log.Write(L"kept");
  std::vector<std::string> lines = SplitLines(ReadFileBytes(missing + L"\\vesk_install.log"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(24), "kept");
}

// Characters above U+00FF are written as one '?' each (a surrogate pair too); Latin-1 characters
// keep their byte; and no later line is lost.
TEST_F(SetupLogTest, CharactersBeyondLatin1AreReplacedAndLoggingGoesOn) {
  m_log.Open(m_folder.path());
  m_log.Write(L"C:\\Users\\\u5f20\u4e09\\caf\u00e9 \U0001F600!");
  m_log.Write(L"after");
  std::vector<std::string> lines = SplitLines(FileText());
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(24), "C:\\Users\\??\\caf\xe9 ?!");
  EXPECT_EQ(lines[1].substr(24), "after");
}

// Other processes may read and write the file while setup logs into it.
TEST_F(SetupLogTest, FileIsSharedForReadingAndWriting) {
  m_log.Open(m_folder.path());
  UniqueFile other(CreateFileW((m_folder / L"vesk_install.log").c_str(),
                               GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(other.valid()) << GetLastError();
}

// Lines written by several threads at once are each whole, with their own prefix.
TEST_F(SetupLogTest, ConcurrentWritersNeverMixLines) {
  m_log.Open(m_folder.path());
  const int threads = 4, perThread = 300;
  std::vector<std::thread> writers;
  for (int t = 0; t < threads; ++t) {
    writers.emplace_back([this, t] {
      for (int i = 0; i < perThread; ++i) {
        m_log.Write(L"thread " + std::to_wstring(t) + L" line " + std::to_wstring(i) +
                   L" with some padding to make the line longer than one small write");
      }
    });
  }
  for (std::thread& writer : writers) writer.join();
  std::vector<std::string> lines = SplitLines(FileText());
  ASSERT_EQ(lines.size(), static_cast<size_t>(threads * perThread));
  std::set<std::string> seen;
  const std::regex shape(
      R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\.\d{3} thread \d line \d+ with some padding to make the line longer than one small write)");
  for (const std::string& line : lines) {
    ASSERT_TRUE(std::regex_match(line, shape)) << line;
    seen.insert(line.substr(24));
  }
  EXPECT_EQ(seen.size(), lines.size());
}

// The log's full path is recorded as REG_SZ with its null when the product key exists, however
// long; the key is never created for it.
TEST_F(SetupLogTest, RecordsPathOnlyInAnExistingProductKey) {
  m_log.Open(m_folder.path());
  EXPECT_FALSE(testing::RegistryKeyExists(HKEY_CURRENT_USER, kProductKey));

  std::wstring deep = m_folder.path();
  while (deep.size() < 180) deep += L"\\a_folder_with_a_long_name";
  ASSERT_EQ(SHCreateDirectoryExW(nullptr, deep.c_str(), nullptr), ERROR_SUCCESS);
  UniqueRegKey key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProductKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            key.put(), nullptr),
            ERROR_SUCCESS);
  SetupLog second;
  second.Open(deep);
  testing::RegistryValue value =
      testing::ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, kLogPathValue);
  ASSERT_TRUE(value.exists);
  EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
  std::wstring expected = deep + L"\\vesk_install.log";
  EXPECT_EQ(value.AsString(), expected);
  EXPECT_EQ(value.data.size(), (expected.size() + 1) * sizeof(wchar_t));
}

}  // namespace
}  // namespace vesk
