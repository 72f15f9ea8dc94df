// CUiString: the toolkit's wide-text value (UTF-16 code units).
#pragma once

#include <cstdarg>
#include <string>

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

class CUiString {
 public:
  CUiString() = default;
  // `length` < 0 takes the text up to its terminator; a null text is empty.
  CUiString(const wchar_t* text, int length = -1);  // NOLINT(google-explicit-constructor)
  explicit CUiString(wchar_t ch);
  CUiString(const CUiString&) = default;
  CUiString(CUiString&&) noexcept = default;
  CUiString& operator=(const CUiString&) = default;
  CUiString& operator=(CUiString&&) noexcept = default;
  CUiString& operator=(const wchar_t* text);
  CUiString& operator=(wchar_t ch);

  void Empty() { m_text.clear(); }
  int GetLength() const { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const { return m_text.empty(); }
  // The text, always terminated; valid until the string changes.
  const wchar_t* GetData() const { return m_text.c_str(); }
  operator const wchar_t*() const { return m_text.c_str(); }  // NOLINT(google-explicit-constructor)

  // The character at `index`; 0 outside the text.
  wchar_t GetAt(int index) const;
  wchar_t operator[](int index) const { return GetAt(index); }
  // Replaces the character at `index`; false (and no change) outside the text.
  bool SetAt(int index, wchar_t ch);

  void Assign(const wchar_t* text, int length = -1);
  void Append(const wchar_t* text);
  CUiString& operator+=(const CUiString& text);
  CUiString& operator+=(const wchar_t* text);
  CUiString& operator+=(wchar_t ch);
  CUiString operator+(const CUiString& text) const;
  CUiString operator+(const wchar_t* text) const;
  CUiString operator+(wchar_t ch) const;

  // Ordinal comparison of code units: <0, 0 or >0. A null text compares as empty.
  int Compare(const wchar_t* text) const;
  // The same after mapping both sides to upper case one code unit at a time.
  int CompareNoCase(const wchar_t* text) const;
  bool operator==(const wchar_t* text) const { return Compare(text) == 0; }
  bool operator!=(const wchar_t* text) const { return Compare(text) != 0; }
  bool operator<(const wchar_t* text) const { return Compare(text) < 0; }
  bool operator<=(const wchar_t* text) const { return Compare(text) <= 0; }
  bool operator>(const wchar_t* text) const { return Compare(text) > 0; }
  bool operator>=(const wchar_t* text) const { return Compare(text) >= 0; }

  void MakeUpper();
  void MakeLower();

  // Substrings; counts and positions are clamped to the text.
  CUiString Left(int count) const;
  CUiString Mid(int start, int count = -1) const;
  CUiString Right(int count) const;

  // Position of the first occurrence at or after `start`, or -1.
  int Find(wchar_t ch, int start = 0) const;
  int Find(const wchar_t* text, int start = 0) const;
  // Position of the last occurrence, or -1.
  int ReverseFind(wchar_t ch) const;
  // Replaces every occurrence of `from` (not empty) by `to`, left to right without rescanning the
  // inserted text; returns the number of replacements.
  int Replace(const wchar_t* from, const wchar_t* to);

  // printf-style formatting (%s and %c take wide text); returns the new length, or -1 for a bad
  // format (the string is then empty).
  int Format(const wchar_t* format, ...);
  int FormatV(const wchar_t* format, std::va_list args);

 private:
  std::wstring m_text;
};

inline CUiString operator+(const wchar_t* left, const CUiString& right) {
  CUiString result(left);
  result += right;
  return result;
}

}  // namespace SkinUI
