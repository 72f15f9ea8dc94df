#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/core/markup.h"

namespace SkinUI {
namespace {

const wchar_t kSkin[] =
    L"<Window size=\"640,460\" caption=\"0,0,640,40\">"
    L"<Font id=\"1\" name=\"Microsoft YaHei\" size=\"14\"/>"
    L"<VerticalLayout name=\"body\">"
    L"<Button name=\"install\" text=\"Install\" text=\"again\"/>"
    L"<Label name=\"info\">hello</Label>"
    L"<button name=\"lower\"/>"
    L"</VerticalLayout>"
    L"</Window>";

// Parent, sibling and child links walk the tree; a top-level element has no parent.
TEST(CMarkupNode, WalksParentsSiblingsAndChildren) {
  CMarkup markup(kSkin);
  CMarkupNode root = markup.GetRoot();
  ASSERT_TRUE(root.IsValid());
  EXPECT_STREQ(L"Window", root.GetName());
  EXPECT_FALSE(root.GetParent().IsValid());
  EXPECT_FALSE(root.HasSiblings());
  EXPECT_TRUE(root.HasChildren());
  CMarkupNode font = root.GetChild();
  EXPECT_STREQ(L"Font", font.GetName());
  EXPECT_FALSE(font.HasChildren());
  EXPECT_FALSE(font.GetChild().IsValid());
  CMarkupNode layout = font.GetSibling();
  EXPECT_STREQ(L"VerticalLayout", layout.GetName());
  EXPECT_FALSE(layout.HasSiblings());
  EXPECT_FALSE(layout.GetSibling().IsValid());
  EXPECT_STREQ(L"Window", layout.GetParent().GetName());
  EXPECT_STREQ(L"hello", layout.GetChild(L"Label").GetValue());
  EXPECT_STREQ(L"VerticalLayout", layout.GetChild(L"Label").GetParent().GetName());
}

// A copy answers like the node it was copied from, whether that node had already found its
// attributes or not; assigning another node replaces everything.
TEST(CMarkupNode, CopiesAnswerLikeTheOriginal) {
  CMarkup markup(kSkin);
  const CMarkupNode window = markup.GetRoot();
  const CMarkupNode unmapped = window.GetChild();
  CMarkupNode mapped = window.GetChild();
  ASSERT_EQ(3, mapped.GetAttributeCount());
  const CMarkupNode copies[] = {CMarkupNode(unmapped), CMarkupNode(mapped)};
  for (const CMarkupNode& copy : copies) {
    EXPECT_STREQ(L"Font", copy.GetName());
    ASSERT_EQ(3, copy.GetAttributeCount());
    EXPECT_STREQ(L"name", copy.GetAttributeName(1));
    EXPECT_STREQ(L"14", copy.GetAttributeValue(L"size"));
  }
  CMarkupNode assigned = mapped;
  assigned = window;
  EXPECT_STREQ(L"Window", assigned.GetName());
  ASSERT_EQ(2, assigned.GetAttributeCount());
  EXPECT_STREQ(L"0,0,640,40", assigned.GetAttributeValue(1));
  assigned = CMarkupNode();
  EXPECT_FALSE(assigned.IsValid());
  EXPECT_EQ(0, assigned.GetAttributeCount());
}

// Child and attribute lookups by name are exact: case matters and the first duplicate wins.
TEST(CMarkupNode, LooksUpNamesCaseSensitively) {
  CMarkup markup(kSkin);
  CMarkupNode layout = markup.GetRoot().GetChild(L"VerticalLayout");
  ASSERT_TRUE(layout.IsValid());
  const struct {
    const wchar_t* child;
    const wchar_t* expectedName;  // value of the child's "name" attribute, null = no such child
  } children[] = {{L"Button", L"install"}, {L"button", L"lower"}, {L"BUTTON", nullptr},
                  {L"Label", L"info"}, {L"", nullptr}, {nullptr, nullptr}};
  for (const auto& row : children) {
    CMarkupNode child = layout.GetChild(row.child);
    EXPECT_EQ(row.expectedName != nullptr, child.IsValid()) << (row.child ? row.child : L"null");
    if (row.expectedName != nullptr) {
      EXPECT_STREQ(row.expectedName, child.GetAttributeValue(L"name"));
    }
  }
  CMarkupNode button = layout.GetChild(L"Button");
  EXPECT_TRUE(button.HasAttribute(L"text"));
  EXPECT_FALSE(button.HasAttribute(L"Text"));
  EXPECT_STREQ(L"Install", button.GetAttributeValue(L"text"));
  EXPECT_STREQ(L"", button.GetAttributeValue(L"Text"));
  EXPECT_EQ(3, button.GetAttributeCount());
  EXPECT_STREQ(L"again", button.GetAttributeValue(2));
}

// Only the first 64 attributes of an element are visible; an index outside gives an empty text.
TEST(CMarkupNode, SeesAtMostSixtyFourAttributes) {
  std::wstring text = L"<A";
  for (int i = 1; i <= 70; ++i) {
    text += L" a" + std::to_wstring(i) + L"=\"" + std::to_wstring(i * 10) + L"\"";
  }
  text += L"/>";
  CMarkup markup(text.c_str());
  CMarkupNode node = markup.GetRoot();
  ASSERT_TRUE(node.IsValid());
  EXPECT_EQ(64, node.GetAttributeCount());
  const struct {
    const wchar_t* name;
    bool visible;
    const wchar_t* value;
  } rows[] = {{L"a1", true, L"10"}, {L"a64", true, L"640"}, {L"a65", false, L""},
              {L"a70", false, L""}};
  for (const auto& row : rows) {
    EXPECT_EQ(row.visible, node.HasAttribute(row.name)) << row.name;
    EXPECT_STREQ(row.value, node.GetAttributeValue(row.name)) << row.name;
  }
  EXPECT_STREQ(L"a64", node.GetAttributeName(63));
  EXPECT_STREQ(L"", node.GetAttributeName(64));
  EXPECT_STREQ(L"", node.GetAttributeValue(-1));
}

// An invalid node answers with nulls, false and zero instead of touching any document.
TEST(CMarkupNode, InvalidNodeAnswersEmpty) {
  const CMarkupNode node;
  EXPECT_FALSE(node.IsValid());
  EXPECT_EQ(nullptr, node.GetName());
  EXPECT_EQ(nullptr, node.GetValue());
  EXPECT_EQ(nullptr, node.GetAttributeName(0));
  EXPECT_EQ(nullptr, node.GetAttributeValue(0));
  EXPECT_STREQ(L"", node.GetAttributeValue(L"x"));
  EXPECT_FALSE(node.HasAttributes());
  EXPECT_FALSE(node.HasAttribute(L"x"));
  EXPECT_EQ(0, node.GetAttributeCount());
  EXPECT_FALSE(node.HasChildren());
  EXPECT_FALSE(node.HasSiblings());
  EXPECT_FALSE(node.GetChild().IsValid());
  EXPECT_FALSE(node.GetParent().IsValid());
  wchar_t buffer[4] = {L'x', L'x', L'x', L'x'};
  EXPECT_FALSE(node.GetAttributeValue(L"x", buffer, 4));
  EXPECT_STREQ(L"", buffer);
  CMarkup empty(L"   ");
  EXPECT_TRUE(empty.IsValid());
  EXPECT_FALSE(empty.GetRoot().IsValid());
}

// Copying a value into a caller's buffer succeeds only when the value fits whole with its
// terminator; otherwise the buffer is left empty and terminated.
TEST(CMarkupNode, CopiesValuesOnlyWhenTheyFit) {
  CMarkup markup(L"<A source=\"skin.xml\" empty=\"\"/>");
  CMarkupNode node = markup.GetRoot();
  const struct {
    const wchar_t* name;
    std::size_t max;
    bool copied;
    const wchar_t* expected;
  } rows[] = {{L"source", 9, true, L"skin.xml"},   {L"source", 8, false, L""},
              {L"source", 100, true, L"skin.xml"}, {L"empty", 1, true, L""},
              {L"missing", 10, false, L""},        {L"source", 1, false, L""}};
  for (const auto& row : rows) {
    wchar_t buffer[101];
    for (wchar_t& ch : buffer) ch = L'#';
    EXPECT_EQ(row.copied, node.GetAttributeValue(row.name, buffer, row.max)) << row.name << row.max;
    EXPECT_STREQ(row.expected, buffer) << row.name << row.max;
    for (std::size_t i = 0; i < row.max; ++i) {
      if (i >= std::wcslen(row.expected)) {
        EXPECT_EQ(L'\0', buffer[i]) << i;
      }
    }
    EXPECT_EQ(L'#', buffer[row.max]) << "wrote past max";
  }
  wchar_t buffer[16];
  EXPECT_TRUE(node.GetAttributeValue(0, buffer, 16));
  EXPECT_STREQ(L"skin.xml", buffer);
  EXPECT_FALSE(node.GetAttributeValue(5, buffer, 16));
}

// The stored error texts are copied cut to the buffer, always terminated, the rest filled with
// NULs; nothing is written past the given size.
TEST(CMarkup, CopiesErrorTextsIntoSmallBuffers) {
  CMarkup markup;
  ASSERT_FALSE(markup.Load(L"<A></B>"));
  const struct {
    std::size_t max;
    const wchar_t* message;
    const wchar_t* location;
  } rows[] = {{100, L"Unmatched closing tag", L"B>"}, {8, L"Unmatch", L"B>"},
              {2, L"U", L"B"}, {1, L"", L""}};
  for (const auto& row : rows) {
    wchar_t message[101];
    wchar_t location[101];
    for (wchar_t& ch : message) ch = L'#';
    for (wchar_t& ch : location) ch = L'#';
    markup.GetLastErrorMessage(message, row.max);
    markup.GetLastErrorLocation(location, row.max);
    EXPECT_STREQ(row.message, message) << row.max;
    EXPECT_STREQ(row.location, location) << row.max;
    EXPECT_EQ(L'\0', message[row.max - 1]) << row.max;
    EXPECT_EQ(L'#', message[row.max]) << row.max;
    EXPECT_EQ(L'#', location[row.max]) << row.max;
  }
  // A successful load clears the previous error.
  EXPECT_TRUE(markup.Load(L"<A/>"));
  EXPECT_STREQ(L"", markup.GetLastErrorMessage());
}

// Loading again replaces the document; Release leaves it invalid.
TEST(CMarkup, ReloadReplacesAndReleaseInvalidates) {
  CMarkup markup(L"<First/>");
  EXPECT_STREQ(L"First", markup.GetRoot().GetName());
  ASSERT_TRUE(markup.Load(L"<Second><Child/></Second>"));
  EXPECT_STREQ(L"Second", markup.GetRoot().GetName());
  EXPECT_EQ(3u, markup.GetElementCount());
  ASSERT_FALSE(markup.Load(L"<Broken"));
  EXPECT_FALSE(markup.IsValid());
  EXPECT_EQ(0u, markup.GetElementCount());
  ASSERT_TRUE(markup.Load(L"<Again/>"));
  markup.Release();
  EXPECT_FALSE(markup.IsValid());
  EXPECT_FALSE(markup.GetRoot().IsValid());
  EXPECT_TRUE(markup.Load(nullptr));
  EXPECT_FALSE(markup.GetRoot().IsValid());
}

}  // namespace
}  // namespace SkinUI
