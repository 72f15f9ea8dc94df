#include "uitoolkit/controls/hosted/ui_rich_edit_format.h"

#include <textserv.h>

namespace SkinUI {

DWORD RichEditPropertyBits(const TRichEditOptions& options) {
  DWORD bits = TXTBIT_RICHTEXT;
  if (options.multiLine) bits |= TXTBIT_MULTILINE;
  if (options.readOnly) bits |= TXTBIT_READONLY;
  if (options.password) bits |= TXTBIT_USEPASSWORD;
  if (options.multiLine && options.wordWrap) bits |= TXTBIT_WORDWRAP;
  return bits;
}

DWORD RichEditScrollBars(const TRichEditOptions& options, bool verticalBar, bool horizontalBar) {
  DWORD style = 0;
  if (options.multiLine) {
    style |= ES_AUTOVSCROLL;
    if (verticalBar) style |= WS_VSCROLL;
  }
  if (!options.multiLine || !options.wordWrap) {
    style |= ES_AUTOHSCROLL;
    if (horizontalBar) style |= WS_HSCROLL;
  }
  return style;
}

CHARFORMAT2W RichEditCharFormat(const LOGFONTW& font, COLORREF color, int dpiY) {
  CHARFORMAT2W format = {};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_SIZE | CFM_OFFSET | CFM_FACE | CFM_CHARSET | CFM_COLOR | CFM_BOLD |
                  CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT;
  // A negative height is the character height, a positive one the cell height; both are
  // pixels, and a point is 20 twips of 1/72 inch.
  const LONG pixels = font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
  format.yHeight = dpiY > 0 ? MulDiv(pixels, 1440, dpiY) : pixels * 15;
  format.wWeight = static_cast<WORD>(font.lfWeight);
  if (font.lfWeight >= FW_BOLD) format.dwEffects |= CFE_BOLD;
  if (font.lfItalic) format.dwEffects |= CFE_ITALIC;
  if (font.lfUnderline) format.dwEffects |= CFE_UNDERLINE;
  if (font.lfStrikeOut) format.dwEffects |= CFE_STRIKEOUT;
  format.crTextColor = color;
  format.bCharSet = font.lfCharSet;
  format.bPitchAndFamily = font.lfPitchAndFamily;
  ::lstrcpynW(format.szFaceName, font.lfFaceName, LF_FACESIZE);
  return format;
}

LONG RichEditBarRange(LONG min, LONG max, LONG page) {
  if (page < 0) page = 0;
  const LONG content = max - min + 1;
  return content > page ? content - page : 0;
}

RECT RichEditCentredLine(const RECT& area, int lineHeight) {
  const LONG spare = (area.bottom - area.top) - lineHeight;
  if (lineHeight <= 0 || spare <= 0) return area;
  RECT line = area;
  line.top += spare / 2;
  line.bottom = line.top + lineHeight;
  return line;
}

}  // namespace SkinUI
