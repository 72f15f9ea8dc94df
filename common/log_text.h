// Conversion of log text to the 8-bit bytes the log files hold.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

// Every character the log files cannot hold (anything above U+00FF) is written as this byte,
// one per character (a surrogate pair counts as one), so a line is never lost or cut short.
constexpr char kLogReplacementByte = '?';

// Appends `text` to `out` as log-file bytes: U+0000..U+00FF become the byte of the same value,
// other characters the replacement byte, and a line feed becomes CR LF (text-mode writing).
inline void AppendLogBytes(std::string& out, std::wstring_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c == L'\n') {
      out += "\r\n";
    } else if (static_cast<unsigned>(c) <= 0xFF) {
      out += static_cast<char>(static_cast<unsigned char>(c));
    } else {
      bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                  text[i + 1] <= 0xDFFF;
      if (pair) ++i;
      out += kLogReplacementByte;
    }
  }
}

}  // namespace vesk
