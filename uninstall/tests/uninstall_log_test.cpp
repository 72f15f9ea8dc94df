#include "uninstall/uninstall_log.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/test_support.h"

namespace vesk::uninstall {
namespace {

using vesk::testing::FileExists;
using vesk::testing::ReadFileBytes;
using vesk::testing::ScopedTempFolder;
using vesk::testing::SplitLines;

const std::regex kLineShape(R"(\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2} \[[A-Z]+\] .*)");

class UninstallLogTest : public ::testing::Test {
 protected:
  std::wstring LogPath() const { return m_folder / L"vesk_uninstall.log"; }
  std::vector<std::string> Lines() const { return SplitLines(ReadFileBytes(LogPath())); }
  // The lines without their 20-character timestamp.
  std::vector<std::string> Entries() const {
    std::vector<std::string> entries;
    for (const std::string& line : Lines()) entries.push_back(line.substr(20));
    return entries;
  }

  ScopedTempFolder m_folder;
  UninstallLog m_log;
};

// The timestamp is zero-padded local time to the second, without milliseconds.
TEST(UninstallLogFormat, TimestampIsZeroPaddedToTheSecond) {
  SYSTEMTIME time = {};
  time.wYear = 2025; time.wMonth = 7; time.wDay = 18;
  time.wHour = 9; time.wMinute = 5; time.wSecond = 3; time.wMilliseconds = 999;
  EXPECT_EQ(FormatLogTimestamp(time), L"2025-07-18 09:05:03");
  time.wYear = 987; time.wMonth = 12; time.wDay = 1; time.wHour = 23; time.wMinute = 59;
  time.wSecond = 0;
  EXPECT_EQ(FormatLogTimestamp(time), L"0987-12-01 23:59:00");
}

// Each level number shows its word in brackets; numbers outside the table show "UNKNOWN".
TEST(UninstallLogFormat, LevelWords) {
  struct Row {
    int level;
    const wchar_t* line;
  };
  const Row rows[] = {
      {0, L"2025-07-18 09:05:03 [DEBUG] m"},   {1, L"2025-07-18 09:05:03 [INFO] m"},
      {2, L"2025-07-18 09:05:03 [WARNING] m"}, {3, L"2025-07-18 09:05:03 [ERROR] m"},
      {4, L"2025-07-18 09:05:03 [UNKNOWN] m"}, {-1, L"2025-07-18 09:05:03 [UNKNOWN] m"},
  };
  SYSTEMTIME time = {};
  time.wYear = 2025; time.wMonth = 7; time.wDay = 18;
  time.wHour = 9; time.wMinute = 5; time.wSecond = 3;
  for (const Row& row : rows) {
    EXPECT_EQ(FormatLogLine(time, row.level, L"m"), row.line) << row.level;
  }
}

// A written line is timestamp, level word in brackets and message, ended by CR LF.
TEST_F(UninstallLogTest, LineShapeInTheFile) {
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"Starting uninstallation...");
  m_log.Warning(L"careful");
  m_log.Error(L"broken: C:\\x y");
  std::string text = ReadFileBytes(LogPath());
  std::vector<std::string> lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) EXPECT_TRUE(std::regex_match(line, kLineShape)) << line;
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[INFO] Starting uninstallation...",
                                                 "[WARNING] careful",
                                                 "[ERROR] broken: C:\\x y"}));
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

// Entries below the minimum level write nothing and leave the file untouched.
TEST_F(UninstallLogTest, EntriesBelowTheMinimumLevelAreDropped) {
  m_log.SetFileOutput(true, LogPath());
  m_log.SetMinimumLevel(kLogWarning);
  m_log.Log(kLogDebug, L"debug");
  m_log.Info(L"info");
  EXPECT_EQ(ReadFileBytes(LogPath()), "");
  m_log.Warning(L"warning");
  m_log.Error(L"error");
  m_log.Log(7, L"seven");
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"[WARNING] warning", "[ERROR] error", "[UNKNOWN] seven"}));
}

// The default minimum level is INFO: DEBUG entries are dropped from the start.
TEST_F(UninstallLogTest, DefaultMinimumLevelIsInfo) {
  m_log.SetFileOutput(true, LogPath());
  m_log.Log(kLogDebug, L"debug");
  m_log.Info(L"info");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[INFO] info"}));
}

// Nothing reaches a file while file output is off, before or after it was on.
TEST_F(UninstallLogTest, FileOutputOffWritesNothing) {
  m_log.Info(L"before");
  EXPECT_FALSE(FileExists(LogPath()));
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"during");
  m_log.SetFileOutput(false);
  m_log.Info(L"after");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[INFO] during"}));
}

// An empty message still makes a line ending in "] ".
TEST_F(UninstallLogTest, EmptyMessageStillMakesALine) {
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"");
  std::vector<std::string> lines = Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(19), " [INFO] ");
}

// A second run appends to the first run's file instead of replacing it.
TEST_F(UninstallLogTest, RunsAppendToTheSameFile) {
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"first run");
  m_log.SetFileOutput(false);
  {
    UninstallLog secondRun;
    secondRun.SetFileOutput(true, LogPath());
    secondRun.Info(L"second run");
  }
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[INFO] first run", "[INFO] second run"}));
}

// Switching file output on with another path closes the first file and continues in the second.
TEST_F(UninstallLogTest, SwitchingTheFileContinuesInTheNewOne) {
  std::wstring second = m_folder / L"second.log";
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"one");
  m_log.SetFileOutput(true, second);
  m_log.Info(L"two");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[INFO] one"}));
  std::vector<std::string> secondLines = SplitLines(ReadFileBytes(second));
  ASSERT_EQ(secondLines.size(), 1u);
  EXPECT_EQ(secondLines[0].substr(20), "[INFO] two");
  // The first file is closed: it can now be deleted.
  EXPECT_TRUE(DeleteFileW(LogPath().c_str())) << GetLastError();
}

// An empty path means "vesk_uninstall.log" in the current folder.
TEST_F(UninstallLogTest, EmptyPathMeansTheDefaultNameInTheCurrentFolder) {
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(m_folder.path().c_str()));
  m_log.SetFileOutput(true, L"");
  m_log.Info(L"here");
  m_log.SetFileOutput(false);
  SetCurrentDirectoryW(previous);
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[INFO] here"}));
}

// Characters above U+00FF become '?' (a surrogate pair one '?'), Latin-1 keeps its byte, and the
// lines after such a message are still written.
TEST_F(UninstallLogTest, CharactersBeyondLatin1AreReplacedAndLoggingGoesOn) {
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"Found installation path from registry: C:\\Users\\\u5f20\u4e09\\caf\u00e9 \U0001F600!");
  m_log.Error(L"after");
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{
                "[INFO] Found installation path from registry: C:\\Users\\??\\caf\xe9 ?!",
                "[ERROR] after"}));
}

// While the log is open, other programs can read and write the file, and the log keeps
// appending after what they wrote.
TEST_F(UninstallLogTest, FileIsSharedAndAlwaysAppended) {
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"one");
  {
    UniqueFile other(CreateFileW(LogPath().c_str(), GENERIC_READ | GENERIC_WRITE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(other.valid()) << GetLastError();
    SetFilePointer(other.get(), 0, nullptr, FILE_END);
    const std::string otherLine = "0000-00-00 00:00:00 [INFO] other\r\n";
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(other.get(), otherLine.data(), static_cast<DWORD>(otherLine.size()),
                          &written, nullptr));
  }
  m_log.Info(L"two");
  EXPECT_EQ(Entries(),
            (std::vector<std::string>{"[INFO] one", "[INFO] other", "[INFO] two"}));
}

// A file that cannot be opened makes the log go on without a file; nothing else changes.
TEST_F(UninstallLogTest, UnopenableFileIsSilentlySkipped) {
  std::wstring impossible = m_folder / L"missing_folder\\vesk_uninstall.log";
  m_log.SetFileOutput(true, impossible);
  m_log.Info(L"lost");
  EXPECT_FALSE(FileExists(impossible));
  m_log.SetFileOutput(true, LogPath());
  m_log.Info(L"kept");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"[INFO] kept"}));
}

// With console output on, every line also goes to the standard output.
TEST_F(UninstallLogTest, ConsoleOutputWritesTheSameLines) {
  std::wstring consolePath = m_folder / L"console.txt";
  UniqueFile console(CreateFileW(consolePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(console.valid());
  HANDLE previous = GetStdHandle(STD_OUTPUT_HANDLE);
  SetStdHandle(STD_OUTPUT_HANDLE, console.get());
  m_log.SetConsoleOutput(true);
  m_log.Warning(L"to the console");
  m_log.SetConsoleOutput(false);
  m_log.Info(L"not to the console");
  SetStdHandle(STD_OUTPUT_HANDLE, previous);
  console.reset();
  std::vector<std::string> lines = SplitLines(ReadFileBytes(consolePath));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_TRUE(std::regex_match(lines[0], kLineShape)) << lines[0];
  EXPECT_EQ(lines[0].substr(20), "[WARNING] to the console");
  EXPECT_FALSE(FileExists(LogPath()));
}

}  // namespace
}  // namespace vesk::uninstall
