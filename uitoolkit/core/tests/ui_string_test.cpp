#include "uitoolkit/core/ui_string.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

struct CompareCase {
  const wchar_t* left;
  const wchar_t* right;
  int exact;   // sign of Compare
  int noCase;  // sign of CompareNoCase
};

int SignOf(int value) { return value < 0 ? -1 : (value > 0 ? 1 : 0); }

// Compare orders code units exactly; CompareNoCase ignores case of ASCII and other letters alike.
TEST(CUiString, ComparesExactlyAndIgnoringCase) {
  const CompareCase cases[] = {
      {L"abc", L"abc", 0, 0},
      {L"abc", L"ABC", 1, 0},
      {L"Window", L"window", -1, 0},
      {L"abc", L"abd", -1, -1},
      {L"ab", L"abc", -1, -1},
      {L"abc", L"ab", 1, 1},
      {L"", L"", 0, 0},
      {L"", nullptr, 0, 0},
      {L"a", nullptr, 1, 1},
      {L"\u00e9t\u00e9", L"\u00c9T\u00c9", 1, 0},
      {L"\u0436", L"\u0416", 1, 0},
      {L"\u4e2d", L"\u4e2e", -1, -1},
  };
  for (const CompareCase& row : cases) {
    const CUiString text(row.left);
    EXPECT_EQ(row.exact, SignOf(text.Compare(row.right))) << row.left;
    EXPECT_EQ(row.noCase, SignOf(text.CompareNoCase(row.right))) << row.left;
    EXPECT_EQ(row.exact == 0, text == row.right) << row.left;
  }
}

struct FindCase {
  const wchar_t* text;
  const wchar_t* needle;
  int start;
  int expected;
};

// Find returns the first position at or after the start, -1 when missing or the start is outside.
TEST(CUiString, FindsTextFromAStartPosition) {
  const FindCase cases[] = {
      {L"image.png", L".", 0, 5},    {L"a,b,c", L",", 2, 3},  {L"a,b,c", L",", 4, -1},
      {L"abcabc", L"bc", 0, 1},      {L"abcabc", L"bc", 2, 4}, {L"abc", L"x", 0, -1},
      {L"abc", L"", 3, 3},           {L"abc", L"a", -1, -1},   {L"abc", L"a", 9, -1},
      {L"", L"a", 0, -1},
  };
  for (const FindCase& row : cases) {
    EXPECT_EQ(row.expected, CUiString(row.text).Find(row.needle, row.start))
        << row.text << " / " << row.needle << " @" << row.start;
  }
  EXPECT_EQ(3, CUiString(L"a,b,c").Find(L',', 2));
  EXPECT_EQ(-1, CUiString(L"abc").Find(L'a', 3));
  EXPECT_EQ(6, CUiString(L"C:\\a\\b\\c.xml").ReverseFind(L'\\'));
  EXPECT_EQ(-1, CUiString(L"abc").ReverseFind(L'x'));
}

struct ReplaceCase {
  const wchar_t* text;
  const wchar_t* from;
  const wchar_t* to;
  int count;
  const wchar_t* expected;
};

// Replace substitutes every occurrence once, left to right, and never rescans what it inserted.
TEST(CUiString, ReplacesEveryOccurrence) {
  const ReplaceCase cases[] = {
      {L"a.b.c", L".", L"\\", 2, L"a\\b\\c"},
      {L"aaa", L"a", L"aa", 3, L"aaaaaa"},
      {L"aaaa", L"aa", L"b", 2, L"bb"},
      {L"abc", L"x", L"y", 0, L"abc"},
      {L"abc", L"", L"y", 0, L"abc"},
      {L"abc", L"b", nullptr, 1, L"ac"},
      {L"abc", L"abc", L"", 1, L""},
  };
  for (const ReplaceCase& row : cases) {
    CUiString text(row.text);
    EXPECT_EQ(row.count, text.Replace(row.from, row.to)) << row.text;
    EXPECT_STREQ(row.expected, text.GetData()) << row.text;
  }
}

struct SubstringCase {
  const wchar_t* text;
  int start;
  int count;
  const wchar_t* mid;
  const wchar_t* left;   // Left(count)
  const wchar_t* right;  // Right(count)
};

// Left, Mid and Right clamp positions and counts to the text instead of reading past it.
TEST(CUiString, SubstringsClampToTheText) {
  const SubstringCase cases[] = {
      {L"abcdef", 1, 3, L"bcd", L"abc", L"def"},
      {L"abcdef", 4, 10, L"ef", L"abcdef", L"abcdef"},
      {L"abcdef", 6, 1, L"", L"a", L"f"},
      {L"abcdef", -2, 2, L"ab", L"ab", L"ef"},
      {L"abcdef", 2, -1, L"cdef", L"", L""},
      {L"", 0, 3, L"", L"", L""},
  };
  for (const SubstringCase& row : cases) {
    const CUiString text(row.text);
    EXPECT_STREQ(row.mid, text.Mid(row.start, row.count).GetData()) << row.text;
    EXPECT_STREQ(row.left, text.Left(row.count).GetData()) << row.text;
    EXPECT_STREQ(row.right, text.Right(row.count).GetData()) << row.text;
  }
}

// Formatting takes wide text for %s and %c on every platform and grows to any length.
TEST(CUiString, FormatsWithWideTextArguments) {
  CUiString text;
  EXPECT_EQ(12, text.Format(L"%s\\%s", L"C:\\dir", L"a.xml"));
  EXPECT_STREQ(L"C:\\dir\\a.xml", text.GetData());
  text.Format(L"%d,%u,%x,%c,%ls,%5.1f|%-3d|", -5, 7u, 255, L'Z', L"wide", 2.5, 4);
  EXPECT_STREQ(L"-5,7,ff,Z,wide,  2.5|4  |", text.GetData());
  text.Format(L"%s", L"\u4e2d\u6587");
  EXPECT_STREQ(L"\u4e2d\u6587", text.GetData());
  const CUiString longText(std::wstring(5000, L'x').c_str());
  EXPECT_EQ(5002, text.Format(L"[%s]", longText.GetData()));
  EXPECT_EQ(L'x', text[4999]);
  EXPECT_EQ(L']', text[5001]);
}

// Case mapping, assignment from its own text, character access outside the text and appending.
TEST(CUiString, EditsInPlaceSafely) {
  CUiString text(L"Vesk.Helm \u00e9");
  text.MakeUpper();
  EXPECT_STREQ(L"VESK.HELM \u00c9", text.GetData());
  text.MakeLower();
  EXPECT_STREQ(L"vesk.helm \u00e9", text.GetData());
  text = text.GetData() + 5;
  EXPECT_STREQ(L"helm \u00e9", text.GetData());
  EXPECT_EQ(L'\0', text.GetAt(-1));
  EXPECT_EQ(L'\0', text.GetAt(text.GetLength()));
  EXPECT_FALSE(text.SetAt(text.GetLength(), L'x'));
  EXPECT_TRUE(text.SetAt(0, L'H'));
  text += L'!';
  text += CUiString(L"?");
  text.Append(nullptr);
  EXPECT_STREQ(L"Helm \u00e9!?", text.GetData());
  EXPECT_STREQ(L"<Helm \u00e9!?>", (L"<" + text + L">").GetData());
  EXPECT_STREQ(L"ab", CUiString(L"abc", 2).GetData());
  EXPECT_TRUE(CUiString(nullptr).IsEmpty());
  text.Empty();
  EXPECT_EQ(0, text.GetLength());
}

}  // namespace
}  // namespace SkinUI
