// Labels and text controls: alignment attributes, the size estimate and its cache, painting in
// each alignment, and links.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "uitoolkit/controls/tests/leaf_test_support.h"
#include "uitoolkit/controls/ui_label.h"
#include "uitoolkit/controls/ui_text.h"

namespace SkinUI {
namespace {

using testing::Attach;
using testing::LeafManager;
using testing::MakeEvent;
using testing::MatchesGolden;
using testing::SendEvents;
using testing::TestCanvas;

struct StyleCase {
  const wchar_t* name;
  const wchar_t* value;
  UINT expected;  // starting from the label's default, vcenter | single line
};

// The text-style attributes: words found anywhere in the value, right over center, bottom over
// vcenter; multi-line swaps single line for word break.
TEST(LabelAttributes, TextStyleBits) {
  const StyleCase cases[] = {
      {L"align", L"center", DT_CENTER | DT_VCENTER | DT_SINGLELINE},
      {L"align", L"right", DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
      {L"align", L"center right", DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
      {L"align", L"left", DT_VCENTER | DT_SINGLELINE},
      {L"align", L"middle", DT_VCENTER | DT_SINGLELINE},
      {L"valign", L"top", DT_SINGLELINE},
      {L"valign", L"bottom", DT_BOTTOM | DT_SINGLELINE},
      {L"valign", L"vcenter bottom", DT_BOTTOM | DT_SINGLELINE},
      {L"endellipsis", L"true", DT_END_ELLIPSIS | DT_VCENTER | DT_SINGLELINE},
      {L"endellipsis", L"TRUE", DT_VCENTER | DT_SINGLELINE},
      {L"multiline", L"true", DT_VCENTER | DT_WORDBREAK},
      {L"multiline", L"false", DT_VCENTER | DT_SINGLELINE},
  };
  for (const StyleCase& row : cases) {
    CLabelUI label;
    label.SetAttribute(row.name, row.value);
    EXPECT_EQ(row.expected, label.GetTextStyle()) << row.name << L"=" << row.value;
  }
  CLabelUI label;
  label.SetAttributeList(
      L"font=\"3\" textcolor=\"#FF102030\" disabledtextcolor=\"#FF405060\" "
      L"textpadding=\"1,2,3,4\" showhtml=\"true\" lineheight=\"20\" color=\"#FF000000\"");
  EXPECT_EQ(3, label.GetFont());
  EXPECT_EQ(0xFF102030u, label.GetTextColor());
  EXPECT_EQ(0xFF405060u, label.GetDisabledTextColor());
  EXPECT_EQ(4, label.GetTextPadding().bottom);
  EXPECT_TRUE(label.IsShowHtml());
  EXPECT_STREQ(L"20", label.GetCustomAttribute(L"lineheight"));
  EXPECT_STREQ(L"#FF000000", label.GetCustomAttribute(L"color"));
}

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
}

// Nine labels in every combination of horizontal and vertical alignment, a padded one, a
// disabled one in the default disabled colour, one whose text style includes center and right
// (right wins), a multi-line one and one with markup.
TEST(LabelPaint, EachAlignment) {
  TestCanvas canvas(300, 130, 0xFFFFFF);
  LeafManager manager;
  std::vector<std::unique_ptr<CLabelUI>> labels;
  auto add = [&](const std::wstring& attributes, const RECT& rc) {
    labels.push_back(std::make_unique<CLabelUI>());
    Attach(*labels.back(), manager, nullptr, rc);
    labels.back()->SetAttributeList(attributes.c_str());
  };
  const wchar_t* horizontal[] = {L"left", L"center", L"right"};
  const wchar_t* vertical[] = {L"top", L"vcenter", L"bottom"};
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 3; ++column) {
      add(std::wstring(L"bkcolor=\"#FFF0F0F0\" text=\"Ag\" align=\"") + horizontal[column] +
              L"\" valign=\"" + vertical[row] + L"\"",
          RECT{column * 60, row * 30, column * 60 + 56, row * 30 + 26});
    }
  }
  add(L"text=\"Pad\" textpadding=\"10,10,0,0\" valign=\"top\" bkcolor=\"#FFF0F0F0\"",
      RECT{180, 0, 240, 26});
  add(L"text=\"Off\" enabled=\"false\"", RECT{240, 0, 300, 26});
  add(L"text=\"CR\" align=\"center right\" textcolor=\"#FFC00000\"", RECT{180, 30, 300, 56});
  add(L"text=\"one two three four\" multiline=\"true\" valign=\"top\" bkcolor=\"#FFF0F0F0\"",
      RECT{180, 60, 240, 100});
  add(L"text=\"<b>B</b> <c #FF0000FF>blue</c>\" showhtml=\"true\"", RECT{0, 100, 180, 126});
  for (auto& label : labels) label->Paint(canvas.dc(), canvas.rect(), nullptr);
  // The bottom-right label has ink in its bottom-right part only.
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{120, 60, 150, 70}, 0xF0F0F0));
  EXPECT_GT(canvas.CountOtherThan(RECT{150, 70, 176, 86}, 0xF0F0F0), 0);
  EXPECT_EQ(0, canvas.CountOtherThan(RECT{180, 30, 260, 56}, 0xFFFFFF));
  EXPECT_TRUE(MatchesGolden(canvas, "label_alignments"));
}

// Text effects through GDI+: a plain effect label, a drop shadow in two colours, an outline, a
// gradient fill and a glow, each at its alignment; real numbers below 0.0001 leave the glow
// radius as it was.
TEST(LabelPaint, TextEffects) {
  TestCanvas canvas(320, 50, 0xFFFFFF);
  LeafManager manager;
  manager.render.AddFont(0, L"Tahoma", 28, true);
  std::vector<std::unique_ptr<CLabelUI>> labels;
  auto add = [&](const std::wstring& attributes, int column) -> CLabelUI& {
    labels.push_back(std::make_unique<CLabelUI>());
    Attach(*labels.back(), manager, nullptr, RECT{column * 64, 0, column * 64 + 64, 50});
    labels.back()->SetAttributeList((L"font=\"0\" text=\"Ab\" enabledeffect=\"true\" "
                                     L"textcolor=\"#FF000000\" " + attributes).c_str());
    return *labels.back();
  };
  add(L"align=\"left\"", 0);
  add(L"enabledshadow=\"true\" shadowoffset=\"4,4\" textshadowcolora=\"#FFFF0000\" "
      L"textshadowcolorb=\"#FF0000FF\" align=\"center\"", 1);
  add(L"enabledstroke=\"true\" strokecolor=\"#FF00C000\" textcolor=\"#FFFFFF00\" "
      L"align=\"right\"", 2);
  add(L"textcolor1=\"#FF0000FF\" textcolor=\"#FFFF0000\" gradientangle=\"90\" "
      L"gradientlength=\"20\" valign=\"top\"", 3);
  CLabelUI& glow = add(L"enabledluminous=\"true\" luminousfuzzy=\"4\" textcolor=\"#FF0080FF\" "
                       L"luminousfuzzy=\"0.00001\" valign=\"bottom\"", 4);
  EXPECT_FLOAT_EQ(4.0f, glow.GetTextEffects().luminousFuzzy);
  EXPECT_TRUE(glow.GetTextEffects().luminous);
  for (auto& label : labels) label->Paint(canvas.dc(), canvas.rect(), nullptr);
  for (int column = 0; column < 5; ++column) {
    EXPECT_GT(canvas.CountOtherThan(RECT{column * 64, 0, column * 64 + 64, 50}, 0xFFFFFF), 20)
        << column;
  }
  // Shadow colours appear below and right of the text; the outline around the yellow fill.
  EXPECT_GT(canvas.CountOtherThan(RECT{64, 0, 128, 50}, 0xFFFFFF) -
                canvas.CountOtherThan(RECT{0, 0, 64, 50}, 0xFFFFFF), 0);
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
  RECT second = {};
  for (int x = 199; x >= 0 && second.right == 0; --x) {
    for (int y = 0; y < 40; ++y) {
      if (canvas.Pixel(x, y) != 0xFFFFFF) {
        second = RECT{x - 2, y, x - 1, y + 1};
        break;
      }
    }
  }
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
}  // namespace SkinUI
