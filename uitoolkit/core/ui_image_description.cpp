#include "uitoolkit/core/ui_image_description.h"

#include <cwchar>

#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {

const wchar_t kColorImageType[] = L"*COLOR*";

namespace {

bool IsWhitespace(wchar_t ch) { return ch > L'\0' && ch <= L' '; }

bool IsTrue(const CUiString& value) { return value == L"true"; }

// The constant alpha: decimal, limited to 0..255 (a larger number is fully opaque, not wrapped).
BYTE ParseFade(const wchar_t* text) {
  const LONG value = ParseDecimal(text);
  if (value < 0) return 0;
  if (value > 255) return 255;
  return static_cast<BYTE>(value);
}

void ApplyEntry(const CUiString& key, const CUiString& value, TImageDescription& result) {
  if (key == L"file" || key == L"res") {
    result.imageName = value;
  } else if (key == L"restype") {
    result.resourceType = value;
  } else if (key == L"color") {
    result.imageName = value;
    result.resourceType = kColorImageType;
  } else if (key == L"dest") {
    result.destination = ParseRectValue(value);
  } else if (key == L"source") {
    result.source = ParseRectValue(value);
  } else if (key == L"corner" || key == L"scale9") {
    result.corner = ParseRectValue(value);
  } else if (key == L"mask") {
    result.mask = ParseColor(value);
  } else if (key == L"fade") {
    result.fade = ParseFade(value);
  } else if (key == L"hole") {
    result.hole = IsTrue(value);
  } else if (key == L"xtiled") {
    result.xTiled = IsTrue(value);
  } else if (key == L"ytiled") {
    result.yTiled = IsTrue(value);
  } else if (key == L"hsl") {
    result.useHSL = IsTrue(value);
  }
}

}  // namespace

bool ParseImageDescription(const wchar_t* description, TImageDescription& result) {
  result = TImageDescription();
  if (description == nullptr || *description == L'\0') return false;
  result.imageName = description;

  const wchar_t* position = description;
  while (*position != L'\0') {
    // key: up to '=', whitespace or the end
    const wchar_t* keyStart = position;
    while (*position != L'\0' && *position != L'=' && !IsWhitespace(*position)) ++position;
    const CUiString key(keyStart, static_cast<int>(position - keyStart));
    while (IsWhitespace(*position)) ++position;
    if (*position != L'=') break;
    ++position;
    if (*position != L'\'') break;
    ++position;
    const wchar_t* valueStart = position;
    while (*position != L'\0' && *position != L'\'') ++position;
    if (*position != L'\'') break;  // the value is not closed
    const CUiString value(valueStart, static_cast<int>(position - valueStart));
    ++position;
    if (!value.IsEmpty()) ApplyEntry(key, value, result);
    if (*position != L' ') break;  // the end, or not exactly one space
    ++position;
  }
  return true;
}

}  // namespace SkinUI
