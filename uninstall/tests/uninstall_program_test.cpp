// Installs the stand-in product with "VeskSetup.exe quiet", places the built VeskUninstall.exe
// where setup puts it, runs it under Wine as a separate process and checks what it leaves: exit
// code, files, registry, logs.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"
#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::ChildProcess;
using testing::N;
using vesk::testing::FileExists;
using vesk::testing::FolderExists;
using vesk::testing::ListFolder;
using vesk::testing::ProcessResult;
using vesk::testing::ReadFileBytes;
using vesk::testing::RegistryKeyExists;
using vesk::testing::RunProcess;
using vesk::testing::ScopedDesktopFolder;
using vesk::testing::ScopedEnvironmentVariable;
using vesk::testing::ScopedTempFolder;
using vesk::testing::SplitLines;
using vesk::testing::Widen;

constexpr wchar_t kProductKey[] = L"SOFTWARE\\Vesk.helm";
constexpr wchar_t kUninstallEntry[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm";
constexpr wchar_t kUrlProtocolKey[] = L"SOFTWARE\\Classes\\veskhelm";
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\Quillon\\vesk.helm";
constexpr wchar_t kVersion[] = VESK_STANDIN_DEFAULT_VERSION;
constexpr wchar_t kSetupExitCode[] = L"VESK_STANDIN_SETUP_EXIT_CODE";

void DeleteKey(const wchar_t* key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, key);
  RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

void DeleteAllProductKeys() {
  for (const wchar_t* key : {kProductKey, kUninstallEntry, kUrlProtocolKey, kMakerKey}) {
    DeleteKey(key);
  }
}

void SetText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  ASSERT_TRUE(vesk::testing::WriteUserString(key, name, text));
}

class UninstallProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { StartAfresh(); }

  // No product keys, and a new empty installation folder.
  void StartAfresh() {
    DeleteAllProductKeys();
    // A blank in the path proves that setup.exe is started and given its log file correctly.
    m_install = m_temp / (L"run" + std::to_wstring(++m_runs) + L"\\vesk helm\\Application");
    ASSERT_EQ(SHCreateDirectoryExW(nullptr, m_install.c_str(), nullptr), ERROR_SUCCESS);
  }

  void TearDown() override {
    DeleteAllProductKeys();
    testing::ForgetPendingRebootOperations(m_temp.path());
  }

  std::wstring Installed(const std::wstring& relative) const { return m_install + L"\\" + relative; }
  std::wstring SetupExe() const { return Installed(std::wstring(kVersion) + L"\\Installer\\setup.exe"); }
  std::wstring Uninstaller() const { return Installed(L"uninstall\\VeskUninstall.exe"); }

  // A quiet install of the stand-in product into the test's folder (the product key names it),
  // the maker's key (which no program of the kit writes), and the uninstaller placed where the
  // window road moves it: the quiet road leaves it in its working folder.
  void InstallProduct() {
    SetText(kProductKey, L"VeskInstallPath", m_install);
    SetText(kMakerKey, L"channel", L"stable");
    std::wstring setupFolder = m_temp / (L"download" + std::to_wstring(m_runs));
    ASSERT_TRUE(CreateDirectoryW(setupFolder.c_str(), nullptr));
    std::wstring setupProgram = setupFolder + L"\\VeskSetup.exe";
    ASSERT_TRUE(CopyFileW(VESK_SETUP_EXE, setupProgram.c_str(), FALSE));
    ProcessResult installed = RunProcess(L"\"" + setupProgram + L"\" quiet");
    ASSERT_TRUE(installed.finished) << "start error " << installed.startError;
    ASSERT_EQ(installed.exitCode, 0u);
    ASSERT_TRUE(FileExists(SetupExe()));
    ASSERT_TRUE(FileExists(Installed(L"vesk.helm.exe")));
    ASSERT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
    ASSERT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntry));
    ASSERT_TRUE(CreateDirectoryW(Installed(L"uninstall").c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(VESK_UNINSTALL_EXE, Uninstaller().c_str(), FALSE));
  }

  ProcessResult RunUninstaller(const std::wstring& arguments = L"") {
    std::wstring commandLine = L"\"" + Uninstaller() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    return RunProcess(commandLine);
  }

  // The uninstaller's log entries without their timestamps.
  std::vector<std::string> Log() const {
    std::vector<std::string> entries;
    for (const std::string& line :
         SplitLines(ReadFileBytes(Installed(L"uninstall\\vesk_uninstall.log")))) {
      entries.push_back(line.size() >= 20 ? line.substr(20) : line);
    }
    return entries;
  }
  int IndexOf(const std::string& entry) const {
    std::vector<std::string> entries = Log();
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i] == entry) return static_cast<int>(i);
    }
    return -1;
  }
  bool Logged(const std::string& entry) const { return IndexOf(entry) >= 0; }

  ScopedDesktopFolder m_desktop;
  ScopedTempFolder m_temp{L"e2e"};
  std::wstring m_install;
  int m_runs = 0;
};

// The normal run: setup.exe is started with exactly the uninstall switches, removes the product,
// the URL-protocol key and the maker's key are deleted in that order, and the exit code is 0.
TEST_F(UninstallProgramTest, RemovesAnInstalledProduct) {
  InstallProduct();
  ProcessResult result = RunUninstaller();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);

  // setup.exe's own log starts with the command line it was given.
  std::vector<std::string> setupLog =
      SplitLines(ReadFileBytes(Installed(L"uninstall\\ruzovo_uninstall.log")));
  ASSERT_FALSE(setupLog.empty());
  const std::string commandPrefix = "Command line: ";
  size_t at = setupLog[0].find(commandPrefix);
  ASSERT_NE(at, std::string::npos) << setupLog[0];
  EXPECT_EQ(vesk::testing::CommandLineArguments(Widen(setupLog[0].substr(at + commandPrefix.size()))),
            (std::vector<std::wstring>{SetupExe(), L"--uninstall", L"--verbose-logging",
                                       L"--enable-logging",
                                       L"--log-file=" + Installed(L"uninstall\\ruzovo_uninstall.log")}));

  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntry));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kMakerKey));
  EXPECT_FALSE(FileExists(Installed(L"vesk.helm.exe")));
  // The running setup.exe could not remove itself: it is left for the next restart.
  EXPECT_EQ(ListFolder(m_install), (std::vector<std::wstring>{kVersion, L"uninstall"}));
  EXPECT_TRUE(testing::IsPendingRebootDeletion(SetupExe()));

  std::vector<std::string> log = Log();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0], "[INFO] ================== Vesk.helm Uninstaller ==================");
  int from = IndexOf("[INFO] Found installation path from registry: " + N(m_install));
  ASSERT_GE(from, 0);
  EXPECT_EQ(log[from + 1], "[INFO] Found pv value from registry: " + N(kVersion));
  EXPECT_EQ(log[from + 2], "[INFO] Starting uninstallation...");
  EXPECT_EQ(log[from + 3], "[INFO] Starting uninstall process...");
  int finished = IndexOf("[INFO] Uninstall process finished, exit code: 19");
  ASSERT_GT(finished, from);
  EXPECT_EQ(std::vector<std::string>(log.begin() + finished + 1, log.begin() + finished + 9),
            (std::vector<std::string>{
                "[INFO] setup.exe exitCode: 19",
                "[INFO] Ruzovo uninstall success!",
                "[ERROR] Failed to open registry key: " + N(kUninstallEntry),
                "[INFO] vesk should delete !!!",
                "[INFO] Deleting Vesk registry entries...",
                "[INFO] Successfully deleted registry key: SOFTWARE\\Classes\\veskhelm",
                "[INFO] Successfully deleted registry key: SOFTWARE\\Quillon\\vesk.helm",
                "[INFO] Uninstallation completed successfully!",
            }));
  // The final check sees the version folder beside the uninstall folder and removes nothing.
  std::vector<std::string> finalCheck(log.begin() + finished + 9, log.end());
  ASSERT_GE(finalCheck.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(finalCheck.begin(), finalCheck.begin() + 3),
            (std::vector<std::string>{
                "[INFO] Performing final directory check before exit...",
                "[INFO] Checking installation directory: " + N(m_install),
                "[INFO] Checking if current directory only contains uninstall folder: " + N(m_install),
            }));
  // The verdict depends on the order in which the folder search returns the two folders.
  std::vector<std::string> verdict(finalCheck.begin() + 3, finalCheck.end() - 1);
  const std::vector<std::string> otherFirst = {"[INFO] Found other folder: " + N(kVersion) +
                                               ", not only uninstall folder"};
  const std::vector<std::string> uninstallFirst = {
      "[INFO] Found uninstall folder: " + N(Installed(L"uninstall")),
      "[INFO] Found more than 1 folder, current directory is not only uninstall folder"};
  EXPECT_TRUE(verdict == otherFirst || verdict == uninstallFirst) << verdict.front();
  EXPECT_EQ(finalCheck.back(), "[INFO] Final directory check completed successfully");
}

// The application running without "--force": a warning, setup.exe answers 16, the product stays
// registered, nothing is deleted and the exit code is 1.
TEST_F(UninstallProgramTest, RunningApplicationWithoutForceKeepsEverything) {
  InstallProduct();
  ChildProcess application(Installed(L"vesk.helm.exe"), 0);
  ASSERT_TRUE(application.started());
  ASSERT_TRUE(testing::CountProcesses(L"vesk.helm.exe") > 0);
  ProcessResult result = RunUninstaller();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 1u);
  EXPECT_TRUE(Logged("[WARNING] vesk.helm.exe is running. Please close it first or use --force."));
  EXPECT_TRUE(Logged("[INFO] Uninstall process finished, exit code: 16"));
  EXPECT_TRUE(Logged("[INFO] Ruzovo is running!"));
  EXPECT_TRUE(Logged("[INFO] vesk shouldn't delete !!!!!!!"));
  EXPECT_TRUE(Logged("[ERROR] Uninstallation failed!"));
  EXPECT_FALSE(application.WaitForExit(0));
  EXPECT_TRUE(FileExists(Installed(L"vesk.helm.exe")));
  EXPECT_TRUE(FileExists(SetupExe()));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntry));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kMakerKey));
}

// With "--force" the running application is terminated first and the uninstallation succeeds.
TEST_F(UninstallProgramTest, ForceTerminatesTheApplicationFirst) {
  InstallProduct();
  ChildProcess application(Installed(L"vesk.helm.exe"), 0);
  ASSERT_TRUE(application.started());
  ProcessResult result = RunUninstaller(L"--force");
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_TRUE(application.WaitForExit(10000));
  int kill = IndexOf("[INFO] vesk.helm.exe is running, now kill it.");
  ASSERT_GE(kill, 0);
  EXPECT_LT(kill, IndexOf("[INFO] Starting uninstall process..."));
  EXPECT_TRUE(Logged("[INFO] Successfully killed process: vesk.helm.exe"));
  EXPECT_TRUE(Logged("[INFO] Uninstall process finished, exit code: 19"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
}

// setup.exe answering 20 leaves the minimal state: the uninstaller removes setup.exe, the
// Installer folder and the version folder, keeps the uninstall folder, and, the product being
// still registered, fails; the final check then finds the lone uninstall folder.
TEST_F(UninstallProgramTest, FailedUninstallLeavesOnlyTheUninstallFolder) {
  InstallProduct();
  ScopedEnvironmentVariable code(kSetupExitCode, std::wstring(L"20"));
  ProcessResult result = RunUninstaller();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 1u);
  EXPECT_FALSE(FolderExists(Installed(kVersion)));
  EXPECT_TRUE(FolderExists(Installed(L"uninstall")));
  EXPECT_TRUE(FileExists(Uninstaller()));
  EXPECT_TRUE(Logged("[INFO] Installation directory only contains uninstall folder and setup.exe, "
                     "proceeding with cleanup"));
  EXPECT_TRUE(Logged("[INFO] Successfully deleted setup.exe: " + N(SetupExe())));
  EXPECT_TRUE(Logged("[INFO] Successfully deleted version directory: " + N(Installed(kVersion))));
  EXPECT_TRUE(Logged("[INFO] vesk shouldn't delete !!!!!!!"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
  int finalCheck = IndexOf("[INFO] Performing final directory check before exit...");
  ASSERT_GT(finalCheck, IndexOf("[ERROR] Uninstallation failed!"));
  EXPECT_TRUE(Logged("[INFO] Found uninstall folder: " + N(Installed(L"uninstall"))));
  EXPECT_TRUE(Logged(
      "[INFO] Current directory only contains uninstall folder, attempting to delete it"));
  // The folder holds the running uninstaller and its open log: the removal fails and is reported.
  EXPECT_EQ(Log().back(), "[WARNING] Final directory check failed");
}

// setup.exe answering 20 while the installation folder still holds another file: the skip line,
// and nothing is deleted by the uninstaller.
TEST_F(UninstallProgramTest, FailedUninstallWithOtherFilesSkipsTheCleanup) {
  InstallProduct();
  std::wstring extra = Installed(L"debug.log");
  ASSERT_TRUE(vesk::testing::WriteFileBytes(extra, "held"));
  UniqueFile holder(CreateFileW(extra.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder.valid());
  ScopedEnvironmentVariable code(kSetupExitCode, std::wstring(L"20"));
  ProcessResult result = RunUninstaller();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 1u);
  EXPECT_TRUE(Logged("[INFO] Found file in root directory, terminating check early: debug.log"));
  EXPECT_TRUE(Logged("[INFO] Installation directory contains other files, skipping cleanup"));
  EXPECT_TRUE(FileExists(SetupExe()));
}

struct KeptRegistrationRow {
  const wchar_t* code;
  const char* meaning;
};

// Whatever setup.exe answers, while the uninstall entry stays the run fails and keeps the keys.
TEST_F(UninstallProgramTest, UninstallEntryLeftInPlaceFailsTheRun) {
  const KeptRegistrationRow rows[] = {
      {L"21", "[INFO] User cancels Ruzovo uninstallation!"},
      {L"23", "[INFO] Others exit code!!!"},
  };
  for (const KeptRegistrationRow& row : rows) {
    SCOPED_TRACE(N(row.code));
    StartAfresh();
    InstallProduct();
    ScopedEnvironmentVariable code(kSetupExitCode, std::wstring(row.code));
    ProcessResult result = RunUninstaller();
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(Logged(row.meaning));
    int decision = IndexOf("[INFO] vesk shouldn't delete !!!!!!!");
    ASSERT_GE(decision, 0);
    EXPECT_EQ(Log()[decision + 1], "[ERROR] Uninstallation failed!");
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntry));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kMakerKey));
    EXPECT_TRUE(FileExists(Installed(L"vesk.helm.exe")));
  }
}

struct MissingInstallationRow {
  const char* label;
  void (*prepare)(const std::wstring& install);
  std::vector<std::string> lines;  // in this order, directly before "Vesk uninstall failed!"
};

// No installation to be found: the reads' own lines, the summary, exit code 1, nothing deleted.
TEST_F(UninstallProgramTest, MissingInstallationFailsWithoutDeleting) {
  const std::string summary =
      "[ERROR] Could not find required installation information in the registry "
      "(VeskInstallPath or pv).";
  const MissingInstallationRow rows[] = {
      {"no product key", [](const std::wstring&) { DeleteKey(kProductKey); },
       {"[ERROR] Failed to open registry key: SOFTWARE\\Vesk.helm",
        "[ERROR] Failed to open registry key: SOFTWARE\\Vesk.helm", summary}},
      {"empty pv", [](const std::wstring&) { SetText(kProductKey, L"pv", L""); },
       {"[INFO] Found pv value in registry: ", summary}},
      {"pv of 260 characters",
       [](const std::wstring&) { SetText(kProductKey, L"pv", std::wstring(260, L'9')); },
       {"[ERROR] Registry value is too long: pv", summary}},
  };
  for (const MissingInstallationRow& row : rows) {
    SCOPED_TRACE(row.label);
    StartAfresh();
    InstallProduct();
    row.prepare(m_install);
    ProcessResult result = RunUninstaller();
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, 1u);
    int failed = IndexOf("[ERROR] Vesk uninstall failed!");
    ASSERT_GE(failed, static_cast<int>(row.lines.size()));
    std::vector<std::string> log = Log();
    EXPECT_EQ(std::vector<std::string>(log.begin() + failed - row.lines.size(), log.begin() + failed),
              row.lines);
    EXPECT_EQ(log[failed + 1], "[INFO] Performing final directory check before exit...");
    EXPECT_FALSE(Logged("[INFO] Starting uninstallation..."));
    EXPECT_TRUE(FileExists(SetupExe()));
    EXPECT_TRUE(FileExists(Installed(L"vesk.helm.exe")));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
    EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntry));
  }
}

// A registered version whose setup.exe is missing: the error line, exit code 1, no cleanup.
TEST_F(UninstallProgramTest, MissingSetupFailsWithoutDeleting) {
  InstallProduct();
  ASSERT_TRUE(DeleteFileW(SetupExe().c_str()));
  ProcessResult result = RunUninstaller();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 1u);
  int missing = IndexOf("[ERROR] setup.exe does not exist: " + N(SetupExe()));
  ASSERT_GE(missing, 0);
  EXPECT_EQ(Log()[missing + 1], "[ERROR] Uninstallation failed!");
  EXPECT_TRUE(FileExists(Installed(L"vesk.helm.exe")));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUrlProtocolKey));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kMakerKey));
}

// Two runs append to the same log, each beginning with the banner.
TEST_F(UninstallProgramTest, RunsAppendToTheLog) {
  InstallProduct();
  DeleteKey(kProductKey);
  ASSERT_TRUE(RunUninstaller().finished);
  ASSERT_TRUE(RunUninstaller().finished);
  std::vector<std::string> log = Log();
  EXPECT_EQ(std::count(log.begin(), log.end(),
                       "[INFO] ================== Vesk.helm Uninstaller =================="),
            2);
  EXPECT_EQ(std::count(log.begin(), log.end(), "[ERROR] Vesk uninstall failed!"), 2);
}

}  // namespace
}  // namespace vesk::uninstall
