// The test controls' number and version rules.
#include <gtest/gtest.h>

#include "standin/support/standin_controls.h"
#include "testsupport/scoped_settings.h"

namespace vesk::standin {
namespace {

struct NumberRow {
  const wchar_t* text;
  bool valid;
  unsigned long value;
};

// Whole decimal numbers are read as unsigned 32-bit codes; anything else is refused.
TEST(StandinControls, ReadsWholeNumbersAsThirtyTwoBitCodes) {
  const NumberRow rows[] = {
      {L"0", true, 0},
      {L"3", true, 3},
      {L"+21", true, 21},
      {L"4294967295", true, 4294967295UL},
      {L"-1", true, 4294967295UL},
      {L"-2147483648", true, 2147483648UL},
      {L"4294967296", false, 0},
      {L"-2147483649", false, 0},
      {L"", false, 0},
      {L"-", false, 0},
      {L" 3", false, 0},
      {L"3 ", false, 0},
      {L"0x10", false, 0},
      {L"12a", false, 0},
  };
  for (const NumberRow& row : rows) {
    std::optional<unsigned long> parsed = ParseWholeNumber(row.text);
    EXPECT_EQ(parsed.has_value(), row.valid) << testing::Narrow(row.text);
    if (row.valid && parsed) {
      EXPECT_EQ(*parsed, row.value) << testing::Narrow(row.text);
    }
  }
}

struct VersionRow {
  const wchar_t* text;
  bool dotted;
};

// Only digits separated by single dots name a version (and so a folder of the installation).
TEST(StandinControls, AcceptsOnlyDottedNumbersAsVersions) {
  const VersionRow rows[] = {
      {L"1.9.1.2925", true}, {L"7", true},         {L"10.0", true},  {L"", false},
      {L".1", false},        {L"1.", false},       {L"1..2", false}, {L"1.2a", false},
      {L"..\\x", false},     {L"1.2\\..", false},  {L" 1.2", false}, {L"1,2", false},
  };
  for (const VersionRow& row : rows) {
    EXPECT_EQ(IsDottedVersion(row.text), row.dotted) << testing::Narrow(row.text);
  }
}

// A control is read from the environment, and an unset or malformed number reads as nothing.
TEST(StandinControls, ReadsNumberControlsFromTheEnvironment) {
  const wchar_t name[] = L"VESK_STANDIN_TEST_CONTROL";
  {
    testing::ScopedEnvironmentVariable variable(name, std::wstring(L"23"));
    EXPECT_EQ(ReadNumberControl(name), std::optional<unsigned long>(23));
    EXPECT_EQ(ReadControl(name), L"23");
  }
  {
    testing::ScopedEnvironmentVariable variable(name, std::wstring(L"twenty"));
    EXPECT_FALSE(ReadNumberControl(name).has_value());
  }
  EXPECT_FALSE(ReadNumberControl(name).has_value());
  EXPECT_TRUE(ReadControl(name).empty());
}

}  // namespace
}  // namespace vesk::standin
