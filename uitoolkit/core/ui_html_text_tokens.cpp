#include "uitoolkit/core/ui_html_text_tokens.h"

#include <cwchar>

namespace SkinUI {
namespace {

bool IsKnownTag(wchar_t ch) { return ch != L'\0' && std::wcschr(L"abcfinprsuvxy", ch) != nullptr; }

bool IsTagStart(wchar_t ch) { return ch == L'<' || ch == L'{'; }

bool IsTagEnd(wchar_t ch) { return ch == L'>' || ch == L'}'; }

}  // namespace

CHtmlTextTokenizer::CHtmlTextTokenizer(const wchar_t* text)
    : m_position(text != nullptr ? text : L"") {}

bool CHtmlTextTokenizer::IsRawEnd(const wchar_t* position) {
  return IsTagStart(position[0]) && position[1] == L'/' && position[2] == L'r' &&
         IsTagEnd(position[3]);
}

const wchar_t* CHtmlTextTokenizer::FindTagEnd(const wchar_t* from) {
  if (m_tagEnd != nullptr && from <= m_tagEnd) return m_tagEnd;
  const wchar_t* position = from;
  while (*position != L'\0' && !IsTagEnd(*position)) ++position;
  m_tagEnd = position;
  return position;
}

bool CHtmlTextTokenizer::ReadTag(const wchar_t* position, THtmlToken& token,
                                 const wchar_t*& end) {
  if (!IsTagStart(position[0])) return false;
  if (position[1] == L'/') {
    if (!IsKnownTag(position[2]) || !IsTagEnd(position[3])) return false;
    token.kind = HtmlTokenKind::CloseTag;
    token.tag = position[2];
    token.text = position + 3;
    token.length = 0;
    end = position + 4;
    return true;
  }
  if (!IsKnownTag(position[1])) return false;
  const wchar_t after = position[2];
  if (IsTagEnd(after)) {
    token.kind = HtmlTokenKind::OpenTag;
    token.tag = position[1];
    token.text = position + 2;
    token.length = 0;
    end = position + 3;
    return true;
  }
  if (after != L' ') return false;
  const wchar_t* parameter = position + 3;
  const wchar_t* close = FindTagEnd(parameter);
  if (*close == L'\0') return false;
  token.kind = HtmlTokenKind::OpenTag;
  token.tag = position[1];
  token.text = parameter;
  token.length = static_cast<int>(close - parameter);
  end = close + 1;
  return true;
}

bool CHtmlTextTokenizer::Next(THtmlToken& token) {
  if (*m_position == L'\0') return false;
  const wchar_t* start = m_position;
  if (m_raw) {
    if (IsRawEnd(m_position)) {
      m_raw = false;
      token.kind = HtmlTokenKind::CloseTag;
      token.tag = L'r';
      token.text = m_position + 3;
      token.length = 0;
      m_position += 4;
      return true;
    }
    while (*m_position != L'\0' && !IsRawEnd(m_position)) ++m_position;
  } else {
    const wchar_t* end = nullptr;
    if (ReadTag(m_position, token, end)) {
      m_position = end;
      if (token.kind == HtmlTokenKind::OpenTag && token.tag == L'r') m_raw = true;
      return true;
    }
    ++m_position;  // the first character is text even when it looked like a tag start
    THtmlToken ignored;
    while (*m_position != L'\0' && !ReadTag(m_position, ignored, end)) ++m_position;
  }
  token.kind = HtmlTokenKind::Text;
  token.tag = 0;
  token.text = start;
  token.length = static_cast<int>(m_position - start);
  return true;
}

}  // namespace SkinUI
