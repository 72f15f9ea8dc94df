// Plain text and markup text: multi-language tokens, measuring, and the inline tags. Glyph shapes
// depend on the fonts installed, so these tests compare drawings with each other and measure
// extents instead of comparing with golden images.
#include <gtest/gtest.h>

#include <string>

#include "uitoolkit/core/tests/render_test_support.h"
#include "uitoolkit/core/resource_files.h"
#include "uitoolkit/core/ui_render_engine.h"

namespace SkinUI {
namespace {

using testing::TestCanvas;
using testing::TestRenderHost;

const DWORD kWhite = 0xFFFFFF;
const UINT kSingleLine = DT_SINGLELINE | DT_VCENTER;

class TextTest : public ::testing::Test {
 protected:
  TextTest() {
    host.AddFont(1, L"Tahoma", 14);
    host.strings[3] = L"Install";
  }

  void DrawPlain(TestCanvas& canvas, const wchar_t* text, DWORD color = 0xFF000000,
                 UINT style = kSingleLine) {
    RECT rc = canvas.rect();
    CRenderEngine::DrawText(canvas.dc(), &host, rc, text, color, 1, style);
  }

  void DrawHtml(TestCanvas& canvas, const wchar_t* text, UINT style = kSingleLine,
                DWORD color = 0xFF000000) {
    RECT rc = canvas.rect();
    int links = 8;
    CRenderEngine::DrawHtmlText(canvas.dc(), &host, rc, text, color, linkRects, linkTexts, links,
                                1, style);
    linkCount = links;
  }

  RECT MeasureHtml(const wchar_t* text, UINT style = DT_SINGLELINE, LONG width = 9999) {
    TestCanvas canvas(4, 4);
    RECT rc = {0, 0, width, 9999};
    int links = 8;
    CRenderEngine::DrawHtmlText(canvas.dc(), &host, rc, text, 0xFF000000, linkRects, linkTexts,
                                links, 1, style | DT_CALCRECT);
    return rc;
  }

  RECT MeasurePlain(const wchar_t* text, UINT style = DT_SINGLELINE) {
    TestCanvas canvas(4, 4);
    RECT rc = {0, 0, 9999, 9999};
    CRenderEngine::DrawText(canvas.dc(), &host, rc, text, 0xFF000000, 1, style | DT_CALCRECT);
    return rc;
  }

  TestRenderHost host;
  RECT linkRects[8] = {};
  CUiString linkTexts[8];
  int linkCount = -1;
};

// %{3} shows the string registered under 3; an unregistered %{4} stays as written.
TEST_F(TextTest, MultiLanguageTokensAreReplacedOrKept) {
  TestCanvas token(120, 20), literal(120, 20), kept(120, 20), keptLiteral(120, 20);
  DrawPlain(token, L"%{3}");
  DrawPlain(literal, L"Install");
  DrawPlain(kept, L"%{4}");
  host.strings.clear();
  DrawPlain(keptLiteral, L"%{4}");
  EXPECT_GT(literal.CountOtherThan(literal.rect(), kWhite), 0);
  EXPECT_TRUE(token.SameColors(literal));
  EXPECT_TRUE(kept.SameColors(keptLiteral));
  EXPECT_FALSE(kept.SameColors(literal));
}

// The token is replaced before measuring, too.
TEST_F(TextTest, TextSizeUsesTheReplacedText) {
  TestCanvas canvas(4, 4);
  const SIZE token = CRenderEngine::GetTextSize(canvas.dc(), &host, L"%{3}", 1, kSingleLine);
  const SIZE literal = CRenderEngine::GetTextSize(canvas.dc(), &host, L"Install", 1, kSingleLine);
  EXPECT_GT(literal.cx, 0);
  EXPECT_EQ(literal.cx, token.cx);
  EXPECT_EQ(literal.cy, token.cy);
}

// Text is drawn in the given colour (red and blue not exchanged) and with a transparent
// background.
TEST_F(TextTest, DrawsInTheTextColour) {
  TestCanvas canvas(120, 20);
  DrawPlain(canvas, L"Install", 0xFFFF0000);
  const int total = canvas.width() * canvas.height();
  const int notWhite = canvas.CountOtherThan(canvas.rect(), kWhite);
  const int red = total - canvas.CountOtherThan(canvas.rect(), 0xFF0000);
  EXPECT_GT(notWhite, 0);
  EXPECT_EQ(notWhite, red);
  EXPECT_EQ(canvas.width() * canvas.height(),
            canvas.CountOtherThan(canvas.rect(), 0x0000FF));  // never blue
}

// An ampersand is shown, not taken as a mnemonic prefix.
TEST_F(TextTest, AmpersandIsShown) {
  EXPECT_GT(MeasurePlain(L"a&&b").right, MeasurePlain(L"a&b").right);
  EXPECT_GT(MeasurePlain(L"a&b").right, MeasurePlain(L"ab").right);
}

// The calc-rect style measures and draws nothing; empty text or no manager draws nothing.
TEST_F(TextTest, CalcRectMeasuresOnly) {
  TestCanvas canvas(120, 20);
  RECT rc = canvas.rect();
  CRenderEngine::DrawText(canvas.dc(), &host, rc, L"Install", 0xFF000000, 1,
                          kSingleLine | DT_CALCRECT);
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
  EXPECT_GT(rc.right, 0);
  RECT unchanged = canvas.rect();
  CRenderEngine::DrawText(canvas.dc(), nullptr, unchanged, L"Install", 0xFF000000, 1, kSingleLine);
  CRenderEngine::DrawText(canvas.dc(), &host, unchanged, L"", 0xFF000000, 1, kSingleLine);
  CRenderEngine::DrawText(canvas.dc(), &host, unchanged, nullptr, 0xFF000000, 1, kSingleLine);
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
}

// Measuring an empty text gives an empty extent, not the rectangle offered.
TEST_F(TextTest, MeasuringNothingIsEmpty) {
  EXPECT_EQ(0, MeasurePlain(L"").right);
  EXPECT_EQ(0, MeasurePlain(L"").bottom);
  EXPECT_EQ(0, MeasureHtml(L"").right);
  EXPECT_EQ(0, MeasureHtml(L"").bottom);
  EXPECT_GT(MeasureHtml(L"x").right, 0);
}

// Text without tags looks the same through the markup renderer as through plain drawing.
TEST_F(TextTest, HtmlWithoutTagsMatchesPlainText) {
  TestCanvas plain(150, 20), html(150, 20);
  DrawPlain(plain, L"Install now", 0xFF000000, DT_SINGLELINE | DT_TOP);
  DrawHtml(html, L"Install now", DT_SINGLELINE | DT_TOP);
  EXPECT_TRUE(plain.SameColors(html));
}

// Tokens are replaced in markup text too.
TEST_F(TextTest, HtmlReplacesTokens) {
  TestCanvas token(150, 20), literal(150, 20);
  DrawHtml(token, L"<b>%{3}</b>");
  DrawHtml(literal, L"<b>Install</b>");
  EXPECT_TRUE(token.SameColors(literal));
}

// <c> colours its text; the rest keeps the default colour.
TEST_F(TextTest, ColourTag) {
  TestCanvas canvas(200, 20);
  DrawHtml(canvas, L"black <c #FF0000FF>blue</c>{c #00FF00}green{/c}");
  int blue = 0, green = 0, black = 0;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 200; ++x) {
      const DWORD pixel = canvas.Pixel(x, y);
      if (pixel == 0x0000FF) ++blue;
      if (pixel == 0x00FF00) ++green;
      if (pixel == 0x000000) ++black;
    }
  }
  EXPECT_GT(blue, 0);
  EXPECT_GT(green, 0);
  EXPECT_GT(black, 0);
}

// <b> and <u> ask the manager for variants of the current font; <f> selects by index or by face.
TEST_F(TextTest, FontTags) {
  TestCanvas canvas(300, 40);
  DrawHtml(canvas, L"<b>bold</b> <u>under</u> <f 1>one</f> <f Microsoft YaHei 16 bold italic>x</f>");
  ASSERT_EQ(3u, host.fontRequests.size());
  EXPECT_EQ(L"Tahoma 14 100", host.fontRequests[0]);
  EXPECT_EQ(L"Tahoma 14 010", host.fontRequests[1]);
  EXPECT_EQ(L"Microsoft YaHei 16 101", host.fontRequests[2]);
  TestCanvas regular(120, 20), bold(120, 20);
  DrawHtml(regular, L"WWWW");
  DrawHtml(bold, L"<b>WWWW</b>");
  EXPECT_GT(bold.CountOtherThan(bold.rect(), kWhite), regular.CountOtherThan(regular.rect(), kWhite));
}

// <n> breaks lines (twice as high), except with the single-line style.
TEST_F(TextTest, LineBreakTag) {
  const RECT one = MeasureHtml(L"ab", 0);
  const RECT two = MeasureHtml(L"ab<n>cd", 0);
  const RECT single = MeasureHtml(L"ab<n>cd", DT_SINGLELINE);
  EXPECT_EQ(2 * (one.bottom - one.top), two.bottom - two.top);
  EXPECT_EQ(one.bottom - one.top, single.bottom - single.top);
  EXPECT_GT(single.right, two.right);
}

// <p N> starts a paragraph on a new line with N extra pixels below its lines.
TEST_F(TextTest, ParagraphTag) {
  const RECT one = MeasureHtml(L"ab", 0);
  const LONG lineHeight = one.bottom - one.top;
  const RECT paragraphs = MeasureHtml(L"ab<p 5>cd<n>ef</p>gh", 0);
  // Lines: "ab", "cd" (+5), "ef" (+5), "gh".
  EXPECT_EQ(4 * lineHeight + 10, paragraphs.bottom - paragraphs.top);
}

// <x N> advances by N pixels; <y N> sets the line height.
TEST_F(TextTest, SpacingTags) {
  EXPECT_EQ(MeasureHtml(L"ab").right + 20, MeasureHtml(L"a<x 20>b").right);
  const RECT tall = MeasureHtml(L"<y 40>ab</y>");
  EXPECT_EQ(40, tall.bottom - tall.top);
}

// <r> shows tags as text.
TEST_F(TextTest, RawTag) {
  EXPECT_EQ(MeasurePlain(L"<b>x</b>").right, MeasureHtml(L"<r><b>x</b></r>").right);
  EXPECT_GT(MeasureHtml(L"<r><b>x</b></r>").right, MeasureHtml(L"<b>x</b>").right);
}

// <a> records each link's rectangle and text (the parameter, or else the enclosed text), drawn in
// the link colour.
TEST_F(TextTest, LinksAreRecorded) {
  TestCanvas canvas(300, 20);
  DrawHtml(canvas, L"go <a http://vesk>home</a> or <a>help</a>", DT_SINGLELINE | DT_TOP);
  ASSERT_EQ(2, linkCount);
  EXPECT_STREQ(L"http://vesk", linkTexts[0].GetData());
  EXPECT_STREQ(L"help", linkTexts[1].GetData());
  EXPECT_LT(linkRects[0].left, linkRects[0].right);
  EXPECT_LE(linkRects[0].right, linkRects[1].left);
  EXPECT_EQ(0, linkRects[0].top);
  EXPECT_GT(canvas.CountOtherThan(linkRects[0], kWhite), 0);
  int linkColoured = 0;
  for (int y = linkRects[0].top; y < linkRects[0].bottom; ++y) {
    for (int x = linkRects[0].left; x < linkRects[0].right; ++x) {
      if (canvas.Pixel(x, y) == 0x0000FF) ++linkColoured;
    }
  }
  EXPECT_GT(linkColoured, 0);
}

// No more links are recorded than there is room for.
TEST_F(TextTest, LinkCountIsLimited) {
  TestCanvas canvas(300, 20);
  RECT rc = canvas.rect();
  RECT rects[1];
  CUiString texts[1];
  int links = 1;
  CRenderEngine::DrawHtmlText(canvas.dc(), &host, rc, L"<a 1>a</a><a 2>b</a><a 3>c</a>",
                              0xFF000000, rects, texts, links, 1, kSingleLine);
  EXPECT_EQ(1, links);
  EXPECT_STREQ(L"1", texts[0].GetData());
}

// A link under the mouse is drawn in the hover colour.
TEST_F(TextTest, HoveredLinkColour) {
  TestCanvas first(200, 20);
  DrawHtml(first, L"<a x>link text</a>", DT_SINGLELINE | DT_TOP);
  ASSERT_EQ(1, linkCount);
  host.linkHoverColor = 0xFF00FF00;
  host.mouse = POINT{(linkRects[0].left + linkRects[0].right) / 2, 5};
  TestCanvas hovered(200, 20);
  DrawHtml(hovered, L"<a x>link text</a>", DT_SINGLELINE | DT_TOP);
  EXPECT_GT(first.CountOtherThan(linkRects[0], 0x00FF00), hovered.CountOtherThan(linkRects[0], 0x00FF00));
}

// <s> gives the text an opaque background in the selection colour.
TEST_F(TextTest, SelectedTag) {
  TestCanvas canvas(200, 20);
  DrawHtml(canvas, L"<s>selected</s>", DT_SINGLELINE | DT_TOP);
  EXPECT_EQ(0xBAE4FFu, canvas.Pixel(1, 1));
}

// <i> draws an image inline and makes room for it.
TEST_F(TextTest, ImageTag) {
  CResourceFiles::SetResourcePath(testing::TestImageFolder().c_str());
  TestCanvas canvas(100, 30);
  DrawHtml(canvas, L"<v top><i file='fifty.png' source='25,0,35,10'></v>x", DT_SINGLELINE | DT_TOP);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 10, 10}, 0x00FF00));
  EXPECT_EQ(MeasureHtml(L"x").right + 10,
            MeasureHtml(L"<i file='fifty.png' source='25,0,35,10'>x").right);
  EXPECT_EQ(MeasureHtml(L"x").right, MeasureHtml(L"<i missing.png>x").right);
  CResourceFiles::SetResourcePath(L"");
}

// <v> places a run at the top, the center or the bottom of its line.
TEST_F(TextTest, VerticalAlignTag) {
  CResourceFiles::SetResourcePath(testing::TestImageFolder().c_str());
  TestCanvas top(100, 60), center(100, 60), bottom(100, 60);
  DrawHtml(top, L"<y 40><v top><i color='#FFFF0000' source='0,0,1,1'></v></y>", DT_TOP);
  DrawHtml(center, L"<y 40><v center><i color='#FFFF0000'></v></y>", DT_TOP);
  DrawHtml(bottom, L"<y 40><i color='#FFFF0000'></y>", DT_TOP);
  EXPECT_EQ(0xFF0000u, top.Pixel(0, 0));
  EXPECT_EQ(0xFF0000u, center.Pixel(0, 19));
  EXPECT_EQ(0xFF0000u, bottom.Pixel(0, 39));
  EXPECT_EQ(kWhite, bottom.Pixel(0, 0));
  CResourceFiles::SetResourcePath(L"");
}

// The word-break style wraps at spaces; a word longer than the line is broken inside.
TEST_F(TextTest, WordBreakWraps) {
  const RECT wide = MeasureHtml(L"one two three four", DT_WORDBREAK);
  const LONG lineHeight = wide.bottom - wide.top;
  const RECT narrow = MeasureHtml(L"one two three four", DT_WORDBREAK, MeasureHtml(L"three").right + 2);
  EXPECT_GE(narrow.bottom - narrow.top, 3 * lineHeight);
  EXPECT_LE(narrow.right, MeasureHtml(L"three").right + 2);
  const RECT broken = MeasureHtml(L"abcdefghijklmnopqrstuvwxyz", DT_WORDBREAK, 30);
  EXPECT_GT(broken.bottom - broken.top, 2 * lineHeight);
  EXPECT_LE(broken.right, 30);
}

// Horizontal and vertical alignment bits place the text inside the rectangle.
TEST_F(TextTest, AlignmentBits) {
  TestCanvas left(200, 40), right(200, 40), centered(200, 40);
  DrawHtml(left, L"<b>x</b>", DT_SINGLELINE | DT_TOP);
  DrawHtml(right, L"<b>x</b>", DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
  DrawHtml(centered, L"<b>x</b>", DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  EXPECT_GT(left.CountOtherThan(RECT{0, 0, 30, 20}, kWhite), 0);
  EXPECT_GT(right.CountOtherThan(RECT{170, 20, 200, 40}, kWhite), 0);
  EXPECT_EQ(0, right.CountOtherThan(RECT{0, 0, 170, 40}, kWhite));
  EXPECT_GT(centered.CountOtherThan(RECT{85, 5, 115, 35}, kWhite), 0);
  EXPECT_EQ(0, centered.CountOtherThan(RECT{0, 0, 80, 40}, kWhite));
}

// Drawing stays inside the rectangle.
TEST_F(TextTest, HtmlIsClippedToTheRectangle) {
  TestCanvas canvas(100, 40);
  RECT rc = {10, 10, 40, 30};
  int links = 0;
  CRenderEngine::DrawHtmlText(canvas.dc(), &host, rc, L"a long line of text that overflows",
                              0xFF000000, nullptr, nullptr, links, 1, kSingleLine);
  EXPECT_GT(canvas.CountOtherThan(rc, kWhite), 0);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{40, 0, 100, 40}, kWhite));
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 10, 40}, kWhite));
}

// Empty text and a missing manager draw nothing and record no links.
TEST_F(TextTest, HtmlNothingToDraw) {
  TestCanvas canvas(50, 20);
  RECT rc = canvas.rect();
  int links = 8;
  CRenderEngine::DrawHtmlText(canvas.dc(), &host, rc, L"", 0xFF000000, linkRects, linkTexts,
                              links, 1, kSingleLine);
  EXPECT_EQ(0, links);
  links = 8;
  CRenderEngine::DrawHtmlText(canvas.dc(), nullptr, rc, L"x", 0xFF000000, linkRects, linkTexts,
                              links, 1, kSingleLine);
  EXPECT_EQ(0, links);
  EXPECT_EQ(0, canvas.CountOtherThan(canvas.rect(), kWhite));
}

}  // namespace
}  // namespace SkinUI
