// Splits the toolkit's markup text into text runs and inline tags.
//
// A tag starts with '<' or '{', then one lower-case letter of the known tags (a b c f i n p r s
// u v x y), then a space, '>' or '}'; its parameter runs from after the space to the first '>'
// or '}'. The closing form is "</x>" or "{/x}". Anything else, including a tag that is never
// closed by '>' or '}', is text. Inside <r>...</r> tags are text.
#pragma once

#include "uitoolkit/core/ui_platform.h"

namespace SkinUI {

enum class HtmlTokenKind {
  Text,      // `text`/`length`: a run of plain text
  OpenTag,   // `tag`: the letter; `text`/`length`: the parameter (may be empty)
  CloseTag,  // `tag`: the letter
};

struct THtmlToken {
  HtmlTokenKind kind = HtmlTokenKind::Text;
  wchar_t tag = 0;
  const wchar_t* text = nullptr;
  int length = 0;
};

class CHtmlTextTokenizer {
 public:
  // `text` must stay valid while tokens are read; null reads as empty.
  explicit CHtmlTextTokenizer(const wchar_t* text);

  // The next token; false at the end of the text.
  bool Next(THtmlToken& token);

 private:
  // Recognises a tag at `position`; on success fills `token` and `end` (just past the tag).
  bool ReadTag(const wchar_t* position, THtmlToken& token, const wchar_t*& end);
  // The first '>' or '}' at or after `from` (the terminator when none). Queries never move
  // backwards, so the answer is remembered and the text is scanned once.
  const wchar_t* FindTagEnd(const wchar_t* from);
  static bool IsRawEnd(const wchar_t* position);

  const wchar_t* m_position;
  const wchar_t* m_tagEnd = nullptr;
  bool m_raw = false;
};

}  // namespace SkinUI
