#include "uitoolkit/core/ui_value_parsing.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

struct ColorCase {
  const wchar_t* text;
  DWORD expected;
  int consumed;  // characters read, '#' included
};

// Colours: optional '#', hexadecimal digits up to the first other character, fewer digits give a
// smaller value, overlong values saturate.
TEST(ParseColor, ReadsHexadecimalArgb) {
  const ColorCase cases[] = {
      {L"#FF00FF00", 0xFF00FF00u, 9},  {L"FF00FF00", 0xFF00FF00u, 8},
      {L"#00000099", 0x00000099u, 9},  {L"#FFFFFF", 0x00FFFFFFu, 7},
      {L"#80ff0000", 0x80FF0000u, 9},  {L"#", 0u, 1},
      {L"", 0u, 0},                    {L"#12G4", 0x12u, 3},
      {L"xyz", 0u, 0},                 {L"#FFFFFFFFF", 0xFFFFFFFFu, 10},
      {L"#123456789ABCDEF0", 0xFFFFFFFFu, 17}, {L"#00000000FF", 0xFFu, 11},
      {L"##FF", 0u, 1},
  };
  for (const ColorCase& row : cases) {
    const wchar_t* end = nullptr;
    EXPECT_EQ(row.expected, ParseColor(row.text, &end)) << row.text;
    EXPECT_EQ(row.consumed, end - row.text) << row.text;
  }
}

// A null text is colour 0.
TEST(ParseColor, NullIsZero) { EXPECT_EQ(0u, ParseColor(nullptr)); }

struct DecimalCase {
  const wchar_t* text;
  LONG expected;
  int consumed;
};

// Decimal numbers: whitespace, sign, digits; saturating at the 32-bit range; nothing read when
// there are no digits.
TEST(ParseDecimal, ReadsSignedNumbers) {
  const DecimalCase cases[] = {
      {L"42", 42, 2},           {L"  -7,", -7, 4},        {L"+3x", 3, 2},
      {L"x", 0, 0},             {L"-", 0, 0},             {L"", 0, 0},
      {L"99999999999", 2147483647, 11}, {L"-99999999999", -2147483647 - 1, 12},
      {L"2147483647", 2147483647, 10},
  };
  for (const DecimalCase& row : cases) {
    const wchar_t* end = nullptr;
    EXPECT_EQ(row.expected, ParseDecimal(row.text, &end)) << row.text;
    EXPECT_EQ(row.consumed, end - row.text) << row.text;
  }
}

struct RectCase {
  const wchar_t* text;
  RECT expected;
};

// Number lists skip one separator after each number and read missing numbers as 0 without
// running past the end of the text.
TEST(ParseRectValue, ReadsFourNumbers) {
  const RectCase cases[] = {
      {L"10,20,110,60", {10, 20, 110, 60}}, {L"1,,3,4", {1, 0, 3, 4}},
      {L"4", {4, 0, 0, 0}},                 {L"4,", {4, 0, 0, 0}},
      {L"", {0, 0, 0, 0}},                  {L"1 2 3 4", {1, 2, 3, 4}},
      {L"-5,-6,7,8,9", {-5, -6, 7, 8}},     {L"a,b,c,d", {0, 0, 0, 0}},
  };
  for (const RectCase& row : cases) {
    const RECT rect = ParseRectValue(row.text);
    EXPECT_EQ(row.expected.left, rect.left) << row.text;
    EXPECT_EQ(row.expected.top, rect.top) << row.text;
    EXPECT_EQ(row.expected.right, rect.right) << row.text;
    EXPECT_EQ(row.expected.bottom, rect.bottom) << row.text;
  }
}

// Sizes read two numbers; the separator may be any character.
TEST(ParseSizeValue, ReadsTwoNumbers) {
  const SIZE size = ParseSizeValue(L"640,460");
  EXPECT_EQ(640, size.cx);
  EXPECT_EQ(460, size.cy);
  const SIZE partial = ParseSizeValue(L"8");
  EXPECT_EQ(8, partial.cx);
  EXPECT_EQ(0, partial.cy);
}

}  // namespace
}  // namespace SkinUI
