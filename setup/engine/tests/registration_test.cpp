#include "setup/engine/registration.h"

#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "common/product.h"
#include "setup/engine/tests/engine_test_support.h"
#include "testsupport/log_capture.h"
#include "testsupport/scoped_settings.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::DwordValue;
using testing::FileExists;
using testing::FolderExists;
using testing::LogCapture;
using testing::ReadAllValues;
using testing::ReadFileBytes;
using testing::ReadRegistryValue;
using testing::RegistryValue;
using testing::ScopedCurrentUserOverride;
using testing::ScopedTempFolder;
using testing::StringValue;
using testing::WriteFileBytes;

const std::wstring kCommandKey = std::wstring(kUrlProtocolKey) + L"\\shell\\open\\command";

RegistryValue EmptyStringWithoutBytes() {
  RegistryValue value;
  value.exists = true;
  value.type = REG_SZ;
  return value;
}

void CreateRunKey() { ASSERT_TRUE(testing::CreateUserKey(kRunKey)); }

void SetString(const wchar_t* key, const wchar_t* name, const std::wstring& text) {
  ASSERT_TRUE(testing::WriteUserString(key, name, text));
}

class RegistrationTest : public ::testing::Test {
 protected:
  // The override comes first, so the log never records its path in the real user's key.
  ScopedCurrentUserOverride m_user;
  LogCapture m_log;
};

struct FolderCase {
  const wchar_t* folder;
};

void PrintTo(const FolderCase& test, std::ostream* out) { *out << testing::Narrow(test.folder); }

std::string FolderCaseName(size_t index) {
  static const char* const kNames[] = {"Blanks", "PercentSigns", "Latin1"};
  return kNames[index];
}

class RegistrationContentTest : public RegistrationTest,
                                public ::testing::WithParamInterface<FolderCase> {};

// After each of the quiet road's four writes and the auto-start entry, the keys hold exactly the
// specified values, byte for byte, for folders with blanks, percent signs and Latin-1 letters.
TEST_P(RegistrationContentTest, KeysHoldExactlyTheRegisteredValues) {
  const std::wstring folder = GetParam().folder;
  CreateRunKey();
  RegisterInstallPath(folder);
  std::map<std::wstring, RegistryValue> product = {
      {L"UninstallString", StringValue(folder + L"\\uninstall\\VeskUninstall.exe")},
      {L"VeskInstallPath", StringValue(folder)},
  };
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kProductKey), product);

  SetInstallAutoLaunch(true);
  product[L"InstallAutoLaunch"] = DwordValue(1);
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kProductKey), product);

  SetProductVersion(L"1.9.1.2925");
  product[L"version"] = StringValue(L"1.9.1.2925");
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kProductKey), product);

  RegisterUrlProtocol(folder);
  std::map<std::wstring, RegistryValue> protocol = {
      {L"", StringValue(L"veskhelm")},
      {L"URL Protocol", EmptyStringWithoutBytes()},
  };
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kUrlProtocolKey), protocol);
  std::map<std::wstring, RegistryValue> command = {
      {L"", StringValue(L"\"" + folder + L"\\vesk.helm.exe\" \"%1\"")}};
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kCommandKey), command);
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kProductKey), product);
  EXPECT_TRUE(ReadAllValues(HKEY_CURRENT_USER, kRunKey).empty());

  SetAutoStart(folder, true);
  std::map<std::wstring, RegistryValue> run = {
      {L"vesk.helm", StringValue(L"\"" + folder + L"\\vesk.helm.exe\"  --win-auto-start")}};
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kRunKey), run);

  std::vector<std::string> expected = {
      "Registry key created successfully : " + testing::Narrow(folder),
      "InstallPath registry value set successfully.",
      "InstallPath registry value set successfully.",
      "Registry key for custom protocol created or opened successfully.",
      "Set autostart: \"" + testing::Narrow(folder) + "\\vesk.helm.exe\"  --win-auto-start",
  };
  EXPECT_EQ(m_log.Messages(), expected);
}

INSTANTIATE_TEST_SUITE_P(Folders, RegistrationContentTest,
                         ::testing::Values(FolderCase{L"C:\\Program Files\\vesk helm\\Application"},
                                           FolderCase{L"D:\\100% sure\\%PATH%\\vesk.helm"},
                                           FolderCase{L"C:\\Users\\\x00e9mile\\vesk.helm"}),
                         [](const auto& info) { return FolderCaseName(info.index); });

// A second registration overwrites every value and the protocol command of the first.
TEST_F(RegistrationTest, SecondRegistrationOverwritesTheFirst) {
  RegisterInstallPath(L"C:\\first");
  SetInstallAutoLaunch(true);
  SetProductVersion(L"1.0.0.1");
  RegisterUrlProtocol(L"C:\\first");
  RegisterInstallPath(L"D:\\second place");
  SetInstallAutoLaunch(false);
  SetProductVersion(L"2.0.0.2");
  RegisterUrlProtocol(L"D:\\second place");

  std::map<std::wstring, RegistryValue> product = {
      {L"UninstallString", StringValue(L"D:\\second place\\uninstall\\VeskUninstall.exe")},
      {L"VeskInstallPath", StringValue(L"D:\\second place")},
      {L"InstallAutoLaunch", DwordValue(0)},
      {L"version", StringValue(L"2.0.0.2")},
  };
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kProductKey), product);
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kCommandKey, L""),
            StringValue(L"\"D:\\second place\\vesk.helm.exe\" \"%1\""));
}

// An empty version is stored as an empty text with its terminating null.
TEST_F(RegistrationTest, EmptyVersionIsStoredAsEmptyText) {
  SetProductVersion(L"");
  EXPECT_EQ(ReadRegistryValue(HKEY_CURRENT_USER, kProductKey, L"version"), StringValue(L""));
  EXPECT_TRUE(m_log.Messages().empty());
}

// Turning auto-start off without an entry logs the removal and leaves other entries alone;
// turning it off after on removes the entry.
TEST_F(RegistrationTest, AutoStartOffRemovesOnlyItsOwnEntry) {
  CreateRunKey();
  SetString(kRunKey, L"other", L"other.exe");
  SetAutoStart(L"C:\\app", false);
  std::map<std::wstring, RegistryValue> onlyOther = {{L"other", StringValue(L"other.exe")}};
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kRunKey), onlyOther);

  SetAutoStart(L"C:\\app", true);
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kRunKey).size(), 2u);
  SetAutoStart(L"C:\\app", false);
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kRunKey), onlyOther);

  std::vector<std::string> expected = {
      "Remove autostart", "Set autostart: \"C:\\app\\vesk.helm.exe\"  --win-auto-start",
      "Remove autostart"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Without a Run key nothing is created and nothing is logged.
TEST_F(RegistrationTest, AutoStartWithoutRunKeyDoesNothing) {
  SetAutoStart(L"C:\\app", true);
  SetAutoStart(L"C:\\app", false);
  EXPECT_FALSE(testing::RegistryKeyExists(HKEY_CURRENT_USER, kRunKey));
  EXPECT_TRUE(m_log.Messages().empty());
}

// A folder whose uninstaller or application path does not fit 260 characters never gets a cut
// path stored: the folder itself is registered, the paths built from it are refused.
TEST_F(RegistrationTest, OverlongDerivedPathsAreRefusedNotCut) {
  const std::wstring folder = L"C:\\" + std::wstring(250, L'a');
  CreateRunKey();
  RegisterInstallPath(folder);
  RegisterUrlProtocol(folder);
  SetAutoStart(folder, true);

  std::map<std::wstring, RegistryValue> product = {{L"VeskInstallPath", StringValue(folder)}};
  EXPECT_EQ(ReadAllValues(HKEY_CURRENT_USER, kProductKey), product);
  EXPECT_FALSE(testing::RegistryKeyExists(HKEY_CURRENT_USER, kCommandKey));
  EXPECT_TRUE(ReadAllValues(HKEY_CURRENT_USER, kRunKey).empty());
  std::string narrow = testing::Narrow(folder);
  std::vector<std::string> expected = {
      "Registry key created successfully : " + narrow,
      "Path too long: " + narrow + "\\uninstall\\VeskUninstall.exe",
      "Failed to set InstallPath registry value.",
      "InstallPath registry value set successfully.",
      "Registry key for custom protocol created or opened successfully.",
      "Path too long: " + narrow + "\\vesk.helm.exe",
      "Path too long: " + narrow + "\\vesk.helm.exe",
  };
  EXPECT_EQ(m_log.Messages(), expected);
}

class MoveUninstallTest : public RegistrationTest {
 protected:
  void SetUp() override { SetString(kProductKey, kInstallPathValue, m_folder.path()); }
  ScopedTempFolder m_folder{L"vesk install"};
};

// The uninstaller copied into the install folder ends up in its "uninstall" folder.
TEST_F(MoveUninstallTest, MovesTheUninstallerIntoItsFolder) {
  ASSERT_TRUE(WriteFileBytes(m_folder / L"VeskUninstall.exe", "new uninstaller"));
  MoveUninstallPosition();
  EXPECT_FALSE(FileExists(m_folder / L"VeskUninstall.exe"));
  EXPECT_EQ(ReadFileBytes(m_folder / L"uninstall\\VeskUninstall.exe"), "new uninstaller");
  std::vector<std::string> expected = {
      "MoveUninstallPosition: Uninstaller moved to Uninstall directory successfully"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// An uninstaller already in "uninstall" is replaced by the new one.
TEST_F(MoveUninstallTest, ReplacesAnEarlierUninstaller) {
  ASSERT_TRUE(CreateDirectoryW((m_folder / L"uninstall").c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(m_folder / L"uninstall\\VeskUninstall.exe", "old"));
  ASSERT_TRUE(WriteFileBytes(m_folder / L"VeskUninstall.exe", "new"));
  MoveUninstallPosition();
  EXPECT_EQ(ReadFileBytes(m_folder / L"uninstall\\VeskUninstall.exe"), "new");
  EXPECT_FALSE(FileExists(m_folder / L"VeskUninstall.exe"));
}

// Without an uninstaller in the install folder the move fails with "file not found" (2); the
// "uninstall" folder is created all the same and an earlier uninstaller there stays.
TEST_F(MoveUninstallTest, MissingUninstallerIsLogged) {
  MoveUninstallPosition();
  EXPECT_TRUE(FolderExists(m_folder / L"uninstall"));
  std::vector<std::string> expected = {"MoveUninstallPosition: MoveFileEx failed, err: 2"};
  EXPECT_EQ(m_log.Messages(), expected);

  ASSERT_TRUE(WriteFileBytes(m_folder / L"uninstall\\VeskUninstall.exe", "kept"));
  MoveUninstallPosition();
  EXPECT_EQ(ReadFileBytes(m_folder / L"uninstall\\VeskUninstall.exe"), "kept");
}

// Without a registered install folder nothing is moved.
TEST_F(RegistrationTest, MoveWithoutInstallPathStops) {
  MoveUninstallPosition();
  std::vector<std::string> expected = {"MoveUninstallPosition: installPath is empty"};
  EXPECT_EQ(m_log.Messages(), expected);
}

class ShortcutTest : public RegistrationTest {
 protected:
  testing::ScopedDesktopFolder m_desktop;
};

// The installer's "vesk.helm.lnk" becomes "vesk.lnk" with its content.
TEST_F(ShortcutTest, RenamesTheShortcut) {
  ASSERT_TRUE(WriteFileBytes(m_desktop / L"vesk.helm.lnk", "shortcut"));
  SetDesktopShortcutName(L"vesk.helm", L"vesk");
  EXPECT_FALSE(FileExists(m_desktop / L"vesk.helm.lnk"));
  EXPECT_EQ(ReadFileBytes(m_desktop / L"vesk.lnk"), "shortcut");
  std::vector<std::string> expected = {
      "oldShortcutPath: " + testing::Narrow(m_desktop / L"vesk.helm.lnk"),
      "Shortcut renamed successfully."};
  EXPECT_EQ(m_log.Messages(), expected);
}

// An existing "vesk.lnk" is kept: the rename fails and both shortcuts stay.
TEST_F(ShortcutTest, ExistingNewNameIsKept) {
  ASSERT_TRUE(WriteFileBytes(m_desktop / L"vesk.helm.lnk", "installer's"));
  ASSERT_TRUE(WriteFileBytes(m_desktop / L"vesk.lnk", "user's"));
  SetDesktopShortcutName(L"vesk.helm", L"vesk");
  EXPECT_EQ(ReadFileBytes(m_desktop / L"vesk.helm.lnk"), "installer's");
  EXPECT_EQ(ReadFileBytes(m_desktop / L"vesk.lnk"), "user's");
  std::vector<std::string> expected = {
      "oldShortcutPath: " + testing::Narrow(m_desktop / L"vesk.helm.lnk"),
      "Failed to rename shortcut."};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Without the installer's shortcut nothing changes.
TEST_F(ShortcutTest, MissingShortcutIsLogged) {
  SetDesktopShortcutName(L"vesk.helm", L"vesk");
  EXPECT_TRUE(testing::ListFolder(m_desktop.path()).empty());
  std::vector<std::string> expected = {
      "oldShortcutPath: " + testing::Narrow(m_desktop / L"vesk.helm.lnk"),
      "Old shortcut not found."};
  EXPECT_EQ(m_log.Messages(), expected);
}

}  // namespace
}  // namespace vesk
