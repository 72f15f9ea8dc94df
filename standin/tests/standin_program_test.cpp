// Runs the built stand-ins (mini_installer.exe, setup.exe, vesk.helm.exe) under Wine as separate
// processes and checks what they leave: files, registry values, the desktop shortcut, the log.
#include <gtest/gtest.h>

#include <objbase.h>

#include <functional>
#include <memory>

#include "common/process_list.h"
#include "common/unique_handle.h"
#include "standin/support/shortcut.h"
#include "standin/support/standin_controls.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"

namespace vesk::standin {
namespace {

using testing::FileExists;
using testing::FolderExists;
using testing::ListFolder;
using testing::ReadFileBytes;
using testing::ReadRegistryValue;
using testing::RegistryValue;
using testing::RegistryKeyExists;
using testing::RunProcess;
using testing::ScopedEnvironmentVariable;

const wchar_t kProductKeyPath[] = L"Software\\Vesk.helm";
const wchar_t kUninstallEntryPath[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm";
const wchar_t kDefaultVersion[] = VESK_STANDIN_DEFAULT_VERSION;

std::wstring ProductString(const wchar_t* name) {
  RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, name);
  return value.exists ? value.AsString() : L"<missing>";
}

bool ProductValueExists(const wchar_t* name) {
  return ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, name).exists;
}

std::wstring EntryString(const wchar_t* name) {
  RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, kUninstallEntryPath, name);
  return value.exists ? value.AsString() : L"<missing>";
}

void DeleteProductRegistry() {
  RegDeleteTreeW(HKEY_CURRENT_USER, kProductKeyPath);
  RegDeleteKeyW(HKEY_CURRENT_USER, kProductKeyPath);
  RegDeleteTreeW(HKEY_CURRENT_USER, kUninstallEntryPath);
  RegDeleteKeyW(HKEY_CURRENT_USER, kUninstallEntryPath);
}

// A started program that this test ends if it still runs when the test is over.
class StartedProcess {
 public:
  explicit StartedProcess(const std::wstring& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION information = {};
    std::wstring mutableLine = commandLine;
    if (CreateProcessW(nullptr, &mutableLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &information)) {
      m_process.reset(information.hProcess);
      UniqueKernelHandle thread(information.hThread);
      m_id = information.dwProcessId;
    }
  }
  ~StartedProcess() {
    if (Running()) {
      TerminateProcess(m_process.get(), 1);
      WaitForSingleObject(m_process.get(), 10000);
    }
  }
  bool Started() const { return m_process.valid(); }
  bool Running() const {
    return m_process.valid() && WaitForSingleObject(m_process.get(), 0) == WAIT_TIMEOUT;
  }
  DWORD id() const { return m_id; }
  // Waits for the end; the exit code, or nothing when it does not end within a minute.
  std::optional<DWORD> Wait() {
    if (WaitForSingleObject(m_process.get(), 60000) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(m_process.get(), &code);
    return code;
  }

 private:
  UniqueKernelHandle m_process;
  DWORD m_id = 0;
};

// Polls until the condition holds or a minute has gone by; answers the condition.
bool WaitUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < 1200; ++i) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

bool ProcessNamed(const wchar_t* name) {
  return !FindProcessesByName(name, NameMatch::kExact).ids.empty();
}

// The process's status window once it is shown; null before.
HWND WindowOfProcess(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search = {processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM parameter) -> BOOL {
        auto* state = reinterpret_cast<Search*>(parameter);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        wchar_t className[64] = {};
        GetClassNameW(window, className, 64);
        if (owner == state->processId && wcscmp(className, L"VeskHelmStandInWindow") == 0 &&
            IsWindowVisible(window)) {
          state->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class StandinProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    DeleteProductRegistry();
    // A blank in the folder name proves every stored command quotes its paths.
    m_folder = m_temp / L"vesk helm";
    ASSERT_TRUE(CreateDirectoryW(m_folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(VESK_STANDIN_INSTALLER_EXE, Installed(L"mini_installer.exe").c_str(),
                          FALSE));
  }

  void TearDown() override {
    DeleteProductRegistry();
    CoUninitialize();
  }

  std::wstring Installed(const std::wstring& relative) const { return m_folder + L"\\" + relative; }
  std::wstring SetupPath(const std::wstring& version = kDefaultVersion) const {
    return Installed(version + L"\\Installer\\setup.exe");
  }

  testing::ProcessResult Install() {
    return RunProcess(L"\"" + Installed(L"mini_installer.exe") + L"\"");
  }

  void InstallVersion(const std::wstring& version) {
    ScopedEnvironmentVariable versionControl(kVersionVariable, version);
    testing::ProcessResult result = Install();
    ASSERT_TRUE(result.finished);
    ASSERT_EQ(result.exitCode, 0u);
  }

  // setup.exe started with the command line the kit's uninstaller uses: its path unquoted.
  std::wstring UninstallCommand(const std::wstring& version = kDefaultVersion) const {
    return SetupPath(version) + L" --uninstall --verbose-logging --enable-logging --log-file=\"" +
           UninstallLog() + L"\"";
  }
  std::wstring UninstallLog() const { return Installed(L"uninstall\\ruzovo_uninstall.log"); }

  // What the kit adds to an installation: its log, the uninstaller in its folder.
  void AddKitFiles() {
    ASSERT_TRUE(CreateDirectoryW(Installed(L"uninstall").c_str(), nullptr));
    ASSERT_TRUE(testing::WriteFileBytes(Installed(L"uninstall\\VeskUninstall.exe"), "kit"));
    ASSERT_TRUE(testing::WriteFileBytes(Installed(L"vesk_install.log"), "log"));
  }

  // Every file and folder below the install folder, as relative paths, sorted.
  std::vector<std::wstring> Tree() const { return TreeBelow(m_folder, L""); }
  static std::vector<std::wstring> TreeBelow(const std::wstring& path,
                                             const std::wstring& prefix) {
    std::vector<std::wstring> entries;
    for (const std::wstring& name : ListFolder(path)) {
      entries.push_back(prefix + name);
      if (FolderExists(path + L"\\" + name)) {
        for (const std::wstring& inner : TreeBelow(path + L"\\" + name, prefix + name + L"\\")) {
          entries.push_back(inner);
        }
      }
    }
    return entries;
  }

  ScopedEnvironmentVariable m_versionControl{kVersionVariable, std::nullopt};
  ScopedEnvironmentVariable m_exitCodeControl{kInstallerExitCodeVariable, std::nullopt};
  ScopedEnvironmentVariable m_runControl{kInstallerRunMsVariable, std::nullopt};
  ScopedEnvironmentVariable m_pendingControl{kPendingUpdateVariable, std::nullopt};
  ScopedEnvironmentVariable m_inUseControl{kInUseVersionVariable, std::nullopt};
  ScopedEnvironmentVariable m_setupControl{kSetupExitCodeVariable, std::nullopt};
  ScopedEnvironmentVariable m_applicationLogControl{kApplicationLogVariable, std::nullopt};
  testing::ScopedDesktopFolder m_desktop;
  testing::ScopedTempFolder m_temp{L"vesk_standin"};
  std::wstring m_folder;
};

// An install puts the application, its files and the carried setup.exe into the installer's folder.
TEST_F(StandinProgramTest, InstallPlacesTheApplicationBesideTheInstaller) {
  testing::ProcessResult result = Install();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  std::wstring v = kDefaultVersion;
  std::vector<std::wstring> expected = {
      v, v + L"\\Installer", v + L"\\Installer\\setup.exe", v + L"\\resources.pak",
      v + L"\\vesk.helm.dll", L"mini_installer.exe", L"vesk.helm.VisualElementsManifest.xml",
      L"vesk.helm.exe"};
  EXPECT_EQ(Tree(), expected);
  EXPECT_EQ(ReadFileBytes(SetupPath()), ReadFileBytes(VESK_STANDIN_SETUP_EXE));
  EXPECT_EQ(ReadFileBytes(Installed(L"vesk.helm.exe")), ReadFileBytes(VESK_STANDIN_APPLICATION_EXE));
}

// An install records the version and a successful result under the product key.
TEST_F(StandinProgramTest, InstallRecordsVersionAndResult) {
  ASSERT_EQ(Install().exitCode, 0u);
  EXPECT_EQ(ProductString(L"pv"), kDefaultVersion);
  RegistryValue result = ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"InstallerResult");
  RegistryValue error = ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"InstallerError");
  ASSERT_TRUE(result.exists);
  ASSERT_TRUE(error.exists);
  EXPECT_EQ(result.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(result.AsDword(), 0u);
  EXPECT_EQ(error.AsDword(), 0u);
  EXPECT_EQ(ProductString(L"InstallerResultUIString"),
            std::wstring(L"vesk.helm ") + kDefaultVersion + L" installed.");
  EXPECT_FALSE(ProductValueExists(L"opv"));
  EXPECT_FALSE(ProductValueExists(L"cmd"));
}

// An install registers the uninstall entry with what the system's software list shows.
TEST_F(StandinProgramTest, InstallRegistersTheUninstallEntry) {
  ASSERT_EQ(Install().exitCode, 0u);
  EXPECT_EQ(EntryString(L"UninstallString"), L"\"" + SetupPath() + L"\" --uninstall");
  EXPECT_EQ(EntryString(L"DisplayName"), L"vesk.helm");
  EXPECT_EQ(EntryString(L"DisplayVersion"), kDefaultVersion);
  EXPECT_EQ(EntryString(L"Publisher"), L"Quillon");
  EXPECT_EQ(EntryString(L"InstallLocation"), m_folder);
  EXPECT_EQ(EntryString(L"DisplayIcon"), Installed(L"vesk.helm.exe") + L",0");
}

// An install puts a shell shortcut named vesk.helm on the desktop that starts the application.
TEST_F(StandinProgramTest, InstallCreatesDesktopShortcutToTheApplication) {
  ASSERT_EQ(Install().exitCode, 0u);
  ASSERT_TRUE(FileExists(m_desktop / L"vesk.helm.lnk"));
  EXPECT_EQ(ShortcutTarget(m_desktop / L"vesk.helm.lnk"), Installed(L"vesk.helm.exe"));
}

// The version control installs the given version into its own folder and records it.
TEST_F(StandinProgramTest, InstallsTheRequestedVersion) {
  InstallVersion(L"2.0.0.7");
  EXPECT_EQ(ProductString(L"pv"), L"2.0.0.7");
  EXPECT_TRUE(FileExists(SetupPath(L"2.0.0.7")));
  EXPECT_EQ(EntryString(L"DisplayVersion"), L"2.0.0.7");
}

// A requested failure code installs nothing, records the failure and becomes the exit code.
TEST_F(StandinProgramTest, RequestedFailureInstallsNothingAndEndsWithTheCode) {
  ScopedEnvironmentVariable failure(kInstallerExitCodeVariable, std::wstring(L"3"));
  testing::ProcessResult result = Install();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 3u);
  EXPECT_EQ(ListFolder(m_folder), std::vector<std::wstring>{L"mini_installer.exe"});
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"InstallerResult").AsDword(), 1u);
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"InstallerError").AsDword(), 3u);
  EXPECT_NE(ProductString(L"InstallerResultUIString").find(L"error 3"), std::wstring::npos);
  EXPECT_FALSE(ProductValueExists(L"pv"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntryPath));
  EXPECT_TRUE(ListFolder(m_desktop.path()).empty());
}

// A version that is not dotted numbers (it would name a folder elsewhere) is refused with 51.
TEST_F(StandinProgramTest, RefusesAVersionThatIsNotDottedNumbers) {
  for (const wchar_t* version : {L"..\\..\\escaped", L"1..2", L"2.0-beta"}) {
    ScopedEnvironmentVariable versionControl(kVersionVariable, std::wstring(version));
    testing::ProcessResult result = Install();
    EXPECT_EQ(result.exitCode, 51u) << testing::Narrow(version);
    EXPECT_EQ(ListFolder(m_folder), std::vector<std::wstring>{L"mini_installer.exe"});
    EXPECT_FALSE(ProductValueExists(L"pv"));
  }
  EXPECT_EQ(ListFolder(m_temp.path()), std::vector<std::wstring>{L"vesk helm"});
}

// While it works and for the requested time after, a process named mini_installer.exe exists.
TEST_F(StandinProgramTest, InstallerKeepsRunningForTheRequestedTime) {
  ScopedEnvironmentVariable runTime(kInstallerRunMsVariable, std::wstring(L"8000"));
  StartedProcess installer(L"\"" + Installed(L"mini_installer.exe") + L"\"");
  ASSERT_TRUE(installer.Started());
  ASSERT_TRUE(WaitUntil([] { return ProductValueExists(L"InstallerResult"); }));
  EXPECT_TRUE(installer.Running());
  EXPECT_TRUE(ProcessNamed(L"mini_installer.exe"));
  EXPECT_EQ(installer.Wait(), std::optional<DWORD>(0));
  EXPECT_FALSE(ProcessNamed(L"mini_installer.exe"));
}

// An update that takes effect replaces the version folder and leaves nothing pending.
TEST_F(StandinProgramTest, UpdateReplacesThePreviousVersion) {
  InstallVersion(L"1.0.0.1");
  InstallVersion(L"1.0.0.2");
  EXPECT_EQ(ProductString(L"pv"), L"1.0.0.2");
  EXPECT_FALSE(FolderExists(Installed(L"1.0.0.1")));
  EXPECT_TRUE(FileExists(SetupPath(L"1.0.0.2")));
  EXPECT_FALSE(ProductValueExists(L"opv"));
  EXPECT_FALSE(ProductValueExists(L"cmd"));
  EXPECT_FALSE(FileExists(Installed(L"new_vesk.helm.exe")));
}

// The pending-update control leaves opv and cmd, and running cmd completes the switch.
TEST_F(StandinProgramTest, PendingUpdateIsCompletedByItsCommand) {
  InstallVersion(L"1.0.0.1");
  {
    ScopedEnvironmentVariable pending(kPendingUpdateVariable, std::wstring(L"1"));
    InstallVersion(L"1.0.0.2");
  }
  EXPECT_EQ(ProductString(L"pv"), L"1.0.0.2");
  EXPECT_EQ(ProductString(L"opv"), L"1.0.0.1");
  std::wstring command = ProductString(L"cmd");
  EXPECT_EQ(command, L"\"" + SetupPath(L"1.0.0.2") + L"\" --rename-vesk-exe");
  EXPECT_TRUE(FileExists(Installed(L"new_vesk.helm.exe")));
  EXPECT_TRUE(FolderExists(Installed(L"1.0.0.1")));

  testing::ProcessResult completion = RunProcess(command);
  ASSERT_TRUE(completion.finished);
  EXPECT_EQ(completion.exitCode, 0u);
  EXPECT_FALSE(FileExists(Installed(L"new_vesk.helm.exe")));
  EXPECT_TRUE(FileExists(Installed(L"vesk.helm.exe")));
  EXPECT_FALSE(FolderExists(Installed(L"1.0.0.1")));
  EXPECT_FALSE(ProductValueExists(L"opv"));
  EXPECT_FALSE(ProductValueExists(L"cmd"));
  EXPECT_EQ(ProductString(L"pv"), L"1.0.0.2");
}

// The in-use version control sets opv of a pending update.
TEST_F(StandinProgramTest, InUseVersionControlSetsOpv) {
  ScopedEnvironmentVariable pending(kPendingUpdateVariable, std::wstring(L"1"));
  ScopedEnvironmentVariable inUse(kInUseVersionVariable, std::wstring(L"3.1"));
  ASSERT_EQ(Install().exitCode, 0u);
  EXPECT_EQ(ProductString(L"opv"), L"3.1");
  EXPECT_EQ(ProductString(L"pv"), kDefaultVersion);
}

// Installing over the running application leaves the update pending until it has closed.
TEST_F(StandinProgramTest, InstallOverTheRunningApplicationLeavesTheUpdatePending) {
  InstallVersion(L"1.0.0.1");
  StartedProcess application(L"\"" + Installed(L"vesk.helm.exe") + L"\"");
  ASSERT_TRUE(WaitUntil([&] { return WindowOfProcess(application.id()) != nullptr; }));
  InstallVersion(L"1.0.0.2");
  EXPECT_EQ(ProductString(L"opv"), L"1.0.0.1");
  EXPECT_TRUE(FileExists(Installed(L"new_vesk.helm.exe")));

  std::wstring command = ProductString(L"cmd");
  EXPECT_EQ(RunProcess(command).exitCode, 10u);  // the application still runs
  EXPECT_TRUE(FileExists(Installed(L"new_vesk.helm.exe")));
  EXPECT_EQ(ProductString(L"opv"), L"1.0.0.1");

  PostMessageW(WindowOfProcess(application.id()), WM_CLOSE, 0, 0);
  EXPECT_EQ(application.Wait(), std::optional<DWORD>(0));
  EXPECT_EQ(RunProcess(command).exitCode, 0u);
  EXPECT_FALSE(FileExists(Installed(L"new_vesk.helm.exe")));
  EXPECT_FALSE(ProductValueExists(L"opv"));
}

// Uninstall with the kit's command line removes the application, its registry entries and its
// shortcut, keeps the uninstall folder, logs to the given file and ends with 19.
TEST_F(StandinProgramTest, UninstallRemovesTheApplicationAndEndsWith19) {
  ASSERT_EQ(Install().exitCode, 0u);
  AddKitFiles();
  // The kit renames the shortcut; a shortcut to another program stays.
  ASSERT_TRUE(MoveFileW((m_desktop / L"vesk.helm.lnk").c_str(), (m_desktop / L"vesk.lnk").c_str()));
  ASSERT_TRUE(SUCCEEDED(CreateShortcut(m_desktop / L"other.lnk", m_temp / L"other.exe",
                                       m_temp.path(), L"another program")));

  testing::ProcessResult result = RunProcess(UninstallCommand());
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 19u);

  // Only the uninstall folder and setup.exe, which cannot be deleted while it runs, are left.
  std::vector<std::wstring> left = Tree();
  std::vector<std::wstring> expected = {L"uninstall", L"uninstall\\VeskUninstall.exe",
                                        L"uninstall\\ruzovo_uninstall.log"};
  if (FileExists(SetupPath())) {
    std::wstring v = kDefaultVersion;
    expected = {v, v + L"\\Installer", v + L"\\Installer\\setup.exe", L"uninstall",
                L"uninstall\\VeskUninstall.exe", L"uninstall\\ruzovo_uninstall.log"};
  }
  EXPECT_EQ(left, expected);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntryPath));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kProductKeyPath));
  EXPECT_EQ(ListFolder(m_desktop.path()), std::vector<std::wstring>{L"other.lnk"});

  std::vector<std::string> log = testing::SplitLines(ReadFileBytes(UninstallLog()));
  ASSERT_GE(log.size(), 2u);
  // The first line holds the command line as the program received it (Wine quotes the program).
  std::string arguments = testing::Narrow(UninstallCommand().substr(SetupPath().size()));
  ASSERT_GT(log.front().size(), 20 + arguments.size());
  EXPECT_EQ(log.front().substr(20, 14), "Command line: ");
  EXPECT_NE(log.front().find(testing::Narrow(SetupPath())), std::string::npos);
  EXPECT_EQ(log.front().substr(log.front().size() - arguments.size()), arguments);
  EXPECT_EQ(log.back().substr(20), "Exit code: 19");
}

// The failure code 20 leaves exactly the uninstall folder and <pv>\Installer\setup.exe.
TEST_F(StandinProgramTest, UninstallFailureLeavesTheMinimalState) {
  InstallVersion(L"1.0.0.1");
  {
    ScopedEnvironmentVariable pending(kPendingUpdateVariable, std::wstring(L"1"));
    InstallVersion(L"1.0.0.2");
  }
  AddKitFiles();
  ScopedEnvironmentVariable answer(kSetupExitCodeVariable, std::wstring(L"20"));
  testing::ProcessResult result = RunProcess(UninstallCommand(L"1.0.0.2"));
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 20u);
  std::vector<std::wstring> expected = {L"1.0.0.2", L"1.0.0.2\\Installer",
                                        L"1.0.0.2\\Installer\\setup.exe", L"uninstall",
                                        L"uninstall\\VeskUninstall.exe",
                                        L"uninstall\\ruzovo_uninstall.log"};
  EXPECT_EQ(Tree(), expected);
  EXPECT_NE(EntryString(L"UninstallString"), L"<missing>");
  EXPECT_EQ(ProductString(L"pv"), L"1.0.0.2");
}

// Codes that remove nothing (21: the user cancelled, or any other given code) change nothing.
TEST_F(StandinProgramTest, UninstallAnswersThatRemoveNothingLeaveEverything) {
  ASSERT_EQ(Install().exitCode, 0u);
  AddKitFiles();
  for (const wchar_t* code : {L"21", L"23", L"-1"}) {
    ScopedEnvironmentVariable answer(kSetupExitCodeVariable, std::wstring(code));
    testing::ProcessResult result = RunProcess(UninstallCommand());
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.exitCode, *ParseWholeNumber(code)) << testing::Narrow(code);
  }
  std::wstring v = kDefaultVersion;
  std::vector<std::wstring> expected = {
      v, v + L"\\Installer", v + L"\\Installer\\setup.exe", v + L"\\resources.pak",
      v + L"\\vesk.helm.dll", L"mini_installer.exe", L"uninstall",
      L"uninstall\\VeskUninstall.exe", L"uninstall\\ruzovo_uninstall.log",
      L"vesk.helm.VisualElementsManifest.xml", L"vesk.helm.exe", L"vesk_install.log"};
  EXPECT_EQ(Tree(), expected);
  EXPECT_NE(EntryString(L"UninstallString"), L"<missing>");
  EXPECT_TRUE(FileExists(m_desktop / L"vesk.helm.lnk"));
}

// While vesk.helm.exe runs, uninstall answers 16 and removes nothing.
TEST_F(StandinProgramTest, UninstallAnswers16WhileTheApplicationRuns) {
  ASSERT_EQ(Install().exitCode, 0u);
  StartedProcess application(L"\"" + Installed(L"vesk.helm.exe") + L"\"");
  ASSERT_TRUE(WaitUntil([] { return ProcessNamed(L"vesk.helm.exe"); }));
  std::vector<std::wstring> before = Tree();
  testing::ProcessResult result = RunProcess(UninstallCommand());
  EXPECT_EQ(result.exitCode, 16u);
  EXPECT_EQ(Tree(), before);
  EXPECT_NE(EntryString(L"UninstallString"), L"<missing>");
}

// setup.exe without a command it knows does nothing and answers 22.
TEST_F(StandinProgramTest, SetupWithoutACommandAnswers22) {
  ASSERT_EQ(Install().exitCode, 0u);
  std::vector<std::wstring> before = Tree();
  EXPECT_EQ(RunProcess(L"\"" + SetupPath() + L"\" --verbose-logging").exitCode, 22u);
  EXPECT_EQ(Tree(), before);
}

// The application keeps running with its window, records how it was started, and ends with 0
// when its window is closed.
TEST_F(StandinProgramTest, ApplicationRunsUntilItsWindowIsClosed) {
  std::wstring startLog = m_temp / L"starts.log";
  ScopedEnvironmentVariable logControl(kApplicationLogVariable, startLog);
  std::wstring commandLine =
      std::wstring(L"\"") + VESK_STANDIN_APPLICATION_EXE + L"\"  --win-auto-start veskhelm://open/x";
  StartedProcess application(commandLine);
  ASSERT_TRUE(application.Started());
  ASSERT_TRUE(WaitUntil([&] { return WindowOfProcess(application.id()) != nullptr; }));
  HWND window = WindowOfProcess(application.id());
  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"vesk.helm");
  EXPECT_TRUE(application.Running());
  EXPECT_EQ(ReadFileBytes(startLog), testing::Narrow(commandLine) + "\r\n");
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(application.Wait(), std::optional<DWORD>(0));
}

}  // namespace
}  // namespace vesk::standin
