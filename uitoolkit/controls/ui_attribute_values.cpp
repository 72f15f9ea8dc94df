#include "uitoolkit/controls/ui_attribute_values.h"

#include <cwchar>

#include "uitoolkit/core/ui_value_parsing.h"

namespace SkinUI {
namespace {

bool IsSpace(wchar_t ch) { return ch == L' ' || ch == L'\t' || ch == L'\r' || ch == L'\n'; }
bool IsDigit(wchar_t ch) { return ch >= L'0' && ch <= L'9'; }

// One decimal fraction at `text`; `end` receives where reading stopped.
double ParseFraction(const wchar_t* text, const wchar_t** end) {
  const wchar_t* p = text;
  while (IsSpace(*p)) ++p;
  double sign = 1;
  if (*p == L'-' || *p == L'+') {
    if (*p == L'-') sign = -1;
    ++p;
  }
  const wchar_t* digitsStart = p;
  double value = 0;
  while (IsDigit(*p)) value = value * 10 + (*p++ - L'0');
  if (*p == L'.') {
    const wchar_t* afterPoint = p + 1;
    double scale = 0.1;
    while (IsDigit(*afterPoint)) {
      value += (*afterPoint++ - L'0') * scale;
      scale /= 10;
    }
    if (afterPoint - digitsStart > 1) p = afterPoint;
  }
  if (p == digitsStart) {
    *end = text;
    return 0;
  }
  *end = p;
  return sign * value;
}

}  // namespace

bool ParseBoolValue(const wchar_t* value) {
  return value != nullptr && std::wcscmp(value, L"true") == 0;
}

DWORD ParseBackgroundColorValue(const wchar_t* value) {
  if (value == nullptr) return 0;
  while (IsSpace(*value)) ++value;
  return ParseColor(value);
}

RECT ParseBorderSizeValue(const wchar_t* value) {
  if (value == nullptr) return RECT{0, 0, 0, 0};
  if (std::wcschr(value, L',') != nullptr) return ParseRectValue(value);
  const LONG width = ParseDecimal(value);
  return RECT{width, width, width, width};
}

void ParseFractionList(const wchar_t* value, double* values, int count) {
  const wchar_t* p = value != nullptr ? value : L"";
  for (int i = 0; i < count; ++i) {
    const wchar_t* end = p;
    values[i] = ParseFraction(p, &end);
    p = end;
    if (*p != L'\0') ++p;
  }
}

bool ParseFloatValue(const wchar_t* value, bool& isFloat, TPercentInfo& percent) {
  if (value == nullptr || std::wcschr(value, L',') == nullptr) {
    isFloat = ParseBoolValue(value);
    return false;
  }
  double fractions[4];
  ParseFractionList(value, fractions, 4);
  percent = TPercentInfo{fractions[0], fractions[1], fractions[2], fractions[3]};
  isFloat = true;
  return true;
}

CUiString ExpandToolTipLineBreaks(const wchar_t* text) {
  CUiString expanded(text);
  expanded.Replace(L"<n>", L"\r\n");
  return expanded;
}

bool ParseAttributeList(const wchar_t* list, TAttributePairs& pairs) {
  if (list == nullptr) return true;
  const wchar_t* p = list;
  while (*p != L'\0') {
    const wchar_t* nameStart = p;
    while (*p != L'\0' && *p != L'=') ++p;
    if (*p != L'=' || p == nameStart || IsSpace(*nameStart)) return false;
    CUiString name(nameStart, static_cast<int>(p - nameStart));
    ++p;
    if (*p != L'"') return false;
    const wchar_t* valueStart = ++p;
    while (*p != L'\0' && *p != L'"') ++p;
    if (*p != L'"') return false;
    pairs.emplace_back(name, CUiString(valueStart, static_cast<int>(p - valueStart)));
    ++p;
    if (*p == L'\0') break;
    if (*p != L' ') return false;
    ++p;
    if (*p == L'\0') return false;
  }
  return true;
}

}  // namespace SkinUI
