#include "uninstall/registry_cleanup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/registry_text.h"
#include "common/seam.h"
#include "common/unique_handle.h"
#include "uninstall/tests/uninstall_test_support.h"

namespace vesk::uninstall {
namespace {

using testing::LogCapture;
using testing::N;
using vesk::testing::RegistryKeyExists;
using vesk::testing::ScopedCurrentUserOverride;

void SetRaw(const std::wstring& key, const std::wstring& name, DWORD type, const void* data,
            DWORD size) {
  ASSERT_TRUE(vesk::testing::WriteUserValue(key, name, type, data, size));
}

void SetText(const std::wstring& key, const std::wstring& name, const std::wstring& text) {
  ASSERT_TRUE(vesk::testing::WriteUserString(key, name, text));
}

void CreateKey(const std::wstring& key) { ASSERT_TRUE(vesk::testing::CreateUserKey(key)); }

class RegistryCleanupTest : public ::testing::Test {
 protected:
  ScopedCurrentUserOverride m_user;
  LogCapture m_log;
};

// Reading a value: its text and the INFO line (same wording for every value name), or an empty
// text and the ERROR line of the failure.
TEST_F(RegistryCleanupTest, ReadRegistryStringOutcomes) {
  const std::wstring long259(259, L'v');
  const std::wstring long260(260, L'v');
  struct Row {
    const char* label;
    void (*prepare)();
    const wchar_t* key;
    const wchar_t* name;
    std::wstring expected;
    std::string line;
  };
  static std::wstring s259, s260;
  s259 = long259;
  s260 = long260;
  const Row rows[] = {
      {"missing key", [] {}, L"SOFTWARE\\Vesk.helm", L"pv", L"",
       "[ERROR] Failed to open registry key: SOFTWARE\\Vesk.helm"},
      {"missing value", [] { CreateKey(L"SOFTWARE\\Vesk.helm"); }, L"SOFTWARE\\Vesk.helm", L"pv",
       L"", "[ERROR] Registry value not found: pv"},
      {"install path", [] { SetText(L"SOFTWARE\\Vesk.helm", L"VeskInstallPath", L"C:\\A b"); },
       L"SOFTWARE\\Vesk.helm", L"VeskInstallPath", L"C:\\A b",
       "[INFO] Found pv value in registry: C:\\A b"},
      {"259 characters fit", [] { SetText(L"SOFTWARE\\Vesk.helm", L"pv", s259); },
       L"SOFTWARE\\Vesk.helm", L"pv", long259, "[INFO] Found pv value in registry: " + N(long259)},
      {"260 characters are too long", [] { SetText(L"SOFTWARE\\Vesk.helm", L"pv", s260); },
       L"SOFTWARE\\Vesk.helm", L"pv", L"", "[ERROR] Registry value is too long: pv"},
      {"260 characters without a null are too long",
       [] {
         SetRaw(L"SOFTWARE\\Vesk.helm", L"pv", REG_SZ, s260.data(),
                static_cast<DWORD>(s260.size() * sizeof(wchar_t)));
       },
       L"SOFTWARE\\Vesk.helm", L"pv", L"", "[ERROR] Registry value is too long: pv"},
      {"text ends at the first null",
       [] {
         const wchar_t data[] = L"1.2\0junk";
         SetRaw(L"SOFTWARE\\Vesk.helm", L"pv", REG_SZ, data, sizeof(data));
       },
       L"SOFTWARE\\Vesk.helm", L"pv", L"1.2", "[INFO] Found pv value in registry: 1.2"},
      {"a number is read as the text its bytes form",
       [] {
         DWORD number = 0x00410042;  // bytes 42 00 41 00: "BA"
         SetRaw(L"SOFTWARE\\Vesk.helm", L"pv", REG_DWORD, &number, sizeof(number));
       },
       L"SOFTWARE\\Vesk.helm", L"pv", L"BA", "[INFO] Found pv value in registry: BA"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Vesk.helm");
    row.prepare();
    int before = static_cast<int>(m_log.Entries().size());
    EXPECT_EQ(ReadRegistryString(HKEY_CURRENT_USER, row.key, row.name), row.expected);
    std::vector<std::string> entries = m_log.Entries();
    ASSERT_EQ(entries.size(), static_cast<size_t>(before + 1));
    EXPECT_EQ(entries.back(), row.line);
  }
}

// The product counts as removed exactly when the uninstall entry or its "UninstallString" is not
// found (or the command is empty); a command of any length keeps it.
TEST_F(RegistryCleanupTest, RemovalDecisionFollowsTheUninstallEntry) {
  EXPECT_EQ(ShouldRemoveProductData(), RemovalDecision::kRemove);
  EXPECT_EQ(m_log.Entries().back(), "[ERROR] Failed to open registry key: " + N(kUninstallEntryKey));
  CreateKey(kUninstallEntryKey);
  EXPECT_EQ(ShouldRemoveProductData(), RemovalDecision::kRemove);
  EXPECT_EQ(m_log.Entries().back(), "[ERROR] Registry value not found: UninstallString");
  SetText(kUninstallEntryKey, L"UninstallString", L"");
  EXPECT_EQ(ShouldRemoveProductData(), RemovalDecision::kRemove);
  SetText(kUninstallEntryKey, L"UninstallString", L"\"C:\\x\\setup.exe\" --uninstall");
  EXPECT_EQ(ShouldRemoveProductData(), RemovalDecision::kKeep);
  const std::wstring longCommand = L"\"C:\\" + std::wstring(400, L'p') + L"\\setup.exe\" --uninstall";
  SetText(kUninstallEntryKey, L"UninstallString", longCommand);
  EXPECT_EQ(ShouldRemoveProductData(), RemovalDecision::kKeep);
  EXPECT_EQ(m_log.Entries().back(), "[INFO] Found pv value in registry: " + N(longCommand));
}

// A query of the uninstall entry that fails for another reason than "not found" leaves the
// decision open and is logged.
TEST_F(RegistryCleanupTest, UnreadableUninstallEntryIsNotTakenAsRemoved) {
  SetText(kUninstallEntryKey, L"UninstallString", L"\"C:\\x\\setup.exe\" --uninstall");
  ScopedOverride denied(g_queryRegistryValue,
                        [](HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD) -> LSTATUS {
                          return ERROR_ACCESS_DENIED;
                        });
  EXPECT_EQ(ShouldRemoveProductData(), RemovalDecision::kUnreadable);
  EXPECT_EQ(m_log.Entries().back(), "[ERROR] Failed to query registry value: UninstallString");
}

// Both keys present: both deleted with their subkeys, URL-protocol key first; the product key and
// the uninstall entry stay.
TEST_F(RegistryCleanupTest, DeletesBothKeysInOrder) {
  SetText(L"SOFTWARE\\Classes\\veskhelm\\shell\\open\\command", L"", L"\"C:\\x\\vesk.helm.exe\"");
  SetText(L"SOFTWARE\\Quillon\\vesk.helm", L"anything", L"1");
  SetText(L"SOFTWARE\\Quillon\\vesk.helm\\sub", L"more", L"2");
  SetText(kProductKey, L"pv", L"1.0");
  SetText(kUninstallEntryKey, L"DisplayName", L"vesk.helm");
  EXPECT_TRUE(DeleteProductRegistryKeys());
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Classes\\veskhelm"));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\vesk.helm"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon"));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kProductKey));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, kUninstallEntryKey));
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Deleting Vesk registry entries...",
                                "[INFO] Successfully deleted registry key: SOFTWARE\\Classes\\veskhelm",
                                "[INFO] Successfully deleted registry key: SOFTWARE\\Quillon\\vesk.helm",
                            }));
}

// URL-protocol key already gone: a WARNING, false, and the maker's key is left for this run.
TEST_F(RegistryCleanupTest, MissingProtocolKeyStopsBeforeTheMakersKey) {
  SetText(L"SOFTWARE\\Quillon\\vesk.helm", L"anything", L"1");
  EXPECT_FALSE(DeleteProductRegistryKeys());
  EXPECT_TRUE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Quillon\\vesk.helm"));
  EXPECT_EQ(m_log.Entries(), (std::vector<std::string>{
                                "[INFO] Deleting Vesk registry entries...",
                                "[WARNING] Registry key not found: SOFTWARE\\Classes\\veskhelm",
                            }));
}

// Maker's key missing: the protocol key is deleted, the result is false.
TEST_F(RegistryCleanupTest, MissingMakersKeyMakesTheResultFalse) {
  SetText(L"SOFTWARE\\Classes\\veskhelm", L"", L"veskhelm");
  EXPECT_FALSE(DeleteProductRegistryKeys());
  EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, L"SOFTWARE\\Classes\\veskhelm"));
  EXPECT_EQ(m_log.Entries().back(), "[WARNING] Registry key not found: SOFTWARE\\Quillon\\vesk.helm");
}

// A deletion the registry refuses reports the error code as a signed number.
TEST_F(RegistryCleanupTest, RefusedDeletionReportsItsCode) {
  EXPECT_FALSE(DeleteRegistryTree(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), L"x"));
  std::string last = m_log.Entries().back();
  EXPECT_EQ(last.rfind("[ERROR] Failed to delete registry key: x, error code: ", 0), 0u) << last;
  EXPECT_NE(last, "[ERROR] Failed to delete registry key: x, error code: 0");
}

}  // namespace
}  // namespace vesk::uninstall
