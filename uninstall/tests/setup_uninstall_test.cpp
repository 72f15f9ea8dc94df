#include "uninstall/setup_uninstall.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/scoped_settings.h"
#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::LogCapture;
using testing::MakeTree;
using testing::N;
using testing::PlaceTestChild;
using vesk::testing::FileExists;
using vesk::testing::FolderExists;
using vesk::testing::ListFolder;
using vesk::testing::ReadFileBytes;
using vesk::testing::ScopedEnvironmentVariable;
using vesk::testing::ScopedTempFolder;
using vesk::testing::SplitLines;

class SetupUninstallTest : public ::testing::Test {
 protected:
  ~SetupUninstallTest() override { testing::ForgetPendingRebootOperations(m_folder.path()); }

  ScopedTempFolder m_folder{L"sun"};
  LogCapture m_log;
  MultiProcessDeleter m_deleter;
};

// setup.exe of an installation whose path holds blanks runs with exactly the uninstall switches
// and its log file; a program lying at the first blank of that path is never started instead.
TEST_F(SetupUninstallTest, StartsSetupWithTheExactArguments) {
  std::wstring install = m_folder / L"vesk helm\\Application";
  std::wstring setup = SetupExePath(install, L"1.9.1.2925");
  ASSERT_TRUE(PlaceTestChild(setup));
  ASSERT_TRUE(PlaceTestChild(m_folder / L"vesk.exe"));  // what an unquoted path would start
  std::wstring record = m_folder / L"started.txt";
  ScopedEnvironmentVariable recordTo(L"VESK_TEST_CHILD_RECORD", record);
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"19");

  std::wstring arguments = SetupUninstallArguments(install);
  EXPECT_EQ(RunSetupUninstall(setup, arguments), 19u);

  std::vector<std::string> started = SplitLines(ReadFileBytes(record));
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(vesk::testing::CommandLineArguments(vesk::testing::RecordedCommandLine(started[0])),
            (std::vector<std::wstring>{setup, L"--uninstall", L"--verbose-logging",
                                       L"--enable-logging",
                                       L"--log-file=" + install + L"\\uninstall\\ruzovo_uninstall.log"}));
  EXPECT_EQ(m_log.Entries(),
            (std::vector<std::string>{
                "[INFO] Execute uninstall command: \"" + N(setup) + "\" " + N(arguments),
                "[INFO] Uninstall process started, waiting for it to finish...",
                "[INFO] Uninstall process finished, exit code: 19",
            }));
}

// The exit code is read as an unsigned number.
TEST_F(SetupUninstallTest, ExitCodeIsUnsigned) {
  std::wstring setup = SetupExePath(m_folder.path(), L"1.0");
  ASSERT_TRUE(PlaceTestChild(setup));
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"4294967295");
  EXPECT_EQ(RunSetupUninstall(setup, SetupUninstallArguments(m_folder.path())), 4294967295u);
  EXPECT_EQ(m_log.Entries().back(), "[INFO] Uninstall process finished, exit code: 4294967295");
}

// A setup.exe that cannot be started counts as a failed uninstallation (20).
TEST_F(SetupUninstallTest, SetupThatCannotStartCountsAsCode20) {
  std::wstring setup = SetupExePath(m_folder.path(), L"1.0");
  EXPECT_EQ(RunSetupUninstall(setup, SetupUninstallArguments(m_folder.path())), 20u);
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[1], "[ERROR] Failed to create uninstall process, error code: 2");
}

// Code 20 with the minimal state: setup.exe, the Installer folder and the version folder go; the
// uninstall folder stays.
TEST_F(SetupUninstallTest, Code20CleansUpTheMinimalState) {
  std::wstring install = m_folder / L"Application";
  MakeTree(install, {L"uninstall\\VeskUninstall.exe", L"1.0\\Installer\\setup.exe"});
  HandleSetupExitCode(20, install, L"1.0", m_deleter);
  EXPECT_EQ(ListFolder(install), (std::vector<std::wstring>{L"uninstall"}));
  EXPECT_TRUE(FileExists(install + L"\\uninstall\\VeskUninstall.exe"));
  std::wstring setup = install + L"\\1.0\\Installer\\setup.exe";
  std::wstring version = install + L"\\1.0";
  std::vector<std::string> entries = m_log.Entries();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[0], "[INFO] setup.exe exitCode: 20");
  EXPECT_EQ(entries[1], "[INFO] Ruzovo uninstall failed");
  int start = m_log.IndexOf("[INFO] Installation directory is in minimal state, safe to cleanup");
  ASSERT_GE(start, 0);
  EXPECT_EQ(std::vector<std::string>(entries.begin() + start + 1, entries.end()),
            (std::vector<std::string>{
                "[INFO] Installation directory only contains uninstall folder and setup.exe, "
                "proceeding with cleanup",
                "[INFO] Attempting to delete setup.exe: " + N(setup),
                "[INFO] Successfully deleted setup.exe: " + N(setup),
                "[INFO] Attempting to delete version directory: " + N(version),
                "[INFO] Recursively deleting directory: " + N(version),
                "[INFO] Recursively deleting directory: " + N(version) + "\\Installer",
                "[INFO] Successfully deleted directory: " + N(version) + "\\Installer",
                "[INFO] Successfully deleted directory: " + N(version),
                "[INFO] Successfully deleted version directory: " + N(version),
            }));
}

// Code 20 while the installation folder holds other files: the skip line, nothing deleted.
TEST_F(SetupUninstallTest, Code20SkipsAFolderThatHoldsMore) {
  std::wstring install = m_folder / L"Application";
  MakeTree(install, {L"uninstall\\VeskUninstall.exe", L"1.0\\Installer\\setup.exe",
                     L"vesk.helm.exe"});
  HandleSetupExitCode(20, install, L"1.0", m_deleter);
  EXPECT_TRUE(FileExists(install + L"\\1.0\\Installer\\setup.exe"));
  EXPECT_TRUE(FileExists(install + L"\\vesk.helm.exe"));
  EXPECT_EQ(m_log.Entries().back(),
            "[INFO] Installation directory contains other files, skipping cleanup");
}

// Code 20 with a setup.exe still held open: it cannot be deleted or moved, so it and its folders
// are left for deletion at reboot, and the version folder counts as handled.
TEST_F(SetupUninstallTest, Code20WithALockedSetupSchedulesItForReboot) {
  std::wstring install = m_folder / L"Application";
  MakeTree(install, {L"uninstall\\", L"1.0\\Installer\\setup.exe"});
  std::wstring setup = install + L"\\1.0\\Installer\\setup.exe";
  UniqueFile holder(CreateFileW(setup.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder.valid());
  HandleSetupExitCode(20, install, L"1.0", m_deleter);
  EXPECT_TRUE(m_log.Contains("[WARNING] Failed to delete setup.exe: " + N(setup) + ", error: 32"));
  EXPECT_TRUE(m_log.Contains("[INFO] Successfully moved setup.exe to temp and scheduled for deletion"));
  EXPECT_EQ(m_log.Entries().back(),
            "[INFO] Successfully deleted version directory: " + N(install + L"\\1.0"));
  EXPECT_TRUE(testing::IsPendingRebootDeletion(setup));
  EXPECT_TRUE(testing::IsPendingRebootDeletion(install + L"\\1.0\\Installer"));
  EXPECT_TRUE(testing::IsPendingRebootDeletion(install + L"\\1.0"));
}

}  // namespace
}  // namespace vesk::uninstall
