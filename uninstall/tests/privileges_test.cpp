#include "uninstall/privileges.h"

#include <gtest/gtest.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "testsupport/scoped_settings.h"
#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::ChildProcess;
using testing::LogCapture;
using testing::N;
using testing::PlaceTestChild;
using vesk::testing::ScopedEnvironmentVariable;
using vesk::testing::ReadFileBytes;
using vesk::testing::ScopedTempFolder;
using vesk::testing::SplitLines;

// What the seams saw and answer during one test.
struct SeamState {
  bool machineKey = false;
  bool administrator = true;
  int tokenChecks = 0;
  std::wstring programPath;
  std::vector<UINT> endedWith;
};
SeamState* g_seams = nullptr;

// Replaces the conditions a test machine cannot produce, and restores the real calls.
class ScopedPrivilegeSeams {
 public:
  ScopedPrivilegeSeams() { g_seams = &state; }
  ~ScopedPrivilegeSeams() { g_seams = nullptr; }
  SeamState state;

 private:
  ScopedOverride<bool (*)()> m_machineKey{g_machineProductKeyExists,
                                         [] { return g_seams->machineKey; }};
  ScopedOverride<bool (*)()> m_administrator{g_tokenIsAdministrator, [] {
                                              ++g_seams->tokenChecks;
                                              return g_seams->administrator;
                                            }};
  ScopedOverride<std::wstring (*)()> m_programPath{g_restartProgramPath,
                                                  [] { return g_seams->programPath; }};
  ScopedOverride<void (*)(UINT)> m_endProcess{
      g_endProcess, [](UINT code) { g_seams->endedWith.push_back(code); }};
};

const std::string kCheckApplication = "[INFO] Checking if process is running: vesk.helm.exe";
const std::string kApplicationNotRunning = "[INFO] Process not running: vesk.helm.exe";
const std::string kApplicationRunning = "[INFO] Process found running: vesk.helm.exe";
const std::string kNotRequired =
    "[INFO] No administrator privileges required for this uninstallation";

// Row 1: a machine-wide product key makes administrator rights necessary, before anything else
// is looked at.
TEST(NeedsAdministrator, MachineWideKeyDecidesFirst) {
  ScopedPrivilegeSeams seams;
  seams.state.machineKey = true;
  LogCapture log;
  EXPECT_TRUE(NeedsAdministrator(L""));
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{"[INFO] Found system-level registry entries that require "
                                      "administrator privileges"}));
}

// Row 3: no machine-wide key and no running application: not needed.
TEST(NeedsAdministrator, NothingProtectedMeansNotNeeded) {
  ScopedPrivilegeSeams seams;
  LogCapture log;
  EXPECT_FALSE(NeedsAdministrator(L""));
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{kCheckApplication, kApplicationNotRunning, kNotRequired}));
}

struct ApplicationFolderRow {
  const wchar_t* folder;
  bool needed;
};

// Row 2: the running application's program file decides by the words "program files" and
// "windows" anywhere in its lower-cased path, also inside longer folder names.
TEST(NeedsAdministrator, RunningApplicationInAProtectedFolder) {
  const ApplicationFolderRow rows[] = {
      {L"Program Files\\vesk.helm", true},
      {L"PROGRAM FILES (x86)", true},
      {L"WindowsApps", true},
      {L"my_windows_copy", true},
      {L"Programs\\vesk.helm", false},
      {L"Program_Files", false},
      {L"window", false},
  };
  for (const ApplicationFolderRow& row : rows) {
    SCOPED_TRACE(N(row.folder));
    ASSERT_TRUE(testing::WaitUntilNoProcess(L"vesk.helm.exe", 10000));
    ScopedTempFolder temp(L"app");
    std::wstring program = temp / (std::wstring(row.folder) + L"\\vesk.helm.exe");
    ASSERT_TRUE(PlaceTestChild(program));
    ChildProcess application(program, 60000);
    ASSERT_TRUE(application.started());
    ScopedPrivilegeSeams seams;
    LogCapture log;
    EXPECT_EQ(NeedsAdministrator(L""), row.needed);
    std::vector<std::string> expected = {kCheckApplication, kApplicationRunning};
    expected.push_back(row.needed ? "[INFO] Target process is running from protected directory"
                                  : kNotRequired);
    EXPECT_EQ(log.Entries(), expected);
  }
}

struct InstallPathRow {
  const wchar_t* path;
  bool protectedFolder;
};

// A known installation path in a protected folder decides before the machine-wide key.
TEST(NeedsAdministrator, ProtectedInstallationPathDecidesFirst) {
  const InstallPathRow rows[] = {
      {L"C:\\Program Files\\vesk.helm\\Application", true},
      {L"C:\\Program Files (x86)\\vesk.helm", true},
      {L"D:\\WINDOWS\\apps\\vesk.helm", true},
      {L"C:\\x\\System32\\vesk", true},
      {L"C:\\Users\\ann\\AppData\\Local\\vesk.helm\\Application", false},
  };
  for (const InstallPathRow& row : rows) {
    SCOPED_TRACE(N(row.path));
    ScopedPrivilegeSeams seams;
    seams.state.machineKey = true;
    LogCapture log;
    EXPECT_TRUE(NeedsAdministrator(row.path));
    std::string first = log.Entries().front();
    if (row.protectedFolder) {
      EXPECT_EQ(first, "[INFO] Installation path is in protected directory: " + N(row.path));
    } else {
      EXPECT_EQ(first,
                "[INFO] Found system-level registry entries that require administrator privileges");
    }
  }
}

// Not needed: the run goes on without asking the token.
TEST(EnsurePrivileges, NotNeededSkipsTheTokenCheck) {
  ScopedPrivilegeSeams seams;
  LogCapture log;
  EXPECT_TRUE(EnsurePrivileges(L""));
  EXPECT_EQ(seams.state.tokenChecks, 0);
  EXPECT_EQ(log.Entries().back(),
            "[INFO] Administrator privileges not required, proceeding with current privileges");
}

// Needed and already an administrator: no restart.
TEST(EnsurePrivileges, AdministratorGoesOn) {
  ScopedPrivilegeSeams seams;
  seams.state.machineKey = true;
  LogCapture log;
  EXPECT_TRUE(EnsurePrivileges(L""));
  EXPECT_TRUE(seams.state.endedWith.empty());
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{
                "[INFO] Found system-level registry entries that require administrator privileges",
                "[INFO] Current process administrator privileges check: YES",
                "[INFO] Already running with administrator privileges",
            }));
}

// Needed without administrator rights: the program is started again with "runas" and without
// arguments, and this process ends with exit code 0.
TEST(EnsurePrivileges, RestartsElevatedWithoutArguments) {
  ScopedTempFolder temp;
  std::wstring program = temp / L"uninstall\\vesk_restart_probe.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  std::wstring record = temp / L"started.txt";
  ScopedEnvironmentVariable recordTo(L"VESK_TEST_CHILD_RECORD", record);
  ScopedPrivilegeSeams seams;
  seams.state.machineKey = true;
  seams.state.administrator = false;
  seams.state.programPath = program;
  LogCapture log;

  EXPECT_FALSE(EnsurePrivileges(L""));  // returns only because the test's process end returns
  EXPECT_EQ(seams.state.endedWith, (std::vector<UINT>{0}));
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{
                "[INFO] Found system-level registry entries that require administrator privileges",
                "[INFO] Current process administrator privileges check: NO",
                "[WARNING] Administrator privileges required but not available, attempting to "
                "restart with elevated privileges...",
                "[INFO] Restarting process with administrator privileges: " + N(program),
                "[INFO] Successfully initiated restart with administrator privileges",
            }));

  ULONGLONG deadline = GetTickCount64() + 30000;
  while (ReadFileBytes(record).empty() && GetTickCount64() < deadline) Sleep(50);
  std::vector<std::string> started = SplitLines(ReadFileBytes(record));
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(vesk::testing::CommandLineArguments(vesk::testing::RecordedCommandLine(started[0]))
                .size(),
            1u)
      << started[0];
}

// A restart that cannot be started is reported with the system's error code and the run fails
// without ending the process.
TEST(EnsurePrivileges, RefusedRestartFails) {
  ScopedTempFolder temp;
  ScopedPrivilegeSeams seams;
  seams.state.machineKey = true;
  seams.state.administrator = false;
  seams.state.programPath = temp / L"missing\\VeskUninstall.exe";
  LogCapture log;
  EXPECT_FALSE(EnsurePrivileges(L""));
  EXPECT_TRUE(seams.state.endedWith.empty());
  std::vector<std::string> entries = log.Entries();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[entries.size() - 2],
            "[INFO] Restarting process with administrator privileges: " +
                N(seams.state.programPath));
  EXPECT_EQ(entries.back().rfind(
                "[ERROR] Failed to restart with administrator privileges, error code: ", 0),
            0u);
  EXPECT_NE(entries.back(),
            "[ERROR] Failed to restart with administrator privileges, error code: 0");
}

// The real token check recognises the built-in Administrators group (Wine makes the test user a
// member) and logs its answer.
TEST(IsRunningAsAdministrator, RealCheckFindsTheAdministratorsGroup) {
  LogCapture log;
  EXPECT_TRUE(IsRunningAsAdministrator());
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{
                               "[INFO] Current process administrator privileges check: YES"}));
}

}  // namespace
}  // namespace vesk::uninstall
