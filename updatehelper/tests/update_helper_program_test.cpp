// Runs the built VeskUpdateHelper.exe under Wine as a separate process with registry values set
// up by the test, and reads its debugger output through a debug loop.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "common/unique_handle.h"
#include "standin/support/standin_controls.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"
#include "updatehelper/tests/product_values.h"

namespace vesk {
namespace {

using testing::FileExists;
using testing::FolderExists;
using testing::ReadRegistryValue;
using testing::ScopedEnvironmentVariable;

const wchar_t kProductKeyPath[] = L"Software\\Vesk.helm";

void DeleteProductRegistry() {
  for (const wchar_t* key :
       {kProductKeyPath, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm"}) {
    RegDeleteTreeW(HKEY_CURRENT_USER, key);
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
  }
}

class UpdateHelperProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteProductRegistry(); }
  void TearDown() override { DeleteProductRegistry(); }

  testing::ProcessResult RunHelper(const std::wstring& arguments = L"") {
    testing::RunOptions options;
    options.captureDebugOutput = true;
    std::wstring commandLine = std::wstring(L"\"") + VESK_UPDATE_HELPER_EXE + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    return testing::RunProcess(commandLine, options);
  }

  std::wstring MarkerCommand(DWORD delayMs = 0) const {
    return std::wstring(L"\"") + VESK_MARKER_WRITER_EXE + L"\" \"" + m_marker + L"\" " +
           std::to_wstring(delayMs);
  }

  testing::ScopedTempFolder m_temp{L"vesk_update_program"};
  std::wstring m_marker = m_temp / L"marker.txt";
};

// Without the product key the helper traces the open result 2, starts nothing and ends with 0,
// whatever its command line holds.
TEST_F(UpdateHelperProgramTest, MissingProductKeyTracesResultTwo) {
  testing::ProcessResult result = RunHelper(L"--ignored " + MarkerCommand());
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  std::vector<std::wstring> expected = {L"Registry key opened successfully.", L"result: 2"};
  EXPECT_EQ(result.debugLines, expected);
  EXPECT_FALSE(FileExists(m_marker));
}

// Without "opv" nothing is pending: the versions are traced and nothing starts.
TEST_F(UpdateHelperProgramTest, MissingOpvStartsNothing) {
  testing::WriteProductValues(L"2.0.0.1", std::nullopt, MarkerCommand());
  testing::ProcessResult result = RunHelper();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  std::vector<std::wstring> expected = {L"Registry key opened successfully.", L"result: 0",
                                        L"pvStr: 2.0.0.1",  L"pvStr: 2.0.0.1",
                                        L"opvStr: ",        L"opvStr: "};
  EXPECT_EQ(result.debugLines, expected);
  EXPECT_FALSE(FileExists(m_marker));
}

// An empty "cmd" with a pending update by the versions: traced, nothing starts, exit code 0.
TEST_F(UpdateHelperProgramTest, EmptyCommandStartsNothing) {
  testing::WriteProductValues(L"2.0", L"1.0", L"");
  testing::ProcessResult result = RunHelper();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  std::vector<std::wstring> expected = {
      L"Registry key opened successfully.", L"result: 0", L"pvStr: 2.0", L"pvStr: 2.0",
      L"opvStr: 1.0", L"opvStr: 1.0", L"cmdValue: ", L"cmdValue: "};
  EXPECT_EQ(result.debugLines, expected);
}

// A pv older than opv runs nothing and does not even read the command.
TEST_F(UpdateHelperProgramTest, OlderPvRunsNothing) {
  testing::WriteProductValues(L"1.2.0", L"1.3", MarkerCommand());
  testing::ProcessResult result = RunHelper();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  ASSERT_FALSE(result.debugLines.empty());
  EXPECT_EQ(result.debugLines.back(), L"opvStr: 1.3");
  EXPECT_FALSE(FileExists(m_marker));
}

// A pending update's command starts and the helper waits for it: the marker, which the command
// writes only after a pause, is there when the helper has ended.
TEST_F(UpdateHelperProgramTest, RunsThePendingCommandAndWaitsForIt) {
  testing::WriteProductValues(L"10.0.1", L"9.9.9", MarkerCommand(2000));
  testing::ProcessResult result = RunHelper();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_TRUE(FileExists(m_marker));
  ASSERT_EQ(result.debugLines.size(), 8u);
  EXPECT_EQ(result.debugLines[6], L"cmdValue: " + MarkerCommand(2000));
  EXPECT_EQ(result.debugLines[7], L"cmdValue: " + MarkerCommand(2000));
}

// The program is a GUI-subsystem program whose manifest asks to run as administrator.
TEST_F(UpdateHelperProgramTest, ProgramAsksForAdministratorRightsWithoutAConsole) {
  std::string image = testing::ReadFileBytes(VESK_UPDATE_HELPER_EXE);
  ASSERT_GT(image.size(), sizeof(IMAGE_DOS_HEADER));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.data());
  ASSERT_LT(static_cast<size_t>(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS64), image.size());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(image.data() + dos->e_lfanew);
  EXPECT_EQ(nt->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

  UniqueModule module(LoadLibraryExW(VESK_UPDATE_HELPER_EXE, nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
  ASSERT_TRUE(module);
  HRSRC manifest = FindResourceW(module.get(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_NE(manifest, nullptr);
  const char* text = static_cast<const char*>(LockResource(LoadResource(module.get(), manifest)));
  std::string manifestText(text, SizeofResource(module.get(), manifest));
  EXPECT_NE(manifestText.find("level=\"requireAdministrator\""), std::string::npos);
}

// After a stand-in install that left an in-use update pending, the helper completes it.
TEST_F(UpdateHelperProgramTest, CompletesAPendingUpdateOfTheStandInInstaller) {
  testing::ScopedDesktopFolder desktop;
  std::wstring folder = m_temp / L"Application";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  std::wstring installer = folder + L"\\mini_installer.exe";
  ASSERT_TRUE(CopyFileW(VESK_STANDIN_INSTALLER_EXE, installer.c_str(), FALSE));
  {
    ScopedEnvironmentVariable version(standin::kVersionVariable, std::wstring(L"1.0.0.1"));
    ASSERT_EQ(testing::RunProcess(L"\"" + installer + L"\"").exitCode, 0u);
  }
  {
    ScopedEnvironmentVariable version(standin::kVersionVariable, std::wstring(L"1.0.0.2"));
    ScopedEnvironmentVariable pending(standin::kPendingUpdateVariable, std::wstring(L"1"));
    ASSERT_EQ(testing::RunProcess(L"\"" + installer + L"\"").exitCode, 0u);
  }
  ASSERT_TRUE(ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"cmd").exists);
  ASSERT_TRUE(FileExists(folder + L"\\new_vesk.helm.exe"));

  testing::ProcessResult result = RunHelper();
  ASSERT_TRUE(result.finished);
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_FALSE(FileExists(folder + L"\\new_vesk.helm.exe"));
  EXPECT_TRUE(FileExists(folder + L"\\vesk.helm.exe"));
  EXPECT_FALSE(FolderExists(folder + L"\\1.0.0.1"));
  EXPECT_TRUE(FileExists(folder + L"\\1.0.0.2\\Installer\\setup.exe"));
  EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"opv").exists);
  EXPECT_FALSE(ReadRegistryValue(HKEY_CURRENT_USER, kProductKeyPath, L"cmd").exists);
  ASSERT_FALSE(result.debugLines.empty());
  EXPECT_EQ(result.debugLines.back(),
            L"cmdValue: \"" + folder + L"\\1.0.0.2\\Installer\\setup.exe\" --rename-vesk-exe");
}

}  // namespace
}  // namespace vesk
