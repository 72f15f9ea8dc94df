// Readers for the control attribute values that the core's value parsing does not cover:
// booleans, background colours, border sizes, float anchors, tooltips and attribute lists. They
// never fail: what does not parse reads as false or 0.
#pragma once

#include <windows.h>

#include <cwchar>
#include <utility>
#include <vector>

#include "uitoolkit/controls/ui_event.h"
#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// Whether the attribute `name` is `expected`: attribute names are compared exactly.
inline bool NameIs(const wchar_t* name, const wchar_t* expected) {
  return name != nullptr && std::wcscmp(name, expected) == 0;
}

// Exactly "true" is true; everything else (including "TRUE") is false.
bool ParseBoolValue(const wchar_t* value);

// A background colour: leading whitespace skipped, then hexadecimal ARGB after an optional '#'.
DWORD ParseBackgroundColorValue(const wchar_t* value);

// "n" sets all four widths; with a comma, "l,t,r,b".
RECT ParseBorderSizeValue(const wchar_t* value);

// A list of `count` decimal fractions ("0.5,0,1,0.25"): optional whitespace and sign, digits,
// optionally '.' and more digits; the character after each number is skipped as the separator.
// Missing numbers read as 0; reading stops at the terminator.
void ParseFractionList(const wchar_t* value, double* values, int count);

// The `float` attribute: without a comma a boolean (`percent` untouched, false answered); with
// a comma four fractions into `percent` (true answered, and the control is float).
bool ParseFloatValue(const wchar_t* value, bool& isFloat, TPercentInfo& percent);

// The tooltip text with every "<n>" replaced by CR LF.
CUiString ExpandToolTipLineBreaks(const wchar_t* text);

typedef std::vector<std::pair<CUiString, CUiString>> TAttributePairs;

// An attribute list `name="value" name="value"`: a name runs up to '=', which must be followed
// by '"'; the value runs to the next '"'; exactly one space separates entries. Reading stops at
// the first deviation; the pairs read before it are in `pairs`. Answers whether the whole list
// was read.
bool ParseAttributeList(const wchar_t* list, TAttributePairs& pairs);

}  // namespace SkinUI
