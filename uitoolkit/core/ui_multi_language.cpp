#include "uitoolkit/core/ui_multi_language.h"

#include <string>

namespace SkinUI {

CUiString ReplaceMultiLanguageTokens(const wchar_t* text, MultiLanguageLookup lookup,
                                     void* context) {
  if (text == nullptr) return CUiString();
  std::wstring result;
  const wchar_t* position = text;
  while (*position != L'\0') {
    if (position[0] != L'%' || position[1] != L'{') {
      result += *position++;
      continue;
    }
    const wchar_t* digits = position + 2;
    const wchar_t* end = digits;
    long long id = 0;
    while (*end >= L'0' && *end <= L'9') {
      if (id <= 2147483647LL) id = id * 10 + (*end - L'0');
      ++end;
    }
    const wchar_t* replacement = nullptr;
    if (end != digits && *end == L'}' && id <= 2147483647LL && lookup != nullptr) {
      replacement = lookup(static_cast<int>(id), context);
    }
    if (replacement == nullptr) {
      result += *position++;  // the '%' stays; scanning goes on after it
      continue;
    }
    result += replacement;
    position = end + 1;
  }
  return CUiString(result.c_str(), static_cast<int>(result.size()));
}

}  // namespace SkinUI
