// RunPendingUpdate in this process: HKEY_CURRENT_USER is a throwaway key, the debugger lines are
// collected through the output seam, and update commands are real programs that leave a marker.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "common/registry_text.h"
#include "common/unique_handle.h"
#include "testsupport/test_support.h"
#include "updatehelper/tests/product_values.h"
#include "updatehelper/update_helper.h"

namespace vesk {
namespace {

std::vector<std::wstring>* g_lines = nullptr;

void WINAPI CollectLine(LPCWSTR text) { g_lines->push_back(text); }

// Lets the first `failures` openings of "Software" fail with `status`; everything else is real.
LSTATUS g_softwareStatus = ERROR_SUCCESS;
int g_softwareFailures = 0;
LSTATUS APIENTRY OpenKeyWithFailingSoftware(HKEY root, LPCWSTR name, DWORD options,
                                            REGSAM access, PHKEY result) {
  if (wcscmp(name, L"Software") == 0 && g_softwareFailures > 0) {
    --g_softwareFailures;
    return g_softwareStatus;
  }
  return RegOpenKeyExW(root, name, options, access, result);
}

// Answers a query for a value that does not fit as Windows may: the buffer filled with the start
// of the value, and ERROR_MORE_DATA.
LSTATUS APIENTRY QueryFillingTheBufferOnMoreData(HKEY key, LPCWSTR name, LPDWORD reserved,
                                                 LPDWORD type, LPBYTE data, LPDWORD size) {
  DWORD capacity = *size;
  LSTATUS status = RegQueryValueExW(key, name, reserved, type, data, size);
  if (status == ERROR_MORE_DATA && data != nullptr) {
    std::vector<BYTE> whole(*size);
    DWORD wholeSize = *size;
    RegQueryValueExW(key, name, nullptr, nullptr, whole.data(), &wholeSize);
    memcpy(data, whole.data(), capacity);
  }
  return status;
}

// Answers the query for "cmd" as Windows does for a REG_SZ value stored without a terminating
// null that fills the whole buffer: success, every byte of the buffer used, no null.
std::wstring g_commandWithoutNull;
LSTATUS APIENTRY QueryCommandWithoutNull(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type,
                                         LPBYTE data, LPDWORD size) {
  if (wcscmp(name, L"cmd") != 0) return RegQueryValueExW(key, name, reserved, type, data, size);
  memcpy(data, g_commandWithoutNull.data(), *size);
  return ERROR_SUCCESS;
}

class UpdateHelperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_lines = &m_lines;
    g_softwareStatus = ERROR_SUCCESS;
    g_softwareFailures = 0;
  }
  void TearDown() override { g_lines = nullptr; }

  void CreateSoftwareKey() {
    UniqueRegKey key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software", 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.put(), nullptr),
              ERROR_SUCCESS);
  }

  // A command that writes the marker after `delayMs`.
  std::wstring MarkerCommand(DWORD delayMs = 0) const {
    return std::wstring(L"\"") + VESK_MARKER_WRITER_EXE + L"\" \"" + m_marker + L"\" " +
           std::to_wstring(delayMs);
  }
  bool MarkerWritten() const { return testing::FileExists(m_marker); }

  testing::ScopedCurrentUserOverride m_user;
  testing::ScopedTempFolder m_temp{L"vesk_update"};
  std::wstring m_marker = m_temp / L"marker.txt";
  std::vector<std::wstring> m_lines;
  ScopedOverride<decltype(&::OutputDebugStringW)> m_collectLines{g_updateHelperDebugOutput,
                                                                &CollectLine};
};

// Without HKEY_CURRENT_USER\Software the helper says so and ends with 1.
TEST_F(UpdateHelperTest, MissingSoftwareKeyEndsWithOne) {
  EXPECT_EQ(RunPendingUpdate(), 1);
  std::vector<std::wstring> expected = {L"Failed to open registry key. Error code: 2\n",
                                        L"Registry key not found.\n",
                                        L"Unable to open registry key.\n"};
  EXPECT_EQ(m_lines, expected);
}

// Access to "Software" refused: the administrator hint, then exit code 1.
TEST_F(UpdateHelperTest, RefusedSoftwareKeyEndsWithOne) {
  CreateSoftwareKey();
  g_softwareStatus = ERROR_ACCESS_DENIED;
  g_softwareFailures = 2;
  ScopedOverride failingSoftware(g_updateHelperOpenKey, &OpenKeyWithFailingSoftware);
  EXPECT_EQ(RunPendingUpdate(), 1);
  std::vector<std::wstring> expected = {L"Failed to open registry key. Error code: 5\n",
                                        L"Access denied. Try running as administrator.\n",
                                        L"Unable to open registry key.\n"};
  EXPECT_EQ(m_lines, expected);
}

// A failed first probe is only reported: the run goes on when the second opening succeeds.
TEST_F(UpdateHelperTest, FailedProbeIsOnlyReported) {
  CreateSoftwareKey();
  g_softwareStatus = ERROR_ACCESS_DENIED;
  g_softwareFailures = 1;
  ScopedOverride failingSoftware(g_updateHelperOpenKey, &OpenKeyWithFailingSoftware);
  EXPECT_EQ(RunPendingUpdate(), 0);
  std::vector<std::wstring> expected = {L"Failed to open registry key. Error code: 5\n",
                                        L"Access denied. Try running as administrator.\n",
                                        L"result: 2\n"};
  EXPECT_EQ(m_lines, expected);
}

// Without the product key the helper reports the open result 2 and ends with 0.
TEST_F(UpdateHelperTest, MissingProductKeyEndsWithZero) {
  CreateSoftwareKey();
  EXPECT_EQ(RunPendingUpdate(), 0);
  std::vector<std::wstring> expected = {L"Registry key opened successfully.\n", L"result: 2\n"};
  EXPECT_EQ(m_lines, expected);
}

struct PendingRow {
  const char* what;
  std::optional<std::wstring> pv;
  std::optional<std::wstring> opv;
  bool withCommand;
  bool started;
};

// The command runs only when opv is set, pv is not older and the command is not empty.
TEST_F(UpdateHelperTest, RunsTheCommandOnlyForAPendingUpdate) {
  const PendingRow rows[] = {
      {"opv missing", L"2.0", std::nullopt, true, false},
      {"opv empty", L"2.0", L"", true, false},
      {"pv older", L"1.2.0", L"1.3", true, false},
      {"pv newer by number", L"10.0.1", L"9.9.9", true, true},
      {"pv equal", L"1.3", L"1.3", true, true},
      {"pv missing", std::nullopt, L"1.0", true, true},
      {"command empty", L"2.0", L"1.0", false, false},
  };
  for (const PendingRow& row : rows) {
    SCOPED_TRACE(row.what);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vesk.helm");
    DeleteFileW(m_marker.c_str());
    testing::WriteProductValues(row.pv, row.opv,
                                row.withCommand ? MarkerCommand() : std::wstring());
    EXPECT_EQ(RunPendingUpdate(), 0);
    EXPECT_EQ(MarkerWritten(), row.started);
  }
}

// The helper waits for the command to end before it returns.
TEST_F(UpdateHelperTest, WaitsForTheCommand) {
  testing::WriteProductValues(L"2.0", L"1.0", MarkerCommand(1500));
  EXPECT_EQ(RunPendingUpdate(), 0);
  EXPECT_TRUE(MarkerWritten());
  std::vector<std::wstring> expected = {
      L"Registry key opened successfully.\n", L"result: 0\n",
      L"pvStr: 2.0\n", L"pvStr: 2.0\n", L"opvStr: 1.0\n", L"opvStr: 1.0\n",
      L"cmdValue: " + MarkerCommand(1500) + L"\n", L"cmdValue: " + MarkerCommand(1500) + L"\n"};
  EXPECT_EQ(m_lines, expected);
}

// A command of 1,023 characters fits the 2,048-byte buffer with its null and runs whole.
TEST_F(UpdateHelperTest, CommandThatFitsRunsWhole) {
  std::wstring command = MarkerCommand() + L" ";
  command.append(1023 - command.size(), L'x');
  testing::WriteProductValues(L"2.0", L"1.0", command);
  EXPECT_EQ(RunPendingUpdate(), 0);
  EXPECT_TRUE(MarkerWritten());
  EXPECT_EQ(m_lines.back(), L"cmdValue: " + command + L"\n");
}

// A command one character too long for the buffer reads as empty and is never started cut off,
// even when the failed query left the start of the command in the buffer.
TEST_F(UpdateHelperTest, CommandTooLongForTheBufferIsNotStarted) {
  ScopedOverride fillOnMoreData(g_queryRegistryValue, &QueryFillingTheBufferOnMoreData);
  std::wstring command = MarkerCommand() + L" ";
  command.append(1024 - command.size(), L'x');
  testing::WriteProductValues(L"2.0", L"1.0", command);
  EXPECT_EQ(RunPendingUpdate(), 0);
  EXPECT_FALSE(MarkerWritten());
  EXPECT_EQ(m_lines.back(), L"cmdValue: \n");
}

// A command that fills the whole buffer without a terminating null is read up to the buffer's
// end and no further, and runs whole.
TEST_F(UpdateHelperTest, CommandFillingTheBufferWithoutNullRunsWhole) {
  std::wstring command = MarkerCommand() + L" ";
  command.append(1024 - command.size(), L'x');
  g_commandWithoutNull = command;
  ScopedOverride withoutNull(g_queryRegistryValue, &QueryCommandWithoutNull);
  testing::WriteProductValues(L"2.0", L"1.0", L"unused");
  EXPECT_EQ(RunPendingUpdate(), 0);
  EXPECT_TRUE(MarkerWritten());
  EXPECT_EQ(m_lines.back(), L"cmdValue: " + command + L"\n");
}

// A version value too long for the buffer reads as empty, like a missing one.
TEST_F(UpdateHelperTest, VersionTooLongForTheBufferReadsAsEmpty) {
  ScopedOverride fillOnMoreData(g_queryRegistryValue, &QueryFillingTheBufferOnMoreData);
  testing::WriteProductValues(L"2.0", std::wstring(1024, L'9'), MarkerCommand());
  EXPECT_EQ(RunPendingUpdate(), 0);
  EXPECT_FALSE(MarkerWritten());
  EXPECT_EQ(m_lines.back(), L"opvStr: \n");
}

// Characters above U+00FF keep only their low byte in the 8-bit line, which is sign-extended.
TEST_F(UpdateHelperTest, EightBitLineKeepsTheLowByte) {
  testing::WriteProductValues(L"2.0\u0141x", std::nullopt, std::nullopt);  // U+0141: low byte 0x41 'A'
  EXPECT_EQ(RunPendingUpdate(), 0);
  ASSERT_GE(m_lines.size(), 4u);
  EXPECT_EQ(m_lines[2], L"pvStr: 2.0\u0141x\n");
  EXPECT_EQ(m_lines[3], L"pvStr: 2.0Ax\n");
  testing::WriteProductValues(L"\u00e9", std::nullopt, std::nullopt);
  m_lines.clear();
  (void)RunPendingUpdate();  // only the debugger lines are looked at
  ASSERT_GE(m_lines.size(), 4u);
  EXPECT_EQ(m_lines[3], L"pvStr: \uffe9\n");
}

}  // namespace
}  // namespace vesk
