// The rich edit's arithmetic as small pure functions: the text services' property bits and
// scroll bar style from the control's settings, the character format from a font and colour,
// the toolkit bar's range from the text services' scroll range, and what Enter and Tab do.
#pragma once

#include <windows.h>

#include <richedit.h>

namespace SkinUI {

// What the skin says about the editor.
struct TRichEditOptions {
  bool multiLine = false;
  bool readOnly = false;
  bool password = false;
  bool wordWrap = true;
  bool wantReturn = false;
  bool wantTab = false;
};

// The TXTBIT_* property bits of `options` (rich text always; word wrap only on several lines).
DWORD RichEditPropertyBits(const TRichEditOptions& options);

// The WS_*/ES_* scroll style: automatic vertical scrolling on several lines, with the
// `verticalBar` when there is one; automatic horizontal scrolling where lines do not wrap, with
// the `horizontalBar` when there is one.
DWORD RichEditScrollBars(const TRichEditOptions& options, bool verticalBar, bool horizontalBar);

// The character format of `font` in `color` (0x00BBGGRR) on a device of `dpiY` dots per inch:
// face, height in twips, weight, italic, underline, strike-out and charset.
CHARFORMAT2W RichEditCharFormat(const LOGFONTW& font, COLORREF color, int dpiY);

// The toolkit bar's range (its largest position) for a text scroll range `min`..`max`
// (inclusive) seen through a page of `page` pixels; 0 when everything fits.
LONG RichEditBarRange(LONG min, LONG max, LONG page);

// The area of a single line of `lineHeight` pixels centred upright in `area` (the whole area
// when the line does not fit).
RECT RichEditCentredLine(const RECT& area, int lineHeight);

// Enter inserts a line break only on several lines with "wantreturn"; otherwise it is the
// window's (the default button's, else the control's "return").
inline bool RichEditKeepsEnter(const TRichEditOptions& options) {
  return options.multiLine && options.wantReturn && !options.readOnly;
}

}  // namespace SkinUI
