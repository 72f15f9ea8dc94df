// Pure steps of the install roads: reading the version file, emptying the working folder and
// the parameters handed to the elevated batch file.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "setup/engine/installer_runner.h"
#include "setup/engine/install_steps.h"
#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/log_capture.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::FileExists;
using testing::FolderExists;
using testing::LogCapture;
using testing::Narrow;
using testing::ScopedCurrentUserOverride;
using testing::ScopedTempFolder;
using testing::WriteFileBytes;

struct FirstLineCase {
  std::string content;
  std::wstring line;
};

void PrintTo(const FirstLineCase& test, std::ostream* out) {
  *out << test.content.size() << " bytes";
}

class FirstLineTest : public ::testing::TestWithParam<FirstLineCase> {};

// The first line without its line end, each byte widened to one character.
TEST_P(FirstLineTest, ReadsTheFirstLine) {
  ScopedTempFolder folder;
  ASSERT_TRUE(WriteFileBytes(folder / L"version.txt", GetParam().content));
  EXPECT_EQ(ReadFirstLine(folder / L"version.txt"), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Contents, FirstLineTest,
    ::testing::Values(FirstLineCase{"1.9.1.2925\r\n", L"1.9.1.2925"},
                      FirstLineCase{"1.9.1.2925", L"1.9.1.2925"},
                      FirstLineCase{"2.0\nsecond\r\n", L"2.0"},
                      FirstLineCase{"", L""},
                      FirstLineCase{"\r\nsecond", L""},
                      FirstLineCase{"a\rb\r\n", L"a\rb"},
                      FirstLineCase{"\xe9t\xe9\r\n", L"\x00e9t\x00e9"},
                      FirstLineCase{std::string(2000, '7') + "\r\n", std::wstring(2000, L'7')}),
    [](const auto& info) { return "Content" + std::to_string(info.index); });

// A missing file reads as an empty line.
TEST(FirstLine, MissingFileIsEmpty) {
  ScopedTempFolder folder;
  EXPECT_EQ(ReadFirstLine(folder / L"version.txt"), L"");
}

class DeleteAllTest : public ::testing::Test {
 protected:
  ScopedCurrentUserOverride m_user;
  LogCapture m_log;
  ScopedTempFolder m_parent;
};

// A hidden folder with files and subfolders is removed entirely, logging the walk of each folder.
TEST_F(DeleteAllTest, RemovesAHiddenTree) {
  std::wstring folder = m_parent / L".VeskSetupTemp";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\sub").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder + L"\\a.exe", "a"));
  ASSERT_TRUE(WriteFileBytes(folder + L"\\sub\\b.dll", "b"));
  ASSERT_TRUE(WriteFileBytes(folder + L"\\hidden.txt", "h"));
  SetFileAttributesW((folder + L"\\hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_HIDDEN));

  EXPECT_TRUE(DeleteAllFilesInDirectory(folder));
  EXPECT_FALSE(FolderExists(folder));
  std::string narrow = Narrow(folder);
  std::vector<std::string> expected = {
      "== directoryPath : " + narrow,           "== searchPath: " + narrow + "\\*",
      "== directoryPath : " + narrow + "\\sub", "== searchPath: " + narrow + "\\sub\\*",
      "DeleteAllFilesInDirectory end",          "DeleteAllFilesInDirectory end"};
  std::vector<std::string> messages = m_log.Messages();
  // The order of the entries is the file system's; the sub folder's lines sit between.
  ASSERT_EQ(messages.size(), expected.size());
  EXPECT_EQ(messages.front(), expected.front());
  EXPECT_EQ(messages[1], expected[1]);
  EXPECT_TRUE(testing::ContainsInOrder(messages, expected)) << ::testing::PrintToString(messages);
}

// A read-only file is not deleted: its failure is logged, the walk goes on with the others and
// the folder stays.
TEST_F(DeleteAllTest, ReadOnlyFileStaysAndIsLogged) {
  std::wstring folder = m_parent / L"work";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder + L"\\locked.txt", "l"));
  ASSERT_TRUE(WriteFileBytes(folder + L"\\other.txt", "o"));
  ASSERT_TRUE(SetFileAttributesW((folder + L"\\locked.txt").c_str(), FILE_ATTRIBUTE_READONLY));

  EXPECT_FALSE(DeleteAllFilesInDirectory(folder));
  EXPECT_TRUE(FileExists(folder + L"\\locked.txt"));
  EXPECT_FALSE(FileExists(folder + L"\\other.txt"));
  std::vector<std::string> messages = m_log.Messages();
  EXPECT_NE(testing::IndexOf(messages, "DeleteFile failed: " + Narrow(folder) +
                                           "\\locked.txt, error: 5"),
            -1)
      << ::testing::PrintToString(messages);
  SetFileAttributesW((folder + L"\\locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A linked folder inside the working folder is removed as a link and never entered: the files it
// points to stay, and no walk of the link's target is logged.
TEST_F(DeleteAllTest, LinkedFolderIsNotEntered) {
  std::wstring folder = m_parent / L"work";
  std::wstring outside = m_parent / L"outside";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW(outside.c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder + L"\\a.exe", "a"));
  ASSERT_TRUE(WriteFileBytes(outside + L"\\precious.txt", "p"));
  const std::wstring link = folder + L"\\linked";
  if (!testing::MakeFolderLink(link, outside)) GTEST_SKIP() << "folder links cannot be made here";

  const bool removed = DeleteAllFilesInDirectory(folder);
  EXPECT_TRUE(FileExists(outside + L"\\precious.txt"));
  EXPECT_FALSE(FileExists(folder + L"\\a.exe"));
  EXPECT_EQ(removed, !FolderExists(folder));
  std::vector<std::string> messages = m_log.Messages();
  EXPECT_EQ(testing::IndexOf(messages, "== directoryPath : " + Narrow(link)), -1)
      << ::testing::PrintToString(messages);
}

// A folder that does not exist: the listing cannot start, the end is logged, the result is false.
TEST_F(DeleteAllTest, MissingFolderGivesFalse) {
  std::wstring folder = m_parent / L"missing";
  EXPECT_FALSE(DeleteAllFilesInDirectory(folder));
  std::vector<std::string> expected = {"== directoryPath : " + Narrow(folder),
                                       "== searchPath: " + Narrow(folder) + "\\*",
                                       "DeleteAllFilesInDirectory end"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Only an existing installation in a folder setup cannot write is installed elevated; each answer
// is logged.
TEST(AdministratorMode, OnlyForUnwritableRegisteredFolder) {
  ScopedCurrentUserOverride user;
  LogCapture log;
  ScopedTempFolder files;
  ASSERT_TRUE(WriteFileBytes(files / L"file", "x"));
  struct {
    bool registered;
    bool writable;
    bool elevated;
  } const cases[] = {{true, false, true}, {true, true, false}, {false, false, false},
                     {false, true, false}};
  for (const auto& test : cases) {
    const std::wstring folder = files / (test.writable ? L"app" : L"file\\app");
    EXPECT_EQ(test.elevated, UseAdministratorMode(test.registered, folder));
    EXPECT_EQ(test.elevated ? "useAdministratorMode true" : "useAdministratorMode false",
              log.Messages().back());
  }
}

struct BatchCase {
  std::wstring folder;
  std::wstring parameters;
};

void PrintTo(const BatchCase& test, std::ostream* out) { *out << Narrow(test.folder); }

class BatchParametersTest : public ::testing::TestWithParam<BatchCase> {};

// The parameters are the folder as it is where the batch file's join rebuilds it, two quoted
// halves where it would not, and nothing for a folder the command processor would act on.
TEST_P(BatchParametersTest, RebuildTheFolderOrRefuseIt) {
  EXPECT_EQ(BatchFileParameters(GetParam().folder), GetParam().parameters);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, BatchParametersTest,
    ::testing::Values(
        BatchCase{L"C:\\vesk.helm", L"C:\\vesk.helm"},
        BatchCase{L"C:\\Program Files\\vesk.helm", L"C:\\Program Files\\vesk.helm"},
        BatchCase{L"C:\\Program Files (x86)\\vesk.helm",
                  L"\"C:\\Program\" \"Files (x86)\\vesk.helm\""},
        BatchCase{L"C:\\a  b", L"\"C:\\a\" \" b\""},
        BatchCase{L"C:\\a b ", L"\"C:\\a\" \"b \""},
        BatchCase{L"C:\\x,y", L"\"C:\\x,y\""},
        BatchCase{L"C:\\x;y z", L"\"C:\\x;y\" \"z\""},
        BatchCase{L"C:\\x=y", L"\"C:\\x=y\""},
        BatchCase{L"C:\\Tom&Jerry", L""},
        BatchCase{L"C:\\a|b", L""},
        BatchCase{L"C:\\a^b", L""},
        BatchCase{L"C:\\100%", L""},
        BatchCase{L"C:\\<x>", L""},
        BatchCase{L"", L""}),
    [](const auto& info) { return "Folder" + std::to_string(info.index); });

}  // namespace
}  // namespace vesk
