#include "uninstall/uninstaller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/registry_text.h"
#include "common/unique_handle.h"
#include "testsupport/scoped_settings.h"
#include "uninstall/privileges.h"
#include "uninstall/registry_cleanup.h"
#include "uninstall/setup_uninstall.h"
#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::ChildProcess;
using testing::LogCapture;
using testing::MakeTree;
using testing::N;
using testing::PlaceTestChild;
using vesk::testing::RegistryKeyExists;
using vesk::testing::ScopedCurrentUserOverride;
using vesk::testing::ScopedEnvironmentVariable;
using vesk::testing::ScopedTempFolder;

void SetText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  ASSERT_TRUE(vesk::testing::WriteUserString(key, name, text));
}

// The machine-wide key does not exist for these tests, whatever the test machine holds.
class NoMachineKey {
 private:
  ScopedOverride<bool (*)()> m_machineKey{g_machineProductKeyExists, [] { return false; }};
};

class UninstallerFlowTest : public ::testing::Test {
 protected:
  UninstallerFlowTest() : m_install(m_folder / L"vesk.helm\\Application") {
    CreateDirectoryW((m_folder / L"vesk.helm").c_str(), nullptr);
    CreateDirectoryW(m_install.c_str(), nullptr);
  }
  // A product key as setup and the installer leave it, with the test child as setup.exe.
  void Install(const std::wstring& version = L"1.9.1.2925") {
    SetText(kProductKey, kInstallPathValue, m_install);
    SetText(kProductKey, kProductVersionValue, version);
    ASSERT_TRUE(PlaceTestChild(SetupExePath(m_install, version)));
    MakeTree(m_install, {L"uninstall\\VeskUninstall.exe", L"vesk.helm.exe"});
    SetText(L"SOFTWARE\\Classes\\veskhelm", L"", L"veskhelm");
    SetText(L"SOFTWARE\\Quillon\\vesk.helm", L"x", L"1");
  }
  // The URL-protocol key and the maker's key are both still there.
  static void ExpectProductKeysKept() {
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Classes\\veskhelm"));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\vesk.helm"));
  }
  std::vector<std::string> EntriesFrom(const std::string& first) {
    std::vector<std::string> entries = m_log.Entries();
    int start = m_log.IndexOf(first);
    if (start < 0) return {};
    return std::vector<std::string>(entries.begin() + start, entries.end());
  }

  ScopedCurrentUserOverride m_user;
  ScopedTempFolder m_folder{L"flow"};
  std::wstring m_install;
  NoMachineKey m_noMachineKey;
  LogCapture m_log;
};

const std::string kCheckApplication = "[INFO] Checking if process is running: vesk.helm.exe";
// The privilege decision when nothing needs administrator rights.
const std::vector<std::string> kNoRightsNeeded = {
    kCheckApplication,
    "[INFO] Process not running: vesk.helm.exe",
    "[INFO] No administrator privileges required for this uninstallation",
    "[INFO] Administrator privileges not required, proceeding with current privileges",
};

std::vector<std::string> Joined(std::vector<std::string> first,
                                const std::vector<std::string>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

// Without a product key the installation is not found: both reads fail, then the summary line.
TEST_F(UninstallerFlowTest, MissingProductKeyFailsPreparation) {
  Uninstaller uninstaller;
  EXPECT_FALSE(uninstaller.Prepare(false));
  EXPECT_EQ(m_log.Entries(),
            Joined(kNoRightsNeeded, {
                kCheckApplication,
                "[INFO] Process not running: vesk.helm.exe",
                "[ERROR] Failed to open registry key: SOFTWARE\\Vesk.helm",
                "[ERROR] Failed to open registry key: SOFTWARE\\Vesk.helm",
                "[ERROR] Could not find required installation information in the registry "
                "(VeskInstallPath or pv).",
            }));
}

struct MissingValueRow {
  const char* label;
  const wchar_t* installPath;  // nullptr: value absent
  const wchar_t* version;
  std::string readError;
};

// An empty or missing "VeskInstallPath" or "pv" fails exactly like a missing key.
TEST_F(UninstallerFlowTest, EmptyOrMissingValueFailsPreparation) {
  const MissingValueRow rows[] = {
      {"empty path", L"", L"1.0", ""},
      {"empty version", L"C:\\x", L"", ""},
      {"missing version", L"C:\\x", nullptr, "[ERROR] Registry value not found: pv"},
      {"missing path", nullptr, L"1.0", "[ERROR] Registry value not found: VeskInstallPath"},
  };
  for (const MissingValueRow& row : rows) {
    SCOPED_TRACE(row.label);
    RegDeleteTreeW(HKEY_CURRENT_USER, kProductKey);
    if (row.installPath) SetText(kProductKey, kInstallPathValue, row.installPath);
    if (row.version) SetText(kProductKey, kProductVersionValue, row.version);
    LogCapture log;
    Uninstaller uninstaller;
    EXPECT_FALSE(uninstaller.Prepare(false));
    EXPECT_EQ(log.Entries().back(),
              "[ERROR] Could not find required installation information in the registry "
              "(VeskInstallPath or pv).");
    if (!row.readError.empty()) {
      EXPECT_TRUE(log.Contains(row.readError));
    }
  }
}

// A complete product key is found and reported.
TEST_F(UninstallerFlowTest, PreparationFindsTheInstallation) {
  Install();
  Uninstaller uninstaller;
  EXPECT_TRUE(uninstaller.Prepare(false));
  EXPECT_EQ(uninstaller.installPath(), m_install);
  EXPECT_EQ(uninstaller.productVersion(), L"1.9.1.2925");
  EXPECT_EQ(m_log.Entries(),
            Joined(kNoRightsNeeded, {
                kCheckApplication,
                "[INFO] Process not running: vesk.helm.exe",
                "[INFO] Found pv value in registry: " + N(m_install),
                "[INFO] Found pv value in registry: 1.9.1.2925",
                "[INFO] Found installation path from registry: " + N(m_install),
                "[INFO] Found pv value from registry: 1.9.1.2925",
            }));
}

// Without "--force" a running application is only warned about and keeps running.
TEST_F(UninstallerFlowTest, RunningApplicationWithoutForceIsWarnedAbout) {
  Install();
  ASSERT_TRUE(testing::WaitUntilNoProcess(L"vesk.helm.exe", 10000));
  std::wstring program = m_folder / L"app\\vesk.helm.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  ChildProcess application(program, 60000);
  ASSERT_TRUE(application.started());
  Uninstaller uninstaller;
  EXPECT_TRUE(uninstaller.Prepare(false));
  EXPECT_TRUE(m_log.Contains(
      "[WARNING] vesk.helm.exe is running. Please close it first or use --force."));
  EXPECT_FALSE(application.WaitForExit(200));
}

// With "--force" the running application is terminated before the registry is read.
TEST_F(UninstallerFlowTest, RunningApplicationWithForceIsTerminated) {
  Install();
  ASSERT_TRUE(testing::WaitUntilNoProcess(L"vesk.helm.exe", 10000));
  std::wstring program = m_folder / L"app\\vesk.helm.exe";
  ASSERT_TRUE(PlaceTestChild(program));
  ChildProcess application(program, 60000);
  ASSERT_TRUE(application.started());
  Uninstaller uninstaller;
  EXPECT_TRUE(uninstaller.Prepare(true));
  EXPECT_TRUE(application.WaitForExit(10000));
  std::vector<std::string> entries = EntriesFrom("[INFO] vesk.helm.exe is running, now kill it.");
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[1], "[INFO] Attempting to kill process: vesk.helm.exe");
  EXPECT_EQ(entries[2], "[INFO] Successfully killed process: vesk.helm.exe");
}

// Rights that are needed but cannot be obtained stop the preparation before the registry.
TEST_F(UninstallerFlowTest, MissingRightsFailPreparation) {
  Install();
  bool prepared;
  {
    ScopedOverride machineKey(g_machineProductKeyExists, [] { return true; });
    ScopedOverride administrator(g_tokenIsAdministrator, [] { return false; });
    ScopedOverride programPath(g_restartProgramPath,
                               [] { return std::wstring(L"C:\\missing\\VeskUninstall.exe"); });
    Uninstaller uninstaller;
    prepared = uninstaller.Prepare(false);
  }
  EXPECT_FALSE(prepared);
  EXPECT_EQ(m_log.Entries().back(), "[ERROR] Failed to obtain required privileges for uninstallation");
  EXPECT_EQ(m_log.IndexOf("[INFO] Found pv value from registry: 1.9.1.2925"), -1);
}

// A missing setup.exe fails the run before anything is started or deleted.
TEST_F(UninstallerFlowTest, MissingSetupFailsTheRun) {
  Install();
  Uninstaller uninstaller;
  ASSERT_TRUE(uninstaller.Prepare(false));
  std::wstring setup = SetupExePath(m_install, L"1.9.1.2925");
  ASSERT_TRUE(DeleteFileW(setup.c_str()));
  EXPECT_FALSE(uninstaller.RunUninstall());
  EXPECT_EQ(EntriesFrom("[INFO] Starting uninstall process..."),
            (std::vector<std::string>{"[INFO] Starting uninstall process...",
                                      "[ERROR] setup.exe does not exist: " + N(setup)}));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Classes\\veskhelm"));
}

// setup.exe leaving the uninstall entry in place (here: the user cancelled) fails the run and
// keeps every key.
TEST_F(UninstallerFlowTest, UninstallEntryLeftInPlaceFailsTheRun) {
  Install();
  SetText(kUninstallEntryKey, kUninstallStringValue, L"\"C:\\x\\setup.exe\" --uninstall");
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"21");
  Uninstaller uninstaller;
  ASSERT_TRUE(uninstaller.Prepare(false));
  EXPECT_FALSE(uninstaller.RunUninstall());
  EXPECT_TRUE(m_log.Contains("[INFO] User cancels Ruzovo uninstallation!"));
  EXPECT_EQ(m_log.Entries().back(), "[INFO] vesk shouldn't delete !!!!!!!");
  ExpectProductKeysKept();
}

// Once the uninstall entry is gone the product's own keys are deleted, URL protocol first; the
// product key stays.
TEST_F(UninstallerFlowTest, RemovedUninstallEntryDeletesTheProductKeys) {
  Install();
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"19");
  Uninstaller uninstaller;
  ASSERT_TRUE(uninstaller.Prepare(false));
  EXPECT_TRUE(uninstaller.RunUninstall());
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Classes\\veskhelm"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\vesk.helm"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kProductKey));
  EXPECT_EQ(EntriesFrom("[INFO] setup.exe exitCode: 19"),
            (std::vector<std::string>{
                "[INFO] setup.exe exitCode: 19",
                "[INFO] Ruzovo uninstall success!",
                "[ERROR] Failed to open registry key: " + N(kUninstallEntryKey),
                "[INFO] vesk should delete !!!",
                "[INFO] Deleting Vesk registry entries...",
                "[INFO] Successfully deleted registry key: SOFTWARE\\Classes\\veskhelm",
                "[INFO] Successfully deleted registry key: SOFTWARE\\Quillon\\vesk.helm",
            }));
}

// An uninstall command longer than any fixed buffer still counts as present: the run fails and
// every key stays.
TEST_F(UninstallerFlowTest, LongUninstallCommandKeepsTheKeys) {
  Install();
  SetText(kUninstallEntryKey, kUninstallStringValue,
          L"\"" + m_install + L"\\" + std::wstring(300, L'v') + L"\\setup.exe\" --uninstall");
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"19");
  Uninstaller uninstaller;
  ASSERT_TRUE(uninstaller.Prepare(false));
  EXPECT_FALSE(uninstaller.RunUninstall());
  EXPECT_EQ(m_log.Entries().back(), "[INFO] vesk shouldn't delete !!!!!!!");
  ExpectProductKeysKept();
}

// An uninstall entry that cannot be read (here: access denied) keeps every key, is logged, and
// fails the run.
TEST_F(UninstallerFlowTest, UnreadableUninstallEntryKeepsTheKeys) {
  Install();
  SetText(kUninstallEntryKey, kUninstallStringValue, L"\"C:\\x\\setup.exe\" --uninstall");
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"19");
  Uninstaller uninstaller;
  ASSERT_TRUE(uninstaller.Prepare(false));
  ScopedOverride denied(g_queryRegistryValue,
                        [](HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                           LPDWORD size) -> LSTATUS {
                          if (std::wstring(name) == kUninstallStringValue) return ERROR_ACCESS_DENIED;
                          return ::RegQueryValueExW(key, name, reserved, type, data, size);
                        });
  EXPECT_FALSE(uninstaller.RunUninstall());
  EXPECT_EQ(EntriesFrom("[INFO] Ruzovo uninstall success!"),
            (std::vector<std::string>{
                "[INFO] Ruzovo uninstall success!",
                "[ERROR] Failed to query registry value: UninstallString",
                "[ERROR] Could not read the uninstall entry, the product's registry keys are kept",
            }));
  ExpectProductKeysKept();
}

// A process named setup.exe that is not this installation's own keeps running; the run goes on
// and says so.
TEST_F(UninstallerFlowTest, AnotherProgramsSetupIsLeftRunning) {
  Install();
  std::wstring other = m_folder / L"elsewhere\\setup.exe";
  ASSERT_TRUE(PlaceTestChild(other));
  ChildProcess running(other, 60000);
  ASSERT_TRUE(running.started());
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"19");
  Uninstaller uninstaller;
  ASSERT_TRUE(uninstaller.Prepare(false));
  EXPECT_TRUE(uninstaller.RunUninstall());
  EXPECT_FALSE(running.WaitForExit(0));
  EXPECT_TRUE(m_log.Contains("[WARNING] setup.exe of another program is running, left alone: " +
                            N(other)));
  EXPECT_FALSE(m_log.Contains("[INFO] Attempting to kill process: setup.exe"));
}

// The installation's own setup.exe, when it is still running, is terminated before it is started
// again.
TEST_F(UninstallerFlowTest, RunningOwnSetupIsTerminatedFirst) {
  Install();
  ChildProcess running(SetupExePath(m_install, L"1.9.1.2925"), 60000);
  ASSERT_TRUE(running.started());
  ScopedEnvironmentVariable exitCode(L"VESK_TEST_CHILD_EXIT", L"19");
  Uninstaller uninstaller;
  ASSERT_TRUE(uninstaller.Prepare(false));
  EXPECT_TRUE(uninstaller.RunUninstall());
  EXPECT_TRUE(running.WaitForExit(10000));
  std::vector<std::string> entries = EntriesFrom("[ERROR] setup.exe is running, now kill it.");
  ASSERT_GE(entries.size(), 4u);
  EXPECT_EQ(entries[1], "[INFO] Attempting to kill process: setup.exe");
  EXPECT_EQ(entries[2], "[INFO] Successfully killed process: setup.exe");
  EXPECT_EQ(entries[3], "[INFO] setup.exe killed.");
}

}  // namespace
}  // namespace vesk::uninstall
