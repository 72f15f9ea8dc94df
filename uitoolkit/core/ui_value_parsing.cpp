#include "uitoolkit/core/ui_value_parsing.h"

#include <cstdint>

namespace SkinUI {
namespace {

int HexDigitValue(wchar_t ch) {
  if (ch >= L'0' && ch <= L'9') return ch - L'0';
  if (ch >= L'a' && ch <= L'f') return ch - L'a' + 10;
  if (ch >= L'A' && ch <= L'F') return ch - L'A' + 10;
  return -1;
}

bool IsSpace(wchar_t ch) { return ch == L' ' || (ch >= L'\t' && ch <= L'\r'); }

}  // namespace

DWORD ParseColor(const wchar_t* text, const wchar_t** end) {
  if (text == nullptr) {
    if (end != nullptr) *end = text;
    return 0;
  }
  const wchar_t* position = text;
  if (*position == L'#') ++position;
  std::uint64_t value = 0;
  for (int digit = HexDigitValue(*position); digit >= 0; digit = HexDigitValue(*++position)) {
    value = value * 16 + static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFu) value = 0x100000000u;  // saturated; stays above the range
  }
  if (end != nullptr) *end = position;
  return value > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(value);
}

LONG ParseDecimal(const wchar_t* text, const wchar_t** end) {
  if (end != nullptr) *end = text;
  if (text == nullptr) return 0;
  const wchar_t* position = text;
  while (IsSpace(*position)) ++position;
  bool negative = false;
  if (*position == L'+' || *position == L'-') {
    negative = *position == L'-';
    ++position;
  }
  if (*position < L'0' || *position > L'9') return 0;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  while (*position >= L'0' && *position <= L'9') {
    value = value * 10 + (*position - L'0');
    if (value > limit) value = limit;
    ++position;
  }
  if (end != nullptr) *end = position;
  return static_cast<LONG>(negative ? -value : value);
}

void ParseDecimalList(const wchar_t* text, LONG* values, int count) {
  const wchar_t* position = text;
  for (int i = 0; i < count; ++i) {
    if (position == nullptr || *position == L'\0') {
      values[i] = 0;
      continue;
    }
    values[i] = ParseDecimal(position, &position);
    if (*position != L'\0') ++position;  // the separator
  }
}

RECT ParseRectValue(const wchar_t* text) {
  LONG values[4];
  ParseDecimalList(text, values, 4);
  RECT rect;
  rect.left = values[0];
  rect.top = values[1];
  rect.right = values[2];
  rect.bottom = values[3];
  return rect;
}

SIZE ParseSizeValue(const wchar_t* text) {
  LONG values[2];
  ParseDecimalList(text, values, 2);
  SIZE size;
  size.cx = values[0];
  size.cy = values[1];
  return size;
}

}  // namespace SkinUI
