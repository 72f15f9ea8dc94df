// Readers of control attribute values.
#include "uitoolkit/controls/ui_attribute_values.h"

#include <gtest/gtest.h>

#include <string>

namespace SkinUI {
namespace {

struct ListCase {
  const wchar_t* list;
  bool complete;
  const wchar_t* pairs;  // "name=value;" for each pair read
};

// Attribute lists are read pair by pair up to the first deviation.
TEST(AttributeValues, AttributeListForms) {
  const ListCase cases[] = {
      {L"", true, L""},
      {L"a=\"1\"", true, L"a=1;"},
      {L"a=\"1\" b=\"x y\"", true, L"a=1;b=x y;"},
      {L"a=\"\" b=\"2\"", true, L"a=;b=2;"},
      {L"a=\"1\"  b=\"2\"", false, L"a=1;"},
      {L"a=\"1\" b='2'", false, L"a=1;"},
      {L"a=\"1\"b=\"2\"", false, L"a=1;"},
      {L"a=\"1", false, L""},
      {L"a", false, L""},
      {L"=\"1\"", false, L""},
      {L"a=\"1\" ", false, L"a=1;"},
  };
  for (const ListCase& row : cases) {
    TAttributePairs pairs;
    EXPECT_EQ(row.complete, ParseAttributeList(row.list, pairs)) << row.list;
    std::wstring read;
    for (const auto& pair : pairs) {
      read += std::wstring(pair.first) + L"=" + pair.second.GetData() + L";";
    }
    EXPECT_EQ(std::wstring(row.pairs), read) << row.list;
  }
}

// Fractions read sign, digits and a decimal part; anything else reads as 0 and is skipped.
TEST(AttributeValues, FractionsBooleansAndLineBreaks) {
  double values[4];
  ParseFractionList(L" 0.25,-1.5,.5,7", values, 4);
  EXPECT_DOUBLE_EQ(0.25, values[0]);
  EXPECT_DOUBLE_EQ(-1.5, values[1]);
  EXPECT_DOUBLE_EQ(0.5, values[2]);
  EXPECT_DOUBLE_EQ(7, values[3]);
  ParseFractionList(L"nan,1e9", values, 4);
  EXPECT_DOUBLE_EQ(0, values[0]);
  EXPECT_DOUBLE_EQ(0, values[1]);
  EXPECT_DOUBLE_EQ(0, values[2]);
  EXPECT_DOUBLE_EQ(0, values[3]);
  EXPECT_TRUE(ParseBoolValue(L"true"));
  EXPECT_FALSE(ParseBoolValue(L"true "));
  EXPECT_FALSE(ParseBoolValue(nullptr));
  EXPECT_STREQ(L"\r\n<n", ExpandToolTipLineBreaks(L"<n><n"));
}

}  // namespace
}  // namespace SkinUI
