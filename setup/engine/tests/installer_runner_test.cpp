#include "setup/engine/installer_runner.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <ostream>
#include <string>
#include <vector>

#include "setup/engine/payload_integrity.h"
#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/log_capture.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::FileExists;
using testing::FolderExists;
using testing::ListFolder;
using testing::LogCapture;
using testing::Narrow;
using testing::PlaceTestChild;
using testing::ReadFileBytes;
using testing::ReadRegistryValue;
using testing::ScopedEnvironmentVariable;
using testing::ScopedTempFolder;
using testing::SplitLines;
using testing::WriteFileBytes;

const wchar_t kProductKeyPath[] = L"Software\\Vesk.helm";
const wchar_t kUninstallEntryPath[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm";

void DeleteProductRegistry() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kProductKeyPath);
  RegDeleteKeyW(HKEY_CURRENT_USER, kProductKeyPath);
  RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallEntryPath);
  RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallEntryPath);
}

// The stand-in installer writes the real user's registry and desktop (it is another process):
// both are cleaned before and after, and the desktop points at a temporary folder.
class DirectRoadTest : public ::testing::Test {
 protected:
  DirectRoadTest() { DeleteProductRegistry(); }
  ~DirectRoadTest() override { DeleteProductRegistry(); }

  testing::ScopedDesktopFolder m_desktop;
  LogCapture m_log;
  testing::TrustPayloadFiles m_trust;  // the test child records no digest
  ScopedTempFolder m_folder{L"vesk install"};
};

struct ExitCodeCase {
  const wchar_t* control;  // VESK_STANDIN_INSTALLER_EXIT_CODE, or none
  int result;
  const char* logged;
};

void PrintTo(const ExitCodeCase& test, std::ostream* out) { *out << test.logged; }

class DirectRoadExitTest : public DirectRoadTest,
                           public ::testing::WithParamInterface<ExitCodeCase> {};

// The direct road runs "<folder>\mini_installer.exe", waits for it and returns its exit code,
// logged as an unsigned number.
TEST_P(DirectRoadExitTest, ReturnsTheInstallersExitCode) {
  ASSERT_TRUE(CopyFileW(VESK_STANDIN_INSTALLER_EXE, (m_folder / L"mini_installer.exe").c_str(),
                        FALSE));
  std::optional<std::wstring> control;
  if (GetParam().control != nullptr) control = GetParam().control;
  ScopedEnvironmentVariable exitCode(L"VESK_STANDIN_INSTALLER_EXIT_CODE", control);
  int result = InstallerRunner(nullptr, false).LaunchMiniInstaller(m_folder.path(), false);
  EXPECT_EQ(result, GetParam().result);
  std::vector<std::string> expected = {
      "LaunchMiniInstaller installerPath: " + Narrow(m_folder / L"mini_installer.exe"),
      std::string("mini_installer.exe exited with code: ") + GetParam().logged};
  EXPECT_EQ(m_log.Messages(), expected);
  // The installer ran from the install folder: it installed there only when it succeeded.
  EXPECT_EQ(FileExists(m_folder / L"vesk.helm.exe"), GetParam().result == 0);
  EXPECT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"InstallerResult").exists);
}

INSTANTIATE_TEST_SUITE_P(Codes, DirectRoadExitTest,
                         ::testing::Values(ExitCodeCase{nullptr, 0, "0"},
                                           ExitCodeCase{L"3", 3, "3"},
                                           ExitCodeCase{L"-1073741819", -1073741819,
                                                        "3221225477"}),
                         [](const auto& info) {
                           return std::string("ExitCode") + info.param.logged;
                         });


// The installer checked before the install is held from its check to its start: it cannot be
// written in between, and its start does not hash it a second time.
TEST_F(DirectRoadTest, CheckedInstallerIsHeldAndNotHashedAgain) {
  static int checks = 0;
  checks = 0;
  ScopedOverride<PayloadFileCheck> counted{g_payloadFileMatchesRecord,
                                           [](const std::wstring&, int) { return ++checks > 0; }};
  const std::wstring installer = m_folder / L"mini_installer.exe";
  ASSERT_TRUE(CopyFileW(VESK_STANDIN_INSTALLER_EXE, installer.c_str(), FALSE));
  auto writable = [&] {
    return UniqueFile(CreateFileW(installer.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, 0, nullptr))
        .valid();
  };
  InstallerRunner runner(nullptr, false);
  ASSERT_TRUE(runner.InstallerMatchesRecord(m_folder.path()));
  EXPECT_FALSE(writable());
  EXPECT_EQ(runner.LaunchMiniInstaller(m_folder.path(), false), 0);
  EXPECT_EQ(checks, 1);
  EXPECT_TRUE(writable());
}

// Without an installer in the folder the process cannot be created: 102 at once.
TEST_F(DirectRoadTest, MissingInstallerGives102) {
  EXPECT_EQ(InstallerRunner(nullptr, false).LaunchMiniInstaller(m_folder.path(), false), 102);
  std::vector<std::string> expected = {
      "LaunchMiniInstaller installerPath: " + Narrow(m_folder / L"mini_installer.exe"),
      "Failed to create process."};
  EXPECT_EQ(m_log.Messages(), expected);
}

// A folder whose installer path does not fit 260 characters is refused, never cut: 102.
TEST_F(DirectRoadTest, OverlongFolderGives102) {
  std::wstring folder = m_folder.path() + L"\\" + std::wstring(250, L'f');
  EXPECT_EQ(InstallerRunner(nullptr, false).LaunchMiniInstaller(folder, false), 102);
  std::vector<std::string> expected = {"Path too long: " + Narrow(folder) + "\\mini_installer.exe",
                                       "Failed to create process."};
  EXPECT_EQ(m_log.Messages(), expected);
}

// In a folder with a blank, a program named like the part before the blank is never started
// instead of the installer, and the installer gets its own path as its only argument.
TEST_F(DirectRoadTest, FolderWithBlankStartsTheInstallerItself) {
  std::wstring folder = m_folder / L"my app";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(PlaceTestChild(folder + L"\\mini_installer.exe"));
  ASSERT_TRUE(PlaceTestChild(m_folder / L"my.exe"));
  std::wstring record = m_folder / L"record.txt";
  ScopedEnvironmentVariable recordTo(L"VESK_TEST_CHILD_RECORD", record);
  ScopedEnvironmentVariable exitWith(L"VESK_TEST_CHILD_EXIT", std::wstring(L"7"));

  EXPECT_EQ(InstallerRunner(nullptr, false).LaunchMiniInstaller(folder, false), 7);
  std::vector<std::string> lines = SplitLines(ReadFileBytes(record));
  ASSERT_EQ(lines.size(), 1u);
  std::string installer = Narrow(folder + L"\\mini_installer.exe");
  EXPECT_EQ(lines[0], installer + "\t\"" + installer + "\"");
  EXPECT_EQ(testing::CommandLineArguments(testing::RecordedCommandLine(lines[0])).size(), 1u);
}

// Without progress no monitor runs: the runner posts nothing and its end has nothing to join.
TEST_F(DirectRoadTest, WithoutProgressNothingIsPosted) {
  ASSERT_TRUE(PlaceTestChild(m_folder / L"mini_installer.exe"));
  testing::MessageRecorder recorder;
  {
    InstallerRunner runner(recorder.window(), false);
    EXPECT_EQ(runner.LaunchMiniInstaller(m_folder.path(), false), 0);
  }
  recorder.PumpUntil(WM_APP + 0xFF, 300);
  EXPECT_TRUE(recorder.received().empty());
}

// The working folder of the elevated road: the batch file and payload files of each kind.
class ElevatedRoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CopyFileW(VESK_BATCH_FILE, (m_working / L"vesk_installer.bat").c_str(), FALSE));
    ASSERT_TRUE(PlaceTestChild(m_working / L"mini_installer.exe"));
    ASSERT_TRUE(WriteFileBytes(m_working / L"metrics_sdk.dll", "dll"));
    ASSERT_TRUE(WriteFileBytes(m_working / L"update_pub.pem", "pem"));
    ASSERT_TRUE(WriteFileBytes(m_working / L"background.png", "png"));
    ASSERT_TRUE(WriteFileBytes(m_working / L"version.txt", "1.2.3.4\r\n"));
  }

  // Runs the elevated road for `folder` and waits until the batch file and what it started have
  // ended; when the installer is expected to run, also until it has recorded itself.
  int RunElevated(const std::wstring& folder, bool installerExpected) {
    ScopedEnvironmentVariable recordTo(L"VESK_TEST_CHILD_RECORD", m_record);
    int result = InstallerRunner(nullptr, true, m_working.path()).LaunchMiniInstaller(folder, false);
    EXPECT_TRUE(testing::WaitForDescendantProcesses(60000));
    if (installerExpected) testing::WaitUntil([&] { return FileExists(m_record); }, 30000);
    return result;
  }

  LogCapture m_log;
  testing::TrustPayloadFiles m_trust;
  ScopedTempFolder m_working{L"working"};
  ScopedTempFolder m_targets{L"targets"};
  std::wstring m_record = m_targets / L"record.txt";
};

const std::vector<std::wstring> kCopiedFiles = {L"metrics_sdk.dll", L"mini_installer.exe",
                                                L"update_pub.pem"};

// One blank: the command processor splits the folder in two and the batch file joins it again;
// the programs, libraries and key file arrive there and the installer starts from there. A
// started launch counts as success (0) and logs the shell's result.
TEST_F(ElevatedRoadTest, FolderWithOneBlankIsRebuilt) {
  std::wstring folder = m_targets / L"vesk helm";
  EXPECT_EQ(RunElevated(folder, true), 0);
  EXPECT_EQ(ListFolder(folder), kCopiedFiles);
  std::vector<std::string> lines = SplitLines(ReadFileBytes(m_record));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, lines[0].find('\t')), Narrow(folder + L"\\mini_installer.exe"));

  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[0], "LaunchMiniInstaller installerBatPath: " +
                             Narrow(m_working / L"vesk_installer.bat"));
  EXPECT_EQ(messages[1], "LaunchMiniInstaller tempDir: " + Narrow(m_working.path()));
  EXPECT_EQ(messages[2], "LaunchMiniInstaller customPath: " + Narrow(folder));
  EXPECT_EQ(messages[3], "LaunchMiniInstaller params: " + Narrow(folder));
  EXPECT_EQ(messages[4].rfind("ShellExecute vesk_installer.bat success result: ", 0), 0u)
      << messages[4];
  EXPECT_GT(std::stoi(messages[4].substr(messages[4].rfind(' ') + 1)), 32);
}

// Two blanks: the folder is passed as two quoted halves, so the files reach the folder itself
// and not the folder named by its first two words.
TEST_F(ElevatedRoadTest, FolderWithTwoBlanksIsRebuilt) {
  std::wstring folder = m_targets / L"vesk helm (x86) app";
  EXPECT_EQ(RunElevated(folder, true), 0);
  EXPECT_EQ(ListFolder(folder), kCopiedFiles);
  std::vector<std::string> lines = SplitLines(ReadFileBytes(m_record));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(0, lines[0].find('\t')), Narrow(folder + L"\\mini_installer.exe"));
  std::vector<std::wstring> targets = ListFolder(m_targets.path());
  EXPECT_EQ(targets, (std::vector<std::wstring>{L"record.txt", L"vesk helm (x86) app"}));
}

// No blank: the batch file's target becomes the folder followed by a blank, a path that does not
// lead into the folder, so nothing is copied and no installer starts. The launch itself
// succeeded and is reported as such.
TEST_F(ElevatedRoadTest, FolderWithoutBlankReceivesNothing) {
  std::wstring folder = m_targets / L"vesk.helm";
  EXPECT_EQ(RunElevated(folder, false), 0);
  EXPECT_FALSE(FileExists(m_record));
  EXPECT_TRUE(!FolderExists(folder) || ListFolder(folder).empty());
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[3], "LaunchMiniInstaller params: " + Narrow(folder));
}

// The shell cannot start a missing batch file: its result is logged and the runner answers 104.
TEST_F(ElevatedRoadTest, MissingBatchFileGives104) {
  ASSERT_TRUE(DeleteFileW((m_working / L"vesk_installer.bat").c_str()));
  std::wstring folder = m_targets / L"vesk helm";
  EXPECT_EQ(InstallerRunner(nullptr, true, m_working.path()).LaunchMiniInstaller(folder, false),
            104);
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 5u);
  EXPECT_EQ(messages[4].rfind("ShellExecute vesk_installer.bat failed: Result: ", 0), 0u)
      << messages[4];
  EXPECT_LE(std::stoi(messages[4].substr(messages[4].rfind(' ') + 1)), 32);
  EXPECT_FALSE(FolderExists(folder));
}

// A folder holding a character the command processor acts on is never handed to the batch file.
TEST_F(ElevatedRoadTest, FolderWithCommandCharactersIsRefused) {
  std::wstring folder = m_targets / L"Tom&Jerry";
  EXPECT_EQ(InstallerRunner(nullptr, true, m_working.path()).LaunchMiniInstaller(folder, false),
            104);
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[3], "Install folder cannot be passed to vesk_installer.bat: " + Narrow(folder));
  EXPECT_FALSE(FolderExists(folder));
}

// Without an explicit working folder the batch file is taken from the program's own one.
TEST(ElevatedRoadDefaults, UsesTheProgramsWorkingFolder) {
  LogCapture log;
  ScopedTempFolder targets;
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring program = self;
  std::wstring working = program.substr(0, program.rfind(L'\\')) + L"\\.VeskSetupTemp";
  (void)InstallerRunner(nullptr, true).LaunchMiniInstaller(targets / L"Tom&Jerry", false);
  std::vector<std::string> messages = log.Messages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[0], "LaunchMiniInstaller installerBatPath: " + Narrow(working) +
                             "\\vesk_installer.bat");
  EXPECT_EQ(messages[1], "LaunchMiniInstaller tempDir: " + Narrow(working));
}

// The built setup program's recorded digests, in force for one test.
class RecordedDigests {
 public:
  RecordedDigests()
      : m_module(LoadLibraryExW(VESK_SETUP_EXE, nullptr,
                               LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {
    s_module = m_module.get();
  }
  ~RecordedDigests() { s_module = nullptr; }
  bool loaded() const { return m_module.valid(); }

 private:
  static bool MatchesSetupRecord(const std::wstring& path, int id) {
    return FileMatchesRecordIn(s_module, path, id);
  }
  static HMODULE s_module;
  UniqueModule m_module;
  ScopedOverride<PayloadFileCheck> m_check{g_payloadFileMatchesRecord, &MatchesSetupRecord};
};
HMODULE RecordedDigests::s_module = nullptr;

// An installer that differs from the one recorded at build time is not started on the direct
// road: the mismatch is logged and the result is 106.
TEST_F(DirectRoadTest, AlteredInstallerIsNotStarted) {
  RecordedDigests digests;
  ASSERT_TRUE(digests.loaded());
  ASSERT_TRUE(PlaceTestChild(m_folder / L"mini_installer.exe"));
  std::wstring record = m_folder / L"record.txt";
  ScopedEnvironmentVariable recordTo(L"VESK_TEST_CHILD_RECORD", record);
  EXPECT_EQ(InstallerRunner(nullptr, false).LaunchMiniInstaller(m_folder.path(), false), 106);
  Sleep(500);
  EXPECT_FALSE(FileExists(record));
  EXPECT_EQ(m_log.Messages().back(), "mini_installer.exe does not match its recorded digest: " +
                                        Narrow(m_folder / L"mini_installer.exe"));
}

// On the elevated road the working folder's installer is checked before the batch file starts.
TEST_F(ElevatedRoadTest, AlteredInstallerIsNotStarted) {
  RecordedDigests digests;
  ASSERT_TRUE(digests.loaded());
  ScopedTempFolder target{L"target"};
  EXPECT_EQ(RunElevated(target.path(), false), 106);
  EXPECT_FALSE(FileExists(target / L"mini_installer.exe"));
  EXPECT_FALSE(FileExists(m_record));
  EXPECT_EQ(m_log.Messages().back(), "mini_installer.exe does not match its recorded digest: " +
                                        Narrow(m_working / L"mini_installer.exe"));
}

}  // namespace
}  // namespace vesk
