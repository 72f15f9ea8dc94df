// Runs the built VeskSetup.exe with "quiet" under Wine, from a temporary folder, with the stand-in
// product as payload, and checks what it leaves: exit code, install folder, registry, desktop,
// log and working folder.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/payload_manifest.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::ChildProcess;
using testing::ContainsInOrder;
using testing::FileExists;
using testing::FolderExists;
using testing::IndexOf;
using testing::Narrow;
using testing::ReadAllValues;
using testing::ReadRegistryValue;
using testing::RegistryKeyExists;
using testing::RegistryValue;
using testing::ScopedEnvironmentVariable;
using testing::ScopedTempFolder;

const wchar_t kProductKey[] = L"Software\\Vesk.helm";
const wchar_t kProtocolKey[] = L"SOFTWARE\\Classes\\veskhelm";
const wchar_t kUninstallEntry[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm";
const std::string kVersion = Narrow(VESK_STANDIN_VERSION);

std::wstring LocalAppData() {
  wchar_t folder[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return folder;
}

void DeleteKey(const wchar_t* key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, key);
  RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

// Everything a quiet install leaves for the real Wine user: the default install folder with its
// "vesk.helm" parent, the product key, the protocol and the uninstall entry.
void RemoveInstallation() {
  testing::RemoveTree(LocalAppData() + L"\\vesk.helm");
  DeleteKey(kProductKey);
  DeleteKey(kProtocolKey);
  DeleteKey(kUninstallEntry);
}

void SetRegisteredFolder(const std::wstring& folder) {
  ASSERT_TRUE(testing::WriteUserString(kProductKey, L"VeskInstallPath", folder));
}

std::wstring ProductText(const wchar_t* name) {
  RegistryValue value = ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, name);
  return value.exists ? value.AsString() : L"<missing>";
}

class QuietInstallProgramTest : public ::testing::Test {
 protected:
  QuietInstallProgramTest() { RemoveInstallation(); }
  ~QuietInstallProgramTest() override { RemoveInstallation(); }

  void SetUp() override {
    ASSERT_TRUE(CopyFileW(VESK_SETUP_EXE, m_setupExe.c_str(), FALSE));
  }

  // Runs "VeskSetup.exe <arguments>" and collects its debugger output; a setup window (no
  // "quiet") is closed as soon as it shows.
  testing::ProcessResult RunSetup(const std::wstring& arguments) {
    testing::RunOptions options;
    options.captureDebugOutput = true;
    options.timeoutMs = 240000;
    options.closeWindowOfClass = L"VeskSetup";
    testing::ProcessResult result =
        testing::RunProcess(L"\"" + m_setupExe + L"\" " + arguments, options);
    EXPECT_TRUE(result.started);
    EXPECT_TRUE(result.finished);
    for (const std::wstring& line : result.debugLines) m_debugLines.push_back(Narrow(line));
    return result;
  }

  std::vector<std::string> LogOf(const std::wstring& installFolder) const {
    return testing::LogMessagesOf(installFolder + L"\\vesk_install.log");
  }

  testing::ScopedDesktopFolder m_desktop;
  ScopedTempFolder m_download{L"download"};
  std::wstring m_setupExe = m_download / L"VeskSetup.exe";
  std::wstring m_working = m_download / L".VeskSetupTemp";
  std::wstring m_defaultFolder = LocalAppData() + L"\\vesk.helm\\Application";
  std::vector<std::string> m_debugLines;
};

// A first quiet install: exit 0; the default folder is created with its parents and holds the
// application, the copied installer and the log; the product is registered; the log tells each
// step in order; the working folder is gone; the desktop shortcut is called "vesk".
TEST_F(QuietInstallProgramTest, FirstInstallInstallsRegistersAndCleansUp) {
  ASSERT_FALSE(FolderExists(LocalAppData() + L"\\vesk.helm"));
  testing::ProcessResult result = RunSetup(L"quiet");
  EXPECT_EQ(result.exitCode, 0u);

  const std::wstring& folder = m_defaultFolder;
  EXPECT_TRUE(FileExists(folder + L"\\vesk.helm.exe"));
  EXPECT_TRUE(FileExists(folder + L"\\mini_installer.exe"));
  EXPECT_TRUE(FileExists(folder + L"\\vesk_install.log"));
  // Only the installer of the payload is copied on this road.
  EXPECT_FALSE(FileExists(folder + L"\\VeskUninstall.exe"));
  EXPECT_FALSE(FileExists(folder + L"\\metrics_sdk.dll"));
  EXPECT_FALSE(FolderExists(m_working));

  std::map<std::wstring, RegistryValue> values = ReadAllValues(HKEY_CURRENT_USER, kProductKey);
  EXPECT_EQ(values[L"VeskInstallPath"], testing::StringValue(folder));
  EXPECT_EQ(values[L"UninstallString"],
            testing::StringValue(folder + L"\\uninstall\\VeskUninstall.exe"));
  EXPECT_EQ(values[L"InstallAutoLaunch"], testing::DwordValue(1));
  EXPECT_EQ(values[L"version"], testing::StringValue(VESK_STANDIN_VERSION));
  EXPECT_EQ(values[L"pv"], testing::StringValue(VESK_STANDIN_VERSION));
  EXPECT_EQ(values[L"InstallerResult"], testing::DwordValue(0));
  EXPECT_EQ(values[L"InstallerError"], testing::DwordValue(0));
  // The log was opened before the key existed, so its path is not recorded on a first install.
  EXPECT_EQ(values.count(L"VeskInstallLogPath"), 0u);
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProtocolKey, L""),
            testing::StringValue(L"veskhelm"));
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, std::wstring(kProtocolKey) + L"\\shell\\open\\command", L""),
            testing::StringValue(L"\"" + folder + L"\\vesk.helm.exe\" \"%1\""));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntry));

  EXPECT_FALSE(FileExists(m_desktop / L"vesk.helm.lnk"));
  EXPECT_TRUE(FileExists(m_desktop / L"vesk.lnk"));

  std::string narrowFolder = Narrow(folder);
  std::string narrowWorking = Narrow(m_working);
  std::vector<std::string> log = LogOf(folder);
  std::vector<std::string> expected = {
      "mini_installer.exe copied successfully.",
      "Registry key created successfully : " + narrowFolder,
      "InstallPath registry value set successfully.",
      "InstallPath registry value set successfully.",
      "version.txt: " + kVersion,
      "Registry key for custom protocol created or opened successfully.",
      "LaunchMiniInstaller installerPath: " + narrowFolder + "\\mini_installer.exe",
      "mini_installer.exe exited with code: 0",
      "StartInstallation result: 0",
      "mini_installer.exe is completed!!!",
      "QuietInstall success",
      "== directoryPath : " + narrowWorking,
      "== searchPath: " + narrowWorking + "\\*",
      "DeleteAllFilesInDirectory end",
      "========== logRegistryValue start ==========",
      "RegOpenKeyEx success",
      "InstallerError: 0",
      "InstallerResult: 0",
      "logRegistryValue end",
      "oldShortcutPath: " + Narrow(m_desktop / L"vesk.helm.lnk"),
      "Shortcut renamed successfully.",
      "QuietInstall result: 0",
      "_tWinMain end result: 0"};
  EXPECT_TRUE(ContainsInOrder(log, expected)) << ::testing::PrintToString(log);
  EXPECT_EQ(log.front(), expected.front());
  EXPECT_EQ(log.back(), expected.back());
  // The read-back lists every value of the product key by name.
  int start = IndexOf(log, "RegOpenKeyEx success");
  for (const std::string& line : {"VeskInstallPath: " + narrowFolder,
                                  "UninstallString: " + narrowFolder + "\\uninstall\\VeskUninstall.exe",
                                  std::string("InstallAutoLaunch: 1"), "version: " + kVersion,
                                  "pv: " + kVersion}) {
    EXPECT_GT(IndexOf(log, line), start) << line;
  }
  // What happened before the log file was opened reached the debugger output only.
  std::vector<std::string> early = {
      "isQuiet = true,Argument quiet", "isQuiet = true, start QuietInstall",
      "GetInstallPathFromRegistry path: ", "Successfully created install directory " + narrowFolder,
      "mini_installer.exe copied successfully."};
  EXPECT_TRUE(ContainsInOrder(m_debugLines, early)) << ::testing::PrintToString(m_debugLines);
  EXPECT_EQ(IndexOf(log, "Successfully created install directory " + narrowFolder), -1);
}

// A second quiet install reuses the registered folder, which already exists; the log's path is
// recorded now that the key exists; the new shortcut cannot take the name "vesk" that the first
// install's shortcut holds.
TEST_F(QuietInstallProgramTest, SecondInstallReusesTheRegisteredFolder) {
  ScopedTempFolder chosen{L"chosen place"};
  SetRegisteredFolder(chosen.path());
  ASSERT_EQ(RunSetup(L"quiet").exitCode, 0u);
  ASSERT_TRUE(FileExists(m_desktop / L"vesk.lnk"));
  m_debugLines.clear();

  ASSERT_TRUE(CopyFileW(VESK_SETUP_EXE, m_setupExe.c_str(), FALSE));
  EXPECT_EQ(RunSetup(L"/s").exitCode, 0u);
  std::string narrowFolder = Narrow(chosen.path());
  std::vector<std::string> early = {"isQuiet = true,Argument /s",
                                    "GetInstallPathFromRegistry path: " + narrowFolder,
                                    "Install directory already exists"};
  EXPECT_TRUE(ContainsInOrder(m_debugLines, early)) << ::testing::PrintToString(m_debugLines);
  EXPECT_FALSE(FolderExists(m_defaultFolder));
  EXPECT_EQ(ProductText(L"VeskInstallPath"), chosen.path());
  EXPECT_EQ(ProductText(L"VeskInstallLogPath"), chosen / L"vesk_install.log");

  std::vector<std::string> log = LogOf(chosen.path());
  EXPECT_EQ(log.front(), "mini_installer.exe copied successfully.");
  std::vector<std::string> expected = {
      "VeskInstallLogPath: " + Narrow(chosen / L"vesk_install.log"), "logRegistryValue end",
      "Failed to rename shortcut.", "QuietInstall result: 0"};
  EXPECT_TRUE(ContainsInOrder(log, expected)) << ::testing::PrintToString(log);
  EXPECT_TRUE(FileExists(m_desktop / L"vesk.helm.lnk"));
  EXPECT_TRUE(FileExists(m_desktop / L"vesk.lnk"));
}

// "quiet disable_autolaunch kill" with the application running: it is terminated before the
// installer is copied (so the install is not left pending behind it) and InstallAutoLaunch is 0.
TEST_F(QuietInstallProgramTest, KillTerminatesTheApplicationFirst) {
  ScopedTempFolder elsewhere{L"app"};
  ASSERT_TRUE(CopyFileW(VESK_STANDIN_APPLICATION_EXE, (elsewhere / L"vesk.helm.exe").c_str(), FALSE));
  ChildProcess application(elsewhere / L"vesk.helm.exe");
  ASSERT_TRUE(application.started());
  ASSERT_FALSE(application.WaitForExit(500));

  EXPECT_EQ(RunSetup(L"quiet disable_autolaunch kill").exitCode, 0u);
  EXPECT_TRUE(application.WaitForExit(0));
  EXPECT_EQ(application.ExitCode(), 0u);
  std::string display = Narrow(m_defaultFolder + L"\\vesk.helm.exe");
  std::vector<std::string> expected = {"isAutoLaunch = false,Argument disable_autolaunch",
                                       "isKill = true,Argument kill",
                                       "isKill = true, killTargetApp",
                                       "killTargetApp processName: " + display,
                                       "Successfully terminated process: " + display,
                                       "mini_installer.exe copied successfully."};
  EXPECT_TRUE(ContainsInOrder(m_debugLines, expected)) << ::testing::PrintToString(m_debugLines);
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, L"InstallAutoLaunch"),
            testing::DwordValue(0));
  EXPECT_EQ(ProductText(L"opv"), L"<missing>");
  EXPECT_FALSE(FileExists(m_defaultFolder + L"\\new_vesk.helm.exe"));
}

// An installer failing with 3: the exit code is 3 and every later step still runs.
TEST_F(QuietInstallProgramTest, FailingInstallerCodeIsTheExitCode) {
  ScopedEnvironmentVariable fail(L"VESK_STANDIN_INSTALLER_EXIT_CODE", std::wstring(L"3"));
  EXPECT_EQ(RunSetup(L"quiet").exitCode, 3u);
  EXPECT_FALSE(FolderExists(m_working));
  EXPECT_EQ(ProductText(L"VeskInstallPath"), m_defaultFolder);
  EXPECT_EQ(ProductText(L"version"), testing::Widen(kVersion));
  std::vector<std::string> expected = {
      "mini_installer.exe exited with code: 3", "StartInstallation result: 3",
      "mini_installer.exe is completed!!!", "QuietInstall failed", "DeleteAllFilesInDirectory end",
      "InstallerError: 3", "InstallerResult: 1", "logRegistryValue end",
      "Old shortcut not found.", "QuietInstall result: 3", "_tWinMain end result: 3"};
  std::vector<std::string> log = LogOf(m_defaultFolder);
  EXPECT_TRUE(ContainsInOrder(log, expected)) << ::testing::PrintToString(log);
}

// An install folder that cannot be created ends with 100 before anything is registered; the
// working folder and its files stay.
TEST_F(QuietInstallProgramTest, UncreatableFolderGives100) {
  ScopedTempFolder place;
  ASSERT_TRUE(testing::WriteFileBytes(place / L"file", "not a folder"));
  SetRegisteredFolder(place / L"file\\vesk.helm");
  EXPECT_EQ(RunSetup(L"quiet").exitCode, 100u);
  EXPECT_TRUE(FileExists(m_working + L"\\mini_installer.exe"));
  EXPECT_EQ(ProductText(L"UninstallString"), L"<missing>");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kProtocolKey));
  std::vector<std::string> expected = {"Failed to create install directory",
                                       "_tWinMain end result: 100"};
  EXPECT_TRUE(ContainsInOrder(m_debugLines, expected)) << ::testing::PrintToString(m_debugLines);
  EXPECT_EQ(IndexOf(m_debugLines, "QuietInstall result: 100"), -1);
}

// An installer that cannot be copied into the install folder ends with 101 after the log has
// moved there; nothing is registered and the working folder stays.
TEST_F(QuietInstallProgramTest, UncopyableInstallerGives101) {
  ScopedTempFolder chosen{L"chosen"};
  SetRegisteredFolder(chosen.path());
  ASSERT_TRUE(CreateDirectoryW((chosen / L"mini_installer.exe").c_str(), nullptr));
  EXPECT_EQ(RunSetup(L"quiet").exitCode, 101u);
  EXPECT_TRUE(FileExists(m_working + L"\\mini_installer.exe"));
  EXPECT_EQ(ProductText(L"UninstallString"), L"<missing>");
  EXPECT_EQ(ProductText(L"version"), L"<missing>");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kProtocolKey));
  std::vector<std::string> log = LogOf(chosen.path());
  ASSERT_EQ(log.size(), 2u) << ::testing::PrintToString(log);
  EXPECT_EQ(log[0].rfind("Failed to copy mini_installer.exe, error code: ", 0), 0u) << log[0];
  EXPECT_EQ(log[1], "_tWinMain end result: 101");
}

// Another installer process still running after the direct run is waited for: setup ends only
// after it has gone.
TEST_F(QuietInstallProgramTest, WaitsForALingeringInstaller) {
  ScopedTempFolder elsewhere{L"other"};
  ASSERT_TRUE(testing::PlaceTestChild(elsewhere / L"mini_installer.exe"));
  std::optional<ChildProcess> lingering;
  {
    ScopedEnvironmentVariable run(L"VESK_TEST_CHILD_SLEEP_MS", std::wstring(L"8000"));
    lingering.emplace(elsewhere / L"mini_installer.exe");
  }
  ASSERT_TRUE(lingering->started());
  EXPECT_EQ(RunSetup(L"quiet").exitCode, 0u);
  EXPECT_TRUE(lingering->WaitForExit(0));
  std::vector<std::string> log = LogOf(m_defaultFolder);
  EXPECT_TRUE(ContainsInOrder(log, {"StartInstallation result: 0", "mini_installer.exe is completed!!!"}));
  EXPECT_EQ(IndexOf(log, "mini_installer.exe is timeout!!!"), -1);
}

// From the moment the quiet road has unpacked its items until the installer has run (here during
// the pause after "kill" looked for the application), no item can be overwritten or deleted: the
// attempts are refused, the install succeeds with the unpacked installer, and the working folder
// goes at the end.
TEST_F(QuietInstallProgramTest, UnpackedItemsCannotBeSwappedBeforeTheInstallerRuns) {
  testing::RunOptions options;
  options.timeoutMs = 240000;
  std::future<testing::ProcessResult> run = std::async(
      std::launch::async, testing::RunProcess, L"\"" + m_setupExe + L"\" quiet kill", options);
  auto unpacked = [&] {
    for (const testing::ManifestEntry& entry : testing::kManifest) {
      if (testing::ReadFileBytes(m_working + L"\\" + entry.name) !=
          testing::ReadFileBytes(entry.source)) {
        return false;
      }
    }
    return true;
  };
  ASSERT_TRUE(testing::WaitUntil(unpacked, 60000));
  Sleep(200);  // the last item's hold follows its last write at once
  for (const testing::ManifestEntry& entry : testing::kManifest) {
    const std::wstring item = m_working + L"\\" + entry.name;
    UniqueFile writer(CreateFileW(item.c_str(), GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(writer) << Narrow(item);
    EXPECT_FALSE(DeleteFileW(item.c_str())) << Narrow(item);
  }
  EXPECT_EQ(run.get().exitCode, 0u);
  for (const testing::ManifestEntry& entry : testing::kManifest) {
    if (std::wstring(entry.name) != L"mini_installer.exe") continue;
    EXPECT_EQ(testing::ReadFileBytes(m_defaultFolder + L"\\mini_installer.exe"),
              testing::ReadFileBytes(entry.source));
  }
  EXPECT_FALSE(FolderExists(m_working));
}

// A library planted beside each program under the names of system libraries, with Wine told to
// prefer such files, is never loaded: not on the quiet road, not on the window road, not by the
// uninstaller or the update helper.
TEST_F(QuietInstallProgramTest, LibrariesPlantedBesideTheProgramsAreNotLoaded) {
  ASSERT_TRUE(CopyFileW(VESK_UNINSTALL_EXE, (m_download / L"VeskUninstall.exe").c_str(), FALSE));
  ASSERT_TRUE(
      CopyFileW(VESK_UPDATE_HELPER_EXE, (m_download / L"VeskUpdateHelper.exe").c_str(), FALSE));
  testing::ScopedPlantedLibraries planted(m_download.path(), VESK_MARKER_LIBRARY);
  auto markers = [&] { return planted.Loaded(); };

  EXPECT_EQ(RunSetup(L"quiet").exitCode, 0u);
  EXPECT_EQ(markers(), std::vector<std::string>{}) << "quiet road";
  EXPECT_TRUE(RunSetup(L"").windowClosed);
  EXPECT_EQ(markers(), std::vector<std::string>{}) << "window road";
  testing::RunProcess(L"\"" + (m_download / L"VeskUninstall.exe") + L"\"");
  EXPECT_EQ(markers(), std::vector<std::string>{}) << "uninstaller";
  testing::RunProcess(L"\"" + (m_download / L"VeskUpdateHelper.exe") + L"\"");
  EXPECT_EQ(markers(), std::vector<std::string>{}) << "update helper";
}

}  // namespace
}  // namespace vesk
