#include "uitoolkit/core/ui_multi_language.h"

#include <gtest/gtest.h>

namespace SkinUI {
namespace {

const wchar_t* LookUp(int id, void*) {
  switch (id) {
    case 3: return L"Install";
    case 12: return L"%{3}";
    case 0: return L"";
    default: return nullptr;
  }
}

struct TokenCase {
  const wchar_t* text;
  const wchar_t* expected;
};

// Registered numbers are replaced; everything else stays as written.
TEST(ReplaceMultiLanguageTokens, ReplacesRegisteredNumbers) {
  const TokenCase cases[] = {
      {L"%{3}", L"Install"},
      {L"[%{3}] now %{3}", L"[Install] now Install"},
      {L"%{4}", L"%{4}"},
      {L"%{0}x", L"x"},
      {L"%{12}", L"%{3}"},  // a replacement is not scanned again
      {L"%{}", L"%{}"},
      {L"%{3", L"%{3"},
      {L"%{3a}", L"%{3a}"},
      {L"%{-3}", L"%{-3}"},
      {L"%%{3}", L"%Install"},
      {L"%{99999999999999999999}", L"%{99999999999999999999}"},
      {L"%{0003}", L"Install"},
      {L"", L""},
      {L"%", L"%"},
      {L"%{", L"%{"},
      {L"plain text", L"plain text"},
  };
  for (const TokenCase& row : cases) {
    EXPECT_STREQ(row.expected, ReplaceMultiLanguageTokens(row.text, LookUp, nullptr).GetData())
        << row.text;
  }
}

// Without a lookup or text nothing is replaced.
TEST(ReplaceMultiLanguageTokens, NullInputs) {
  EXPECT_STREQ(L"%{3}", ReplaceMultiLanguageTokens(L"%{3}", nullptr, nullptr).GetData());
  EXPECT_STREQ(L"", ReplaceMultiLanguageTokens(nullptr, LookUp, nullptr).GetData());
}

// The context pointer reaches the lookup.
TEST(ReplaceMultiLanguageTokens, PassesTheContext) {
  int calls = 0;
  const MultiLanguageLookup counting = [](int, void* context) -> const wchar_t* {
    ++*static_cast<int*>(context);
    return L"v";
  };
  EXPECT_STREQ(L"v-v", ReplaceMultiLanguageTokens(L"%{1}-%{2}", counting, &calls).GetData());
  EXPECT_EQ(2, calls);
}

}  // namespace
}  // namespace SkinUI
