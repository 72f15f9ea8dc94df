// Labels and text controls: alignment attributes, the size estimate and its cache, painting in
// each alignment, and links.
#include "uitoolkit/controls/ui_label.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"
#include "uitoolkit/controls/ui_box_layout.h"
#include "uitoolkit/controls/ui_text.h"

namespace SkinUI {
namespace testing {
namespace {

// A single-line label without height is its font's height plus 8 (plus vertical padding) and
// as wide as its text plus horizontal padding; fixed sizes win; the estimate is cached until
// the text, the padding or the fixed size change; a multi-line label is measured in the
// available width.
TEST(LabelSize, EstimateAndCache) {
  LeafManager manager;
  manager.render.AddFont(0, L"Tahoma", 20);
  CLabelUI label;
  Attach(label, manager, nullptr, RECT{0, 0, 100, 20});
  label.SetAttributeList(L"font=\"0\" text=\"Wide text\"");
  const int fontHeight = label.GetFontHeight();
  EXPECT_GE(fontHeight, 20);
  const SIZE first = label.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(fontHeight + 8, first.cy);
  EXPECT_GT(first.cx, 40);
  label.SetTextPadding(RECT{5, 1, 7, 2});
  const SIZE padded = label.EstimateSize(SIZE{500, 500});
  EXPECT_EQ(first.cx + 12, padded.cx);
  EXPECT_EQ(first.cy + 3, padded.cy);
  label.SetText(L"Wide text, and more");
  EXPECT_GT(label.EstimateSize(SIZE{500, 500}).cx, padded.cx);
  label.SetFixedHeight(16);
  EXPECT_EQ(16, label.EstimateSize(SIZE{500, 500}).cy);
  label.SetFixedWidth(30);
  EXPECT_EQ(30, label.EstimateSize(SIZE{500, 500}).cx);

  CLabelUI multi;
  Attach(multi, manager, nullptr, RECT{0, 0, 100, 20});
  multi.SetAttributeList(L"font=\"0\" multiline=\"true\" text=\"one two three four five six\"");
  const SIZE wide = multi.EstimateSize(SIZE{1000, 100});
  const SIZE narrow = multi.EstimateSize(SIZE{60, 100});
  EXPECT_EQ(1000, wide.cx);
  EXPECT_EQ(60, narrow.cx);
  EXPECT_GT(narrow.cy, wide.cy);

  // Only a fixed width: the height is still measured from the text.
  CLabelUI widthOnly;
  Attach(widthOnly, manager, nullptr, RECT{0, 0, 100, 20});
  widthOnly.SetAttributeList(L"font=\"0\" width=\"80\" text=\"Wide text\"");
  EXPECT_EQ(fontHeight + 8, widthOnly.EstimateSize(SIZE{500, 500}).cy);
  EXPECT_EQ(80, widthOnly.EstimateSize(SIZE{500, 500}).cx);
}

// A label 16 high without a width in a column keeps its height and takes the column's width;
// a label without height is as high as its font plus 8; "center" centres the text.
TEST(LabelSize, LabelsInAColumn) {
  TestCanvas canvas(100, 60, 0xFFFFFF);
  LeafManager manager;
  CVerticalLayoutUI column;
  auto* fixed = new CLabelUI;
  auto* free = new CLabelUI;
  column.Add(fixed);
  column.Add(free);
  column.SetManager(&manager, nullptr, false);
  fixed->SetAttributeList(L"height=\"16\" align=\"center\" text=\"Mid\" bkcolor=\"#FFF0F0F0\"");
  free->SetAttributeList(L"text=\"Top\"");
  column.SetPos(RECT{0, 0, 100, 60}, false);
  EXPECT_EQ(16, fixed->GetHeight());
  EXPECT_EQ(100, fixed->GetWidth());
  EXPECT_EQ(free->GetFontHeight() + 8, free->GetHeight());
  column.Paint(canvas.dc(), canvas.rect(), nullptr);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{0, 0, 35, 16}, 0xF0F0F0));
  EXPECT_GT(canvas.CountOtherThan(RECT{35, 0, 65, 16}, 0xF0F0F0), 0);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{65, 0, 100, 16}, 0xF0F0F0));
}

// Nine labels in every combination of horizontal and vertical alignment, a padded one, a
// disabled one in the default disabled colour, one whose align says center and right (right
// wins), one cut with an ellipsis, one whose valign says vcenter and bottom (bottom wins) and
// whose multiline is not exactly "true" (single line again; unclaimed names stay custom
// attributes), a multi-line one and one with markup.
TEST(LabelPaint, EachAlignment) {
  TestCanvas canvas(300, 130, 0xFFFFFF);
  LeafBoard board;
  const wchar_t* horizontal[] = {L"left", L"center", L"right"};
  const wchar_t* vertical[] = {L"top", L"vcenter", L"bottom"};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      board.Add<CLabelUI>(std::wstring(L"bkcolor=\"#FFF0F0F0\" text=\"Ag\" align=\"") +
                              horizontal[column] + L"\" valign=\"" + vertical[row] + L"\"",
                          RECT{column * 60, row * 30, column * 60 + 56, row * 30 + 26});
    }
  }
  board.Add<CLabelUI>(
      L"text=\"Pad\" textpadding=\"10,10,0,0\" valign=\"top\" bkcolor=\"#FFF0F0F0\"",
      RECT{180, 0, 240, 26});
  board.Add<CLabelUI>(L"text=\"Off\" enabled=\"false\"", RECT{240, 0, 300, 26});
  board.Add<CLabelUI>(L"text=\"Ellipsis here\" endellipsis=\"true\"", RECT{240, 30, 280, 56});
  auto& custom = board.Add<CLabelUI>(
      L"text=\"Cut\" valign=\"vcenter bottom\" lineheight=\"20\" color=\"#FF000000\" "
      L"multiline=\"true\" multiline=\"no\"",
      RECT{240, 60, 300, 100});
  EXPECT_STREQ(L"20", custom.GetCustomAttribute(L"lineheight"));
  EXPECT_STREQ(L"#FF000000", custom.GetCustomAttribute(L"color"));
  board.Add<CLabelUI>(L"text=\"CR\" align=\"center right\" textcolor=\"#FFC00000\"",
                      RECT{180, 30, 240, 56});
  board.Add<CLabelUI>(
      L"text=\"one two three four\" multiline=\"true\" valign=\"top\" bkcolor=\"#FFF0F0F0\"",
      RECT{180, 60, 240, 100});
  board.Add<CLabelUI>(L"text=\"<b>B</b> <c #FF0000FF>blue</c>\" showhtml=\"true\"",
                      RECT{0, 100, 180, 126});
  board.PaintAll(canvas.dc(), canvas.rect());
  // The bottom-right label has ink in its bottom-right part only.
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{120, 60, 150, 70}, 0xF0F0F0));
  EXPECT_GT(canvas.CountOtherThan(RECT{150, 70, 176, 86}, 0xF0F0F0), 0);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{180, 30, 220, 56}, 0xFFFFFF));
  EXPECT_TRUE(MatchesGolden(canvas, "label_alignments"));
}

// Text effects through GDI+: a plain effect label, a drop shadow in two colours, an outline, a
// gradient fill and a glow, each at its alignment; real numbers below 0.0001 leave the glow
// radius as it was.
TEST(LabelPaint, TextEffects) {
  TestCanvas canvas(320, 50, 0xFFFFFF);
  LeafBoard board;
  board.manager.render.AddFont(0, L"Tahoma", 28, true);
  const wchar_t* effects[] = {
      L"align=\"left\"",
      L"enabledshadow=\"true\" shadowoffset=\"4,4\" textshadowcolora=\"#FFFF0000\" "
      L"textshadowcolorb=\"#FF0000FF\" align=\"center\"",
      L"enabledstroke=\"true\" strokecolor=\"#FF00C000\" textcolor=\"#FFFFFF00\" align=\"right\"",
      L"textcolor1=\"#FF0000FF\" textcolor=\"#FFFF0000\" gradientangle=\"90\" "
      L"gradientlength=\"20\" valign=\"top\"",
      L"enabledluminous=\"true\" luminousfuzzy=\"4\" textcolor=\"#FF0080FF\" "
      L"luminousfuzzy=\"0.00001\" valign=\"bottom\"",
  };
  CLabelUI* last = nullptr;
  for (int column = 0; column < 5; ++column) {
    last = &board.Add<CLabelUI>(std::wstring(L"font=\"0\" text=\"Ab\" enabledeffect=\"true\" "
                                             L"textcolor=\"#FF000000\" ") +
                                    effects[column],
                                RECT{column * 64, 0, column * 64 + 64, 50});
  }
  EXPECT_FLOAT_EQ(4.0f, last->GetTextEffects().luminousFuzzy);
  board.PaintAll(canvas.dc(), canvas.rect());
  // The shadow adds ink beside the plain text's.
  EXPECT_GT(canvas.CountOtherThan(RECT{64, 0, 128, 50}, 0xFFFFFF),
            canvas.CountOtherThan(RECT{0, 0, 64, 50}, 0xFFFFFF) + 20);
  EXPECT_TRUE(MatchesGolden(canvas, "label_effects", 24));
}

// A text control records the links its markup draws; releasing the button over a link sends
// "link" with its index, elsewhere or when disabled nothing; a new text forgets the links.
TEST(TextLinks, ClickOnLinkSendsItsIndex) {
  TestCanvas canvas(200, 40, 0xFFFFFF);
  LeafManager manager;
  CTextUI text;
  Attach(text, manager, nullptr, RECT{0, 0, 200, 40});
  EXPECT_EQ(static_cast<UINT>(DT_WORDBREAK), text.GetTextStyle());
  EXPECT_EQ(2, text.GetTextPadding().left);
  text.SetAttributeList(L"showhtml=\"true\" text=\"Go <a first>here</a> or <a second>there</a>\"");
  text.Paint(canvas.dc(), canvas.rect(), nullptr);
  ASSERT_EQ(2, text.GetLinkCount());
  EXPECT_EQ(CUiString(L"second"), *text.GetLinkContent(1));
  const RECT second = text.GetLinkRect(1);
  SendEvents(text, {MakeEvent(UIEVENT_BUTTONUP, second.left, second.top),
                    MakeEvent(UIEVENT_BUTTONUP, 199, 39)});
  text.SetEnabled(false);
  SendEvents(text, {MakeEvent(UIEVENT_BUTTONUP, second.left, second.top)});
  ASSERT_EQ(1u, manager.notifications.size());
  EXPECT_EQ(CUiString(L"link"), manager.notifications[0].sType);
  EXPECT_EQ(1u, manager.notifications[0].wParam);
  text.SetText(L"plain");
  EXPECT_EQ(0, text.GetLinkCount());
}

}  // namespace
}  // namespace testing
}  // namespace SkinUI
