// Multi-language tokens: "%{N}" (N decimal) in a text stands for the translated string
// registered under N.
#pragma once

#include "uitoolkit/core/ui_string.h"

namespace SkinUI {

// Answers the string registered under `id`, or null when there is none.
typedef const wchar_t* (*MultiLanguageLookup)(int id, void* context);

// The text with every "%{N}" whose number is registered replaced by its string. Tokens with an
// unregistered number, without digits, with anything but digits before '}', with a number beyond
// the int range, or without the closing '}' stay as written. Replacements are not scanned again.
CUiString ReplaceMultiLanguageTokens(const wchar_t* text, MultiLanguageLookup lookup,
                                     void* context);

}  // namespace SkinUI
