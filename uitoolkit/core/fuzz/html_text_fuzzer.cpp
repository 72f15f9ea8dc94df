// Fuzz target: the markup-text tokenizer and the multi-language token replacement. The input is
// UTF-8 text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "uitoolkit/core/ui_html_text_tokens.h"
#include "uitoolkit/core/ui_multi_language.h"
#include "uitoolkit/core/ui_platform.h"

namespace {

volatile std::size_t g_sink;

const wchar_t* LookUp(int id, void*) {
  switch (id % 3) {
    case 0: return nullptr;
    case 1: return L"%{1}<b>x</b>";
    default: return L"";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace SkinUI;
  const char* bytes = reinterpret_cast<const char*>(data);
  const std::size_t length =
      Platform::MultiByteToWide(Platform::CodePage::Utf8, bytes, size, nullptr, 0);
  std::vector<wchar_t> text(length + 1, L'\0');
  Platform::MultiByteToWide(Platform::CodePage::Utf8, bytes, size, text.data(), length);

  const CUiString replaced = ReplaceMultiLanguageTokens(text.data(), &LookUp, nullptr);
  std::size_t total = static_cast<std::size_t>(replaced.GetLength());
  CHtmlTextTokenizer tokenizer(replaced.GetData());
  THtmlToken token;
  while (tokenizer.Next(token)) {
    // Every token lies inside the text.
    const wchar_t* start = replaced.GetData();
    const wchar_t* end = start + replaced.GetLength();
    if (token.text < start || token.text + token.length > end || token.length < 0) std::abort();
    for (int i = 0; i < token.length; ++i) total += static_cast<std::size_t>(token.text[i]);
    total += static_cast<std::size_t>(token.kind) + token.tag;
  }
  g_sink = total;
  return 0;
}
