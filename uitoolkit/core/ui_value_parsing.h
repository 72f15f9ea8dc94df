// Readers for the value forms skins write: hexadecimal colours, decimal numbers and number lists
// such as "l,t,r,b". They never read past a text's terminator and never fail: what does not parse
// reads as 0.
#pragma once

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

// A colour written as hexadecimal ARGB digits (normally AARRGGBB) after an optional '#'.
// Reading stops at the first character that is not a hexadecimal digit, so fewer digits give a
// smaller value (an omitted alpha is alpha 0). More than eight significant digits saturate at
// FFFFFFFF. `end`, when given, receives the position where reading stopped.
DWORD ParseColor(const wchar_t* text, const wchar_t** end = nullptr);

// A decimal integer: leading whitespace, an optional sign, digits. Values beyond the 32-bit
// range saturate. Without digits the result is 0 and `end` is `text`.
LONG ParseDecimal(const wchar_t* text, const wchar_t** end = nullptr);

// A list of `count` decimal numbers in which the character after each number is skipped as the
// separator ("10,20,110,60"). Missing numbers read as 0; reading stops at the terminator.
void ParseDecimalList(const wchar_t* text, LONG* values, int count);

// "l,t,r,b" as a rectangle.
RECT ParseRectValue(const wchar_t* text);

// "cx,cy" as a size.
SIZE ParseSizeValue(const wchar_t* text);

}  // namespace SkinUI
