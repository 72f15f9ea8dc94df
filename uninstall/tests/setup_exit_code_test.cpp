#include "uninstall/setup_uninstall.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::LogCapture;
using testing::MakeTree;
using vesk::testing::ListFolder;
using vesk::testing::ScopedTempFolder;

struct ExitCodeRow {
  DWORD code;
  const char* line;
};

// Every exit code logs its number and the line of its meaning; codes outside the table share one
// line. None of them deletes anything except 20 (tested with the cleanup).
TEST(HandleSetupExitCode, LogsTheMeaningOfEveryCode) {
  const ExitCodeRow rows[] = {
      {10, "Operating system API call failed"},
      {14, "Insufficient user permissions"},
      {15, "Ruzovo is not installed!"},
      {16, "Ruzovo is running!"},
      {17, "User has confirmed the uninstallation of Ruzovo!"},
      {18, "User has confirmed uninstalling Ruzovo and deleting the configuration file!"},
      {19, "Ruzovo uninstall success!"},
      {21, "User cancels Ruzovo uninstallation!"},
      {22, "I don't know what happened (it shouldn't have happened)"},
      {29, "Uninstallation requires a restart"},
      {60, "Unable to obtain exclusive installation permissions"},
      {0, "Others exit code!!!"},
      {9, "Others exit code!!!"},
      {11, "Others exit code!!!"},
      {13, "Others exit code!!!"},
      {23, "Others exit code!!!"},
      {28, "Others exit code!!!"},
      {30, "Others exit code!!!"},
      {59, "Others exit code!!!"},
      {61, "Others exit code!!!"},
      {4294967295u, "Others exit code!!!"},
  };
  // A minimal installation: only code 20 would clean it up.
  ScopedTempFolder install;
  MakeTree(install.path(), {L"uninstall\\", L"1.0\\Installer\\setup.exe"});
  std::vector<std::wstring> before = ListFolder(install / L"1.0\\Installer");
  MultiProcessDeleter deleter;
  for (const ExitCodeRow& row : rows) {
    SCOPED_TRACE(row.code);
    LogCapture log;
    HandleSetupExitCode(row.code, install.path(), L"1.0", deleter);
    EXPECT_EQ(log.Entries(),
              (std::vector<std::string>{"[INFO] setup.exe exitCode: " + std::to_string(row.code),
                                        std::string("[INFO] ") + row.line}));
    EXPECT_EQ(ListFolder(install / L"1.0\\Installer"), before);
  }
}

// setup.exe is started as its quoted path followed by the uninstall switches and its log file in
// the uninstall folder, quoted.
TEST(SetupUninstallCommand, HasTheFixedShape) {
  std::wstring arguments = SetupUninstallArguments(L"C:\\Users\\Ann Lee\\vesk.helm\\Application");
  EXPECT_EQ(arguments,
            L"--uninstall --verbose-logging --enable-logging "
            L"--log-file=\"C:\\Users\\Ann Lee\\vesk.helm\\Application\\uninstall\\ruzovo_uninstall.log\"");
  EXPECT_EQ(SetupExePath(L"C:\\A", L"1.2.3"), L"C:\\A\\1.2.3\\Installer\\setup.exe");
  EXPECT_EQ(SetupUninstallCommandLine(L"C:\\A b\\1.2.3\\Installer\\setup.exe", arguments),
            L"\"C:\\A b\\1.2.3\\Installer\\setup.exe\" " + arguments);
}

}  // namespace
}  // namespace vesk::uninstall
