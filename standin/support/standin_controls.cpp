#include "standin/support/standin_controls.h"

#include <windows.h>

namespace vesk::standin {

std::wstring ReadControl(const wchar_t* name) {
  const DWORD capacity = 32767;  // the largest environment variable
  std::wstring value(capacity, L'\0');
  DWORD length = GetEnvironmentVariableW(name, &value[0], capacity);
  if (length == 0 || length >= capacity) return std::wstring();
  value.resize(length);
  return value;
}

std::optional<unsigned long> ParseWholeNumber(const std::wstring& text) {
  size_t position = 0;
  bool negative = false;
  if (position < text.size() && (text[position] == L'-' || text[position] == L'+')) {
    negative = text[position] == L'-';
    ++position;
  }
  if (position == text.size()) return std::nullopt;
  long long value = 0;
  for (; position < text.size(); ++position) {
    wchar_t c = text[position];
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
    if (value > 0xFFFFFFFFLL) return std::nullopt;
  }
  if (negative) {
    if (value > 2147483648LL) return std::nullopt;
    value = 0x100000000LL - value;
  }
  return static_cast<unsigned long>(value & 0xFFFFFFFFLL);
}

std::optional<unsigned long> ReadNumberControl(const wchar_t* name) {
  std::wstring text = ReadControl(name);
  if (text.empty()) return std::nullopt;
  return ParseWholeNumber(text);
}

bool IsDottedVersion(const std::wstring& text) {
  if (text.empty()) return false;
  bool digitBefore = false;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      digitBefore = true;
    } else if (c == L'.' && digitBefore) {
      digitBefore = false;
    } else {
      return false;
    }
  }
  return digitBefore;
}

}  // namespace vesk::standin
