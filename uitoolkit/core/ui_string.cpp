#include "uitoolkit/core/ui_string.h"

#include <cwchar>
#include <vector>

namespace SkinUI {
namespace {

std::size_t TextLength(const wchar_t* text) { return text == nullptr ? 0 : std::wcslen(text); }

int Sign(long long difference) { return difference < 0 ? -1 : (difference > 0 ? 1 : 0); }

}  // namespace

CUiString::CUiString(const wchar_t* text, int length) { Assign(text, length); }

CUiString::CUiString(wchar_t ch) : m_text(1, ch) {}

CUiString& CUiString::operator=(const wchar_t* text) {
  Assign(text);
  return *this;
}

CUiString& CUiString::operator=(wchar_t ch) {
  m_text.assign(1, ch);
  return *this;
}

wchar_t CUiString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) return L'\0';
  return m_text[static_cast<std::size_t>(index)];
}

bool CUiString::SetAt(int index, wchar_t ch) {
  if (index < 0 || index >= GetLength()) return false;
  m_text[static_cast<std::size_t>(index)] = ch;
  return true;
}

void CUiString::Assign(const wchar_t* text, int length) {
  if (text == nullptr) {
    m_text.clear();
    return;
  }
  std::size_t count = TextLength(text);
  if (length >= 0 && static_cast<std::size_t>(length) < count) count = static_cast<std::size_t>(length);
  // `text` may point into this string: build the new value before replacing the old one.
  std::wstring value(text, count);
  m_text.swap(value);
}

void CUiString::Append(const wchar_t* text) {
  if (text != nullptr) m_text.append(text, TextLength(text));
}

CUiString& CUiString::operator+=(const CUiString& text) {
  m_text += text.m_text;
  return *this;
}

CUiString& CUiString::operator+=(const wchar_t* text) {
  Append(text);
  return *this;
}

CUiString& CUiString::operator+=(wchar_t ch) {
  m_text += ch;
  return *this;
}

CUiString CUiString::operator+(const CUiString& text) const {
  CUiString result(*this);
  result += text;
  return result;
}

CUiString CUiString::operator+(const wchar_t* text) const {
  CUiString result(*this);
  result += text;
  return result;
}

CUiString CUiString::operator+(wchar_t ch) const {
  CUiString result(*this);
  result += ch;
  return result;
}

int CUiString::Compare(const wchar_t* text) const {
  const wchar_t* other = text == nullptr ? L"" : text;
  const wchar_t* mine = m_text.c_str();
  std::size_t i = 0;
  for (; mine[i] != L'\0' && mine[i] == other[i]; ++i) {
  }
  return Sign(static_cast<long long>(static_cast<std::uint32_t>(mine[i])) -
              static_cast<long long>(static_cast<std::uint32_t>(other[i])));
}

int CUiString::CompareNoCase(const wchar_t* text) const {
  const wchar_t* other = text == nullptr ? L"" : text;
  const wchar_t* mine = m_text.c_str();
  for (std::size_t i = 0;; ++i) {
    const wchar_t a = Platform::ToUpper(mine[i]);
    const wchar_t b = Platform::ToUpper(other[i]);
    if (a != b || a == L'\0') {
      return Sign(static_cast<long long>(static_cast<std::uint32_t>(a)) -
                  static_cast<long long>(static_cast<std::uint32_t>(b)));
    }
  }
}

void CUiString::MakeUpper() {
  for (wchar_t& ch : m_text) ch = Platform::ToUpper(ch);
}

void CUiString::MakeLower() {
  for (wchar_t& ch : m_text) ch = Platform::ToLower(ch);
}

CUiString CUiString::Left(int count) const { return count <= 0 ? CUiString() : Mid(0, count); }

CUiString CUiString::Mid(int start, int count) const {
  const int length = GetLength();
  if (start < 0) start = 0;
  if (start >= length) return CUiString();
  int available = length - start;
  if (count < 0 || count > available) count = available;
  return CUiString(m_text.c_str() + start, count);
}

CUiString CUiString::Right(int count) const {
  const int length = GetLength();
  if (count <= 0) return CUiString();
  if (count > length) count = length;
  return CUiString(m_text.c_str() + (length - count), count);
}

int CUiString::Find(wchar_t ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  const std::size_t at = m_text.find(ch, static_cast<std::size_t>(start));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CUiString::Find(const wchar_t* text, int start) const {
  if (text == nullptr || start < 0 || start > GetLength()) return -1;
  const std::size_t at = m_text.find(text, static_cast<std::size_t>(start));
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CUiString::ReverseFind(wchar_t ch) const {
  const std::size_t at = m_text.rfind(ch);
  return at == std::wstring::npos ? -1 : static_cast<int>(at);
}

int CUiString::Replace(const wchar_t* from, const wchar_t* to) {
  const std::size_t fromLength = TextLength(from);
  if (fromLength == 0) return 0;
  const std::wstring replacement = to == nullptr ? std::wstring() : std::wstring(to);
  std::wstring result;
  int count = 0;
  std::size_t position = 0;
  for (;;) {
    const std::size_t at = m_text.find(from, position, fromLength);
    if (at == std::wstring::npos) break;
    result.append(m_text, position, at - position);
    result += replacement;
    position = at + fromLength;
    ++count;
  }
  if (count == 0) return 0;
  result.append(m_text, position, std::wstring::npos);
  m_text.swap(result);
  return count;
}

int CUiString::Format(const wchar_t* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int length = FormatV(format, args);
  va_end(args);
  return length;
}

int CUiString::FormatV(const wchar_t* format, std::va_list args) {
  std::va_list measure;
  va_copy(measure, args);
  const int length = Platform::FormatV(nullptr, 0, format, measure);
  va_end(measure);
  if (length < 0) {
    m_text.clear();
    return -1;
  }
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  Platform::FormatV(buffer.data(), buffer.size(), format, args);
  m_text.assign(buffer.data(), static_cast<std::size_t>(length));
  return length;
}

}  // namespace SkinUI
