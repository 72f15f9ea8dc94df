#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/core/markup.h"

namespace SkinUI {
namespace {

// Writes a node and its subtree as Name(attr=value,...)"value"[children...]; the value part is
// left out when empty.
std::wstring Dump(const CMarkupNode& node) {
  std::wstring out = node.GetName();
  if (node.GetAttributeCount() > 0) {
    out += L'(';
    for (int i = 0; i < node.GetAttributeCount(); ++i) {
      if (i > 0) out += L',';
      out += node.GetAttributeName(i);
      out += L'=';
      out += node.GetAttributeValue(i);
    }
    out += L')';
  }
  if (node.GetValue()[0] != L'\0') out += std::wstring(L"\"") + node.GetValue() + L"\"";
  if (node.HasChildren()) {
    out += L'[';
    for (CMarkupNode child = node.GetChild(); child.IsValid(); child = child.GetSibling()) {
      if (child.GetParent().GetName() != node.GetName()) out += L"<bad parent>";
      out += Dump(child);
      if (child.HasSiblings()) out += L',';
    }
    out += L']';
  }
  return out;
}

// All top-level elements, separated by '|'.
std::wstring DumpDocument(CMarkup& markup) {
  std::wstring out;
  for (CMarkupNode node = markup.GetRoot(); node.IsValid(); node = node.GetSibling()) {
    if (!out.empty()) out += L'|';
    out += Dump(node);
  }
  return out;
}

struct ParseCase {
  const wchar_t* input;
  const wchar_t* tree;
};

// Well-formed documents (and the tolerated shapes) load into exactly this element tree.
TEST(CMarkupParse, BuildsTheElementTree) {
  const ParseCase cases[] = {
      {L"", L""},
      {L"  \r\n\t ", L""},
      {L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<!-- only a comment -->\r\n", L""},
      {L"<Control/>", L"Control"},
      {L"<Control />", L"Control"},
      {L"<Control a=\"1\"/>", L"Control(a=1)"},
      {L"<Control a=\"1\" />", L"Control(a=1)"},
      {L"<A></A>", L"A"},
      {L"<A>text</A>", L"A\"text\""},
      {L"< A >x</ A >", L"A\"x\""},
      {L"<A x = \"1\" >v</A >", L"A(x=1)\"v\""},
      {L"<A x=\"1\"y=\"2\"/>", L"A(x=1,y=2)"},
      {L"<A =\"1\"/>", L"A(=1)"},
      {L"<A x=\"1>2\" y=\"a/b\"/>", L"A(x=1>2,y=a/b)"},
      {L"<A>&amp;lt;</A>", L"A\"&lt;\""},
      {L"<A>&#65;&foo;&amp</A>", L"A\"&#65;&foo;&amp\""},
      {L"<A v=\"&quot;&apos;&lt;&gt;&amp;\"/>", L"A(v=\"'<>&)"},
      {L"<A a=\"&amp;\" b=\"2\" c=\"&lt;&lt;x\"/>", L"A(a=&,b=2,c=<<x)"},
      {L"<A>a&amp;b<B/></A>", L"A\"a&b\"[B]"},
      {L"<A><!-- x --><B/><?pi ?><C></C>\r\n</A>", L"A[B,C]"},
      {L"<A/><B/>", L"A|B"},
      {L"<Window size=\"640,460\"><VerticalLayout><Button name=\"ok\" text=\"OK\"/>"
       L"<Label/></VerticalLayout></Window>",
       L"Window(size=640,460)[VerticalLayout[Button(name=ok,text=OK),Label]]"},
      {L"<A>line1\n\tline2</A>", L"A\"line1\n\tline2\""},
      {L"<A x=\"a  b\">c  d</A>", L"A(x=a  b)\"c  d\""},
      {L"<\u4e2d\u6587 \u5c5e\u6027=\"\u503c\"/>", L"\u4e2d\u6587(\u5c5e\u6027=\u503c)"},
      {L"<a:b c_d=\"1\" e9=\"2\"/>", L"a:b(c_d=1,e9=2)"},
      {L"<A>text", L"A\"text\""},
      {L"<A><B>x", L"A[B\"x\"]"},
      {L"<A><B/>", L"A[B]"},
      {L"<!DOCTYPE a><A/>", L""},
      {L"<A x=\"\"/>", L"A(x=)"},
  };
  for (const ParseCase& row : cases) {
    CMarkup markup;
    ASSERT_TRUE(markup.Load(row.input)) << row.input << " : " << markup.GetLastErrorMessage();
    EXPECT_TRUE(markup.IsValid());
    EXPECT_EQ(std::wstring(row.tree), DumpDocument(markup)) << row.input;
    EXPECT_EQ(row.tree[0] != L'\0', markup.GetRoot().IsValid()) << row.input;
  }
}

struct ErrorCase {
  const wchar_t* input;
  const wchar_t* message;
  const wchar_t* location;
};

// Each malformed shape fails with its message and the text where parsing stopped.
TEST(CMarkupParse, ReportsEachErrorWithItsLocation) {
  const ErrorCase cases[] = {
      {L"text", L"Expected start tag", L"text"},
      {L"<A/>junk", L"Expected start tag", L"junk"},
      {L"<A>text<B/>tail</A>", L"Expected start tag", L"tail</A>"},
      {L"<A><B></B>tail</A>", L"Expected start tag", L"tail</A>"},
      {L"<A x='1'>", L"Expected attribute value", L"'1'>"},
      {L"<A x=1>", L"Expected attribute value", L"1>"},
      {L"<A x>", L"Error while parsing attributes", L">"},
      {L"<A x y=\"1\">", L"Error while parsing attributes", L"y=\"1\">"},
      {L"<A x=\"1", L"Error while parsing attribute string", L""},
      {L"<A", L"Error parsing element name", L""},
      {L"<", L"Error parsing element name", L""},
      {L"<A x=\"1\" / >", L"Expected start-tag closing", L"/ >"},
      {L"<A/ >", L"Expected start-tag closing", L"/ >"},
      {L"<A></B>", L"Unmatched closing tag", L"B>"},
      {L"<A></Ab>", L"Unmatched closing tag", L"b>"},
      {L"<A></a>", L"Unmatched closing tag", L"a>"},
      {L"<A></A", L"Unmatched closing tag", L""},
      {L"<A><B></A></B>", L"Unmatched closing tag", L"A></B>"},
      {L"</A>", L"Unmatched closing tag", L"</A>"},
      {L"<A/></A>", L"Unmatched closing tag", L"</A>"},
      {L"<A><B><C>", L"Expected end-tag start", L""},
      {L"<A><B><C/>", L"Expected start tag", L""},
      {L"<A/><B><C>", L"Expected end-tag start", L""},
      {L"<A/>0123456789012345678901234567890123456789012345678901234567890123456789",
       L"Expected start tag", L"0123456789012345678901234567890123456789012345678"},
  };
  for (const ErrorCase& row : cases) {
    CMarkup markup;
    EXPECT_FALSE(markup.Load(row.input)) << row.input;
    EXPECT_STREQ(row.message, markup.GetLastErrorMessage()) << row.input;
    EXPECT_STREQ(row.location, markup.GetLastErrorLocation()) << row.input;
    EXPECT_FALSE(markup.IsValid()) << row.input;
    EXPECT_FALSE(markup.GetRoot().IsValid()) << row.input;
  }
}

// With preserve-whitespace off, whitespace after a space is dropped in text and attribute values;
// tabs and line breaks not preceded by a space stay.
TEST(CMarkupParse, CollapsesWhitespaceAfterSpacesOnlyWhenAsked) {
  const ParseCase cases[] = {
      {L"<A x=\"a  \t b\">c \r\n d</A>", L"A(x=a b)\"c d\""},
      {L"<A>a\tb\n c</A>", L"A\"a\tb\n c\""},
      {L"<A>&amp;  x</A>", L"A\"& x\""},
  };
  for (const ParseCase& row : cases) {
    CMarkup markup;
    markup.SetPreserveWhitespace(false);
    ASSERT_TRUE(markup.Load(row.input)) << row.input;
    EXPECT_EQ(std::wstring(row.tree), DumpDocument(markup)) << row.input;
  }
}

// Entities and collapsed spaces decode the same wherever they fall: at every offset from the
// start of the data and with runs of every length after them, in attribute values and in text.
TEST(CMarkupParse, DecodesDataAtEveryOffset) {
  for (std::size_t lead = 0; lead <= 20; ++lead) {
    for (std::size_t trail = 0; trail <= 20; ++trail) {
      const std::wstring a(lead, L'a');
      const std::wstring b(trail, L'b');
      const std::wstring input = L"<A x=\"" + a + L"&lt;" + b + L"&quot;" + a + L"\">" + a + L"&gt;" +
                                 b + L"&amp;" + a + L"</A>";
      CMarkup markup;
      ASSERT_TRUE(markup.Load(input.c_str())) << input;
      EXPECT_EQ(L"A(x=" + a + L"<" + b + L"\"" + a + L")\"" + a + L">" + b + L"&" + a + L"\"",
                DumpDocument(markup))
          << input;

      const std::wstring spaced = L"<A x=\"" + a + L"   " + b + L"\">" + a + L" \t " + b + L"</A>";
      CMarkup collapsing;
      collapsing.SetPreserveWhitespace(false);
      ASSERT_TRUE(collapsing.Load(spaced.c_str())) << spaced;
      EXPECT_EQ(L"A(x=" + a + L" " + b + L")\"" + a + L" " + b + L"\"", DumpDocument(collapsing))
          << spaced;
    }
  }
}

// The element table starts with the placeholder row and grows to reserved + 500 + reserved / 2.
TEST(CMarkupParse, GrowsTheElementTableByItsRule) {
  const struct {
    int elements;
    unsigned rows;
    unsigned reserved;
  } cases[] = {{1, 2, 500}, {499, 500, 500}, {500, 501, 1250}, {1249, 1250, 1250},
               {1250, 1251, 2375}, {3000, 3001, 4062}};
  for (const auto& row : cases) {
    std::wstring text = L"<R>";
    for (int i = 1; i < row.elements; ++i) text += L"<e/>";
    text += L"</R>";
    CMarkup markup(text.c_str());
    ASSERT_TRUE(markup.IsValid());
    EXPECT_EQ(row.rows, markup.GetElementCount()) << row.elements;
    EXPECT_EQ(row.reserved, markup.GetReservedCount()) << row.elements;
  }
}

// Nesting far deeper than any skin neither crashes nor exhausts the stack, whether it is closed
// or not.
TEST(CMarkupParse, SurvivesVeryDeepNesting) {
  const int depth = 200000;
  std::wstring open;
  std::wstring close;
  for (int i = 0; i < depth; ++i) {
    open += L"<a>";
    close += L"</a>";
  }
  CMarkup closed((open + close).c_str());
  ASSERT_TRUE(closed.IsValid()) << closed.GetLastErrorMessage();
  int levels = 0;
  for (CMarkupNode node = closed.GetRoot(); node.IsValid(); node = node.GetChild()) ++levels;
  EXPECT_EQ(depth, levels);
  CMarkup unclosed(open.c_str());
  EXPECT_FALSE(unclosed.IsValid());
  EXPECT_STREQ(L"Expected end-tag start", unclosed.GetLastErrorMessage());
}

}  // namespace
}  // namespace SkinUI
