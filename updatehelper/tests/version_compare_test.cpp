// Version order of the update helper: numeric components, compared until one version ends.
#include <gtest/gtest.h>

#include <climits>

#include "testsupport/test_support.h"
#include "updatehelper/update_helper.h"

namespace vesk {
namespace {

struct ComparisonRow {
  const wchar_t* pv;
  const wchar_t* opv;
  bool newer;
};

// pv is "newer" unless it is smaller at the first differing component; rows cover numeric order,
// prefixes both ways, empty texts and malformed components.
TEST(IsPendingVersionNewer, ComparesComponentsAsNumbers) {
  const ComparisonRow rows[] = {
      {L"10.0.1", L"9.9.9", true},      // numeric, not textual order
      {L"9.9.9", L"10.0.1", false},
      {L"1.10", L"1.9", true},
      {L"1.9", L"1.10", false},
      {L"2", L"10", false},
      {L"1.2.0", L"1.3", false},
      {L"1.3", L"1.2.0", true},
      {L"1.2.3", L"1.2.3", true},       // equal versions
      {L"1.9.1.2925", L"1.9.1.2924", true},
      {L"1.9.1.2924", L"1.9.1.2925", false},
      {L"1.2.3", L"1.2", true},         // pv extends opv
      {L"1.2", L"1.2.3", true},         // opv extends pv
      {L"1.2", L"1.2.0.5", true},
      {L"", L"1.0", true},              // empty pv
      {L"1.0", L"", true},
      {L"", L"", true},
      {L"1..2", L"1.1.2", false},       // an empty component reads as 0
      {L"1.x", L"1.0", true},           // letters only read as 0
      {L"1.x", L"1.1", false},
      {L"3abc.1", L"3.0", true},        // digits followed by letters read as their digits
      {L"4abc", L"5", false},
      {L" 7", L"6", true},              // leading blanks and a sign are allowed
      {L"+2", L"1", true},
      {L"-5", L"0", false},
      {L"99999999999", L"2147483647", true},   // clamped to the 32-bit maximum: equal
      {L"2147483646", L"99999999999", false},
      {L"-99999999999.1", L"-2147483648.0", true},  // clamped to the minimum, then 1 > 0
      {L"1.2.", L"1.2", true},
      {L".5", L"0.4", true},
  };
  for (const ComparisonRow& row : rows) {
    EXPECT_EQ(IsPendingVersionNewer(row.pv, row.opv), row.newer)
        << "pv " << testing::Narrow(row.pv) << ", opv " << testing::Narrow(row.opv);
  }
}

struct ComponentRow {
  const wchar_t* text;
  int value;
};

// A component reads like a standard base-10 conversion, but never fails: no digits give 0 and
// numbers beyond 32 bits give the nearest limit.
TEST(ParseVersionComponent, ReadsDigitsAndNeverFails) {
  const ComponentRow rows[] = {
      {L"0", 0},
      {L"12", 12},
      {L"007", 7},
      {L"  12", 12},
      {L"\t5", 5},
      {L"+12", 12},
      {L"-12", -12},
      {L"12abc", 12},
      {L"12 3", 12},
      {L"", 0},
      {L"abc", 0},
      {L"-", 0},
      {L"+", 0},
      {L" ", 0},
      {L"2147483647", INT_MAX},
      {L"2147483648", INT_MAX},
      {L"-2147483648", INT_MIN},
      {L"-2147483649", INT_MIN},
      {L"99999999999999999999999999", INT_MAX},
      {L"-99999999999999999999999999", INT_MIN},
  };
  for (const ComponentRow& row : rows) {
    EXPECT_EQ(ParseVersionComponent(row.text), row.value) << testing::Narrow(row.text);
  }
}

}  // namespace
}  // namespace vesk
