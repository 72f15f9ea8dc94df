#include "uitoolkit/core/ui_html_text_tokens.h"

#include <gtest/gtest.h>

#include <string>

namespace SkinUI {
namespace {

// Renders the token stream as "T(text)", "O(x:param)", "C(x)" for comparison.
std::wstring Tokens(const wchar_t* text) {
  CHtmlTextTokenizer tokenizer(text);
  THtmlToken token;
  std::wstring result;
  while (tokenizer.Next(token)) {
    switch (token.kind) {
      case HtmlTokenKind::Text:
        result += L"T(" + std::wstring(token.text, static_cast<size_t>(token.length)) + L")";
        break;
      case HtmlTokenKind::OpenTag:
        result += L"O(" + std::wstring(1, token.tag) + L":" +
                  std::wstring(token.text, static_cast<size_t>(token.length)) + L")";
        break;
      case HtmlTokenKind::CloseTag:
        result += L"C(" + std::wstring(1, token.tag) + L")";
        break;
    }
  }
  return result;
}

struct TokenCase {
  const wchar_t* text;
  const wchar_t* expected;
};

// Tags in both bracket forms, with and without parameters; malformed tags and unknown letters are
// text; inside <r> everything up to its end is text.
TEST(CHtmlTextTokenizer, SplitsTextAndTags) {
  const TokenCase cases[] = {
      {L"plain", L"T(plain)"},
      {L"<b>bold</b>", L"O(b:)T(bold)C(b)"},
      {L"{b}bold{/b}", L"O(b:)T(bold)C(b)"},
      {L"<c #FFFF0000>red</c>", L"O(c:#FFFF0000)T(red)C(c)"},
      {L"{c #FF00FF00}g{/c}", L"O(c:#FF00FF00)T(g)C(c)"},
      {L"<a http://x>link</a>", L"O(a:http://x)T(link)C(a)"},
      {L"a<n>b", L"T(a)O(n:)T(b)"},
      {L"1 < 2 and 3 > 2", L"T(1 < 2 and 3 > 2)"},
      {L"<B>x", L"T(<B>x)"},
      {L"<bb>x", L"T(<bb>x)"},
      {L"<z>x", L"T(<z>x)"},
      {L"<b x", L"T(<b x)"},
      {L"x<", L"T(x<)"},
      {L"<", L"T(<)"},
      {L"</b", L"T(</b)"},
      {L"<r><b>raw</b></r>after", L"O(r:)T(<b>raw</b>)C(r)T(after)"},
      {L"{r}{b}{/r}", L"O(r:)T({b})C(r)"},
      {L"<r>never closed <b>", L"O(r:)T(never closed <b>)"},
      {L"<r></r>", L"O(r:)C(r)"},
      {L"<b}mixed</b>", L"O(b:)T(mixed)C(b)"},
      {L"<f 1>x</f><p 5>y", L"O(f:1)T(x)C(f)O(p:5)T(y)"},
      {L"<<b>", L"T(<)O(b:)"},
      {L"", L""},
  };
  for (const TokenCase& row : cases) EXPECT_EQ(std::wstring(row.expected), Tokens(row.text));
}

// A null text has no tokens.
TEST(CHtmlTextTokenizer, NullIsEmpty) { EXPECT_EQ(L"", Tokens(nullptr)); }

// Thousands of tag starts that are never closed form one text run.
TEST(CHtmlTextTokenizer, UnterminatedTagsAreText) {
  std::wstring text;
  for (int i = 0; i < 20000; ++i) text += L"<a ";
  EXPECT_EQ(L"T(" + text + L")", Tokens(text.c_str()));
}

}  // namespace
}  // namespace SkinUI
