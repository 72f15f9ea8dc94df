// The rich edit's arithmetic: property bits and scroll style from the settings, the character
// format from a font, the bar's range from the text's scroll range, and who keeps Enter.
#include <gtest/gtest.h>

#include <windows.h>

#include <richedit.h>
#include <textserv.h>

#include "uitoolkit/controls/hosted/ui_rich_edit_format.h"

namespace SkinUI {
namespace {

// Each setting turns on its own bit; word wrap and vertical scrolling need several lines; a
// line that does not wrap scrolls sideways; Enter is kept only on editable wanting lines.
TEST(RichEditFormat, SettingsGiveBitsStyleAndEnter) {
  struct Row {
    TRichEditOptions options;
    bool verticalBar, horizontalBar;
    DWORD bits;
    DWORD scroll;
    bool keepsEnter;
  } const rows[] = {
      {{}, true, false, TXTBIT_RICHTEXT, ES_AUTOHSCROLL, false},
      {{true}, false, true, TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_WORDWRAP, ES_AUTOVSCROLL,
       false},
      {{true, false, false, false, true}, true, true, TXTBIT_RICHTEXT | TXTBIT_MULTILINE,
       ES_AUTOVSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | WS_HSCROLL, true},
      {{true, true, false, true, true}, true, false,
       TXTBIT_RICHTEXT | TXTBIT_MULTILINE | TXTBIT_READONLY | TXTBIT_WORDWRAP,
       ES_AUTOVSCROLL | WS_VSCROLL, false},
      {{false, false, true, true, true, true}, false, true, TXTBIT_RICHTEXT | TXTBIT_USEPASSWORD,
       ES_AUTOHSCROLL | WS_HSCROLL, false},
  };
  int index = 0;
  for (const Row& row : rows) {
    EXPECT_EQ(row.bits, RichEditPropertyBits(row.options)) << index;
    EXPECT_EQ(row.scroll, RichEditScrollBars(row.options, row.verticalBar, row.horizontalBar))
        << index;
    EXPECT_EQ(row.keepsEnter, RichEditKeepsEnter(row.options)) << index;
    ++index;
  }
}

// The bar's range is what the content exceeds the page by, never negative.
TEST(RichEditFormat, BarRangeFromTextScrollRange) {
  struct Row {
    LONG min, max, page, range;
  } const rows[] = {{0, 99, 100, 0}, {0, 299, 100, 200}, {0, 10, 100, 0}, {5, 104, 50, 50},
                    {0, 0, -3, 1}};
  for (const Row& row : rows) {
    EXPECT_EQ(row.range, RichEditBarRange(row.min, row.max, row.page)) << row.max;
  }
}

// A line is centred upright in the area; a line that does not fit takes the whole area.
TEST(RichEditFormat, SingleLineCentred) {
  struct Row {
    RECT area;
    int lineHeight;
    LONG top, bottom;
  } const rows[] = {{{0, 10, 50, 36}, 16, 15, 31}, {{0, 10, 50, 37}, 16, 15, 31},
                    {{0, 10, 50, 20}, 16, 10, 20}, {{0, 10, 50, 36}, 0, 10, 36}};
  for (const Row& row : rows) {
    const RECT line = RichEditCentredLine(row.area, row.lineHeight);
    EXPECT_EQ(row.top, line.top) << row.area.bottom;
    EXPECT_EQ(row.bottom, line.bottom) << row.area.bottom;
    EXPECT_EQ(row.area.left, line.left);
  }
}

// A font's pixel height becomes twips at the device's resolution, its weight and effects the
// format's, its face and charset are kept; the colour is given as is.
TEST(RichEditFormat, CharFormatFromFont) {
  LOGFONTW font = {};
  font.lfHeight = -16;
  font.lfWeight = FW_BOLD;
  font.lfItalic = TRUE;
  font.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(font.lfFaceName, L"Tahoma");
  CHARFORMAT2W format = RichEditCharFormat(font, RGB(1, 2, 3), 96);
  EXPECT_EQ(240, format.yHeight);  // 16 px = 12 pt at 96 dpi
  EXPECT_EQ(static_cast<DWORD>(CFE_BOLD | CFE_ITALIC), format.dwEffects);
  EXPECT_EQ(RGB(1, 2, 3), format.crTextColor);
  EXPECT_STREQ(L"Tahoma", format.szFaceName);
  font.lfHeight = 20;
  font.lfWeight = FW_NORMAL;
  font.lfItalic = FALSE;
  font.lfUnderline = TRUE;
  format = RichEditCharFormat(font, 0, 144);
  EXPECT_EQ(200, format.yHeight);
  EXPECT_EQ(static_cast<DWORD>(CFE_UNDERLINE), format.dwEffects);
}

}  // namespace
}  // namespace SkinUI
