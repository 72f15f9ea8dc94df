#include "uninstall/directory_checks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::LogCapture;
using testing::MakeTree;
using testing::N;
using vesk::testing::FolderExists;
using vesk::testing::ListFolder;
using vesk::testing::ScopedTempFolder;

struct MinimalStateRow {
  const char* label;
  std::vector<std::wstring> tree;
  bool minimal;
  std::vector<std::string> lastLines;  // one of them, depending on the search order
};

// Each layout of the installation folder gives its answer and, as its last log line, the reason.
TEST(IsMinimalInstallState, AnswersAndReasons) {
  const MinimalStateRow rows[] = {
      {"minimal state", {L"uninstall\\", L"1.0\\Installer\\setup.exe"}, true,
       {"[INFO] Installation directory is in minimal state, safe to cleanup"}},
      {"the uninstall folder may hold files",
       {L"uninstall\\VeskUninstall.exe", L"uninstall\\vesk_uninstall.log",
        L"2.5.0.1\\Installer\\setup.exe"},
       true, {"[INFO] Installation directory is in minimal state, safe to cleanup"}},
      {"extra file at the top",
       {L"uninstall\\", L"1.0\\Installer\\setup.exe", L"vesk_install.log"}, false,
       {"[INFO] Found file in root directory, terminating check early: vesk_install.log"}},
      {"uninstall is a file", {L"uninstall", L"1.0\\Installer\\setup.exe"}, false,
       {"[INFO] Found file in root directory, terminating check early: uninstall"}},
      {"only the uninstall folder", {L"uninstall\\"}, false,
       {"[INFO] Expected exactly 2 folders, but found 1 folders"}},
      {"empty installation folder", {}, false,
       {"[INFO] Expected exactly 2 folders, but found 0 folders"}},
      {"three folders", {L"uninstall\\", L"1.0\\Installer\\setup.exe", L"2.0\\"}, false,
       {"[INFO] Found more than 2 folders, terminating check early"}},
      {"no uninstall folder", {L"Uninstall\\", L"1.0\\Installer\\setup.exe"}, false,
       {"[INFO] Uninstall folder not found"}},
      {"file in the version folder", {L"uninstall\\", L"1.0\\notes.txt"}, false,
       {"[INFO] Found file in 1.0: notes.txt"}},
      {"empty version folder", {L"uninstall\\", L"1.0\\"}, false,
       {"[INFO] Expected exactly 1 item in 1.0, but found 0 items"}},
      {"Installer in other letter case", {L"uninstall\\", L"1.0\\installer\\setup.exe"}, false,
       {"[INFO] Found unexpected folder in 1.0: installer"}},
      {"second file beside setup.exe",
       {L"uninstall\\", L"1.0\\Installer\\setup.exe", L"1.0\\Installer\\chrome.7z"}, false,
       {"[INFO] Found more than 1 item in Installer folder, terminating check early",
        "[INFO] Found unexpected file in Installer folder: chrome.7z"}},
      {"empty Installer folder", {L"uninstall\\", L"1.0\\Installer\\"}, false,
       {"[INFO] Expected exactly 1 item in Installer folder, but found 0 items"}},
      {"folder in the Installer folder", {L"uninstall\\", L"1.0\\Installer\\sub\\"}, false,
       {"[INFO] Found unexpected folder in Installer folder: sub"}},
      {"setup.exe in other letter case", {L"uninstall\\", L"1.0\\Installer\\Setup.exe"}, false,
       {"[INFO] Found unexpected file in Installer folder: Setup.exe"}},
  };
  for (const MinimalStateRow& row : rows) {
    SCOPED_TRACE(row.label);
    ScopedTempFolder install;
    MakeTree(install.path(), row.tree);
    LogCapture log;
    EXPECT_EQ(IsMinimalInstallState(install.path()), row.minimal);
    std::vector<std::string> entries = log.Entries();
    ASSERT_GE(entries.size(), 2u);
    EXPECT_EQ(entries.front(),
              "[INFO] Checking installation directory status to determine if cleanup is needed");
    EXPECT_NE(std::find(row.lastLines.begin(), row.lastLines.end(), entries.back()),
              row.lastLines.end())
        << entries.back();
  }
}

// The minimal state logs each finding and then the summary, in this order.
TEST(IsMinimalInstallState, MinimalStateLogsEveryFinding) {
  ScopedTempFolder install;
  MakeTree(install.path(), {L"uninstall\\", L"1.9.1.2925\\Installer\\setup.exe"});
  LogCapture log;
  ASSERT_TRUE(IsMinimalInstallState(install.path()));
  std::vector<std::string> entries = log.Entries();
  ASSERT_EQ(entries.size(), 12u);
  // The two folders are reported in the order the folder search returns them.
  std::vector<std::string> found = {entries[1], entries[2]};
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"[INFO] Found other folder: 1.9.1.2925",
                                             "[INFO] Found uninstall folder: uninstall"}));
  EXPECT_EQ(std::vector<std::string>(entries.begin() + 3, entries.end()),
            (std::vector<std::string>{
                "[INFO] Total folders found: 2",
                "[INFO] Total files found: 0 (any files would have caused early termination)",
                "[INFO] Found Installer folder in 1.9.1.2925",
                "[INFO] Found setup.exe in Installer folder",
                "[INFO] All conditions met:",
                "[INFO]   - Installation directory has exactly 2 folders: uninstall and 1.9.1.2925",
                "[INFO]   - 1.9.1.2925 folder contains only Installer folder",
                "[INFO]   - Installer folder contains only setup.exe",
                "[INFO] Installation directory is in minimal state, safe to cleanup",
            }));
}

// An empty installation path and a missing folder are reported as errors.
TEST(IsMinimalInstallState, EmptyOrMissingPath) {
  ScopedTempFolder temp;
  LogCapture log;
  EXPECT_FALSE(IsMinimalInstallState(L""));
  EXPECT_EQ(log.Entries().back(), "[ERROR] Installation path is empty, cannot check directory status");
  EXPECT_FALSE(IsMinimalInstallState(temp / L"missing"));
  EXPECT_EQ(log.Entries().back(),
            "[ERROR] Failed to find files in installation directory: " + N(temp / L"missing"));
}

struct LoneFolderRow {
  const char* label;
  std::vector<std::wstring> tree;
  std::vector<std::string> acceptedLastLines;  // one of them, depending on the search order
};

// Whenever the folder holds more than the lone "uninstall" folder, nothing is removed and the
// answer is true.
TEST(RemoveLoneUninstallFolder, LeavesFoldersThatHoldMore) {
  const LoneFolderRow rows[] = {
      {"a file beside it",
       {L"uninstall\\VeskUninstall.exe", L"vesk_install.log"},
       {"[INFO] Found file in current directory: vesk_install.log, not only uninstall folder"}},
      {"another folder beside it",
       {L"uninstall\\VeskUninstall.exe", L"1.0\\"},
       {"[INFO] Found other folder: 1.0, not only uninstall folder",
        "[INFO] Found more than 1 folder, current directory is not only uninstall folder"}},
      {"only another folder",
       {L"1.0\\"},
       {"[INFO] Found other folder: 1.0, not only uninstall folder"}},
      {"an empty folder",
       {},
       {"[INFO] Current directory does not only contain uninstall folder, no deletion needed"}},
  };
  MultiProcessDeleter deleter;
  for (const LoneFolderRow& row : rows) {
    SCOPED_TRACE(row.label);
    ScopedTempFolder install;
    MakeTree(install.path(), row.tree);
    std::vector<std::wstring> before = ListFolder(install.path());
    LogCapture log;
    EXPECT_TRUE(RemoveLoneUninstallFolder(install.path(), deleter));
    EXPECT_EQ(ListFolder(install.path()), before);
    std::vector<std::string> entries = log.Entries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.front(),
              "[INFO] Checking if current directory only contains uninstall folder: " +
                  N(install.path()));
    EXPECT_NE(std::find(row.acceptedLastLines.begin(), row.acceptedLastLines.end(), entries.back()),
              row.acceptedLastLines.end())
        << entries.back();
  }
}

// An empty folder logs its totals before the no-deletion line.
TEST(RemoveLoneUninstallFolder, EmptyFolderLogsItsTotals) {
  ScopedTempFolder install;
  LogCapture log;
  MultiProcessDeleter deleter;
  EXPECT_TRUE(RemoveLoneUninstallFolder(install.path(), deleter));
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{
                "[INFO] Checking if current directory only contains uninstall folder: " +
                    N(install.path()),
                "[INFO] Total folders found: 0",
                "[INFO] Total files found: 0",
                "[INFO] Current directory does not only contain uninstall folder, no deletion needed",
            }));
}

// An empty path and a folder that cannot be searched are failures.
TEST(RemoveLoneUninstallFolder, EmptyOrMissingFolderFails) {
  ScopedTempFolder temp;
  LogCapture log;
  MultiProcessDeleter deleter;
  EXPECT_FALSE(RemoveLoneUninstallFolder(L"", deleter));
  EXPECT_EQ(log.Entries().back(), "[ERROR] Current path is empty");
  EXPECT_FALSE(RemoveLoneUninstallFolder(temp / L"missing", deleter));
  EXPECT_EQ(log.Entries().back(),
            "[ERROR] Failed to find files in current directory: " + N(temp / L"missing"));
}

// The final check looks two levels above the program, whatever that folder is.
TEST(FinalDirectoryCheck, ExaminesTheFolderTwoLevelsAboveTheProgram) {
  ScopedTempFolder copy;
  MakeTree(copy.path(), {L"tools\\VeskUninstall.exe", L"readme.txt"});
  LogCapture log;
  MultiProcessDeleter deleter;
  EXPECT_TRUE(FinalDirectoryCheckFor(copy / L"tools\\VeskUninstall.exe", deleter));
  std::vector<std::string> entries = log.Entries();
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[0], "[INFO] Checking installation directory: " + N(copy.path()));
  EXPECT_EQ(entries.back(), "[INFO] Final directory check completed successfully");
  EXPECT_TRUE(FolderExists(copy / L"tools"));
}

// A program path without two folder levels leaves nothing to examine: the check fails.
TEST(FinalDirectoryCheck, PathWithoutFoldersFails) {
  LogCapture log;
  MultiProcessDeleter deleter;
  EXPECT_FALSE(FinalDirectoryCheckFor(L"VeskUninstall.exe", deleter));
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{
                               "[INFO] Checking installation directory: ",
                               "[INFO] Checking if current directory only contains uninstall folder: ",
                               "[ERROR] Current path is empty",
                               "[WARNING] Final directory check failed",
                           }));
}

}  // namespace
}  // namespace vesk::uninstall
