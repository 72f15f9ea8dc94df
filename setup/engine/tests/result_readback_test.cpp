#include "setup/engine/result_readback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/product.h"
#include "testsupport/log_capture.h"
#include "testsupport/test_support.h"

namespace vesk {
namespace {

using testing::LogCapture;
using testing::ScopedCurrentUserOverride;

class ReadbackTest : public ::testing::Test {
 protected:
  void SetValue(const std::wstring& name, DWORD type, const void* data, DWORD bytes) {
    ASSERT_TRUE(testing::WriteUserValue(kProductKey, name, type, data, bytes));
  }
  void SetText(const std::wstring& name, const std::wstring& text, DWORD type = REG_SZ) {
    SetValue(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  }
  void SetNumber(const std::wstring& name, DWORD number) {
    SetValue(name, REG_DWORD, &number, sizeof(number));
  }

  // The listing part of the log: the lines between "RegOpenKeyEx success" and the first line
  // of the explicit reads, sorted (the registry does not promise an order).
  static std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
  }

  ScopedCurrentUserOverride m_user;
  LogCapture m_log;
};

// Without the product key only the first and the last line are written.
TEST_F(ReadbackTest, MissingKeyGivesStartAndEndOnly) {
  logRegistryValue();
  std::vector<std::string> expected = {"========== logRegistryValue start ==========",
                                       "logRegistryValue end"};
  EXPECT_EQ(m_log.Messages(), expected);
}

// Every value is listed as "<name>: <value>" (texts, unsigned numbers, "Unsupported type" for the
// rest); then the installer's results and the log path are read explicitly, in that order.
TEST_F(ReadbackTest, ListsEveryValueThenTheFourResults) {
  SetText(L"VeskInstallPath", L"C:\\x y\\vesk.helm");
  SetNumber(L"InstallAutoLaunch", 1);
  SetNumber(L"InstallerError", 4294967295u);
  SetNumber(L"InstallerResult", 0);
  SetText(L"InstallerResultUIString", L"Installed.");
  SetText(L"VeskInstallLogPath", L"C:\\x y\\vesk.helm\\vesk_install.log");
  SetText(L"expand", L"%TEMP%", REG_EXPAND_SZ);
  ULONGLONG wide = 5;
  SetValue(L"quad", REG_QWORD, &wide, sizeof(wide));
  logRegistryValue();

  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 15u);
  EXPECT_EQ(messages[0], "========== logRegistryValue start ==========");
  EXPECT_EQ(messages[1], "RegOpenKeyEx success");
  std::vector<std::string> listing(messages.begin() + 2, messages.begin() + 10);
  std::vector<std::string> expectedListing = {
      "InstallAutoLaunch: 1",
      "InstallerError: 4294967295",
      "InstallerResult: 0",
      "InstallerResultUIString: Installed.",
      "VeskInstallLogPath: C:\\x y\\vesk.helm\\vesk_install.log",
      "VeskInstallPath: C:\\x y\\vesk.helm",
      "expand: Unsupported type",
      "quad: Unsupported type",
  };
  EXPECT_EQ(Sorted(listing), expectedListing);
  std::vector<std::string> explicitReads(messages.begin() + 10, messages.end());
  std::vector<std::string> expectedReads = {
      "InstallerError: 4294967295", "InstallerResult: 0", "InstallerResultUIString: Installed.",
      "VeskInstallLogPath: C:\\x y\\vesk.helm\\vesk_install.log", "logRegistryValue end"};
  EXPECT_EQ(explicitReads, expectedReads);
}

// Long texts (a 300-byte value, a log path of more than 129 characters) are listed whole and do
// not end the listing; the log path's explicit line is written too.
TEST_F(ReadbackTest, LongValuesAreListedWholeAndTheListingGoesOn) {
  std::wstring longText(149, L't');  // 300 bytes with its null
  std::wstring longPath = L"C:\\" + std::wstring(200, L'p') + L"\\vesk_install.log";
  std::wstring longName(300, L'n');
  SetText(L"first", L"1");
  SetText(L"long", longText);
  SetText(kLogPathValue, longPath);
  SetText(longName, L"named");
  SetText(L"last", L"2");
  logRegistryValue();

  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 9u);
  std::vector<std::string> listing(messages.begin() + 2, messages.begin() + 7);
  std::vector<std::string> expectedListing = {
      "VeskInstallLogPath: " + testing::Narrow(longPath),
      "first: 1",
      "last: 2",
      "long: " + testing::Narrow(longText),
      testing::Narrow(longName) + ": named",
  };
  EXPECT_EQ(Sorted(listing), expectedListing);
  EXPECT_EQ(messages[7], "VeskInstallLogPath: " + testing::Narrow(longPath));
  EXPECT_EQ(messages[8], "logRegistryValue end");
}

// A text stored without its terminating null is listed up to its end; a number stored in fewer
// than four bytes is not a number.
TEST_F(ReadbackTest, OddlyStoredValuesAreReadSafely) {
  std::wstring text = L"no null";
  SetValue(L"text", REG_SZ, text.c_str(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
  WORD shortNumber = 7;
  SetValue(L"short", REG_DWORD, &shortNumber, sizeof(shortNumber));
  logRegistryValue();
  std::vector<std::string> messages = m_log.Messages();
  ASSERT_EQ(messages.size(), 5u);
  std::vector<std::string> listing(messages.begin() + 2, messages.begin() + 4);
  std::vector<std::string> expectedListing = {"short: Unsupported type", "text: no null"};
  EXPECT_EQ(Sorted(listing), expectedListing);
}

}  // namespace
}  // namespace vesk
