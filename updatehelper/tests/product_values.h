// Writes the product key values the update helper reads, for the unit and program tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "testsupport/test_support.h"

namespace vesk::testing {

// Writes "pv", "opv" and "cmd" under HKEY_CURRENT_USER\Software\Vesk.helm as REG_SZ with their
// terminating null; a missing optional leaves that value out.
inline void WriteProductValues(const std::optional<std::wstring>& pv,
                               const std::optional<std::wstring>& opv,
                               const std::optional<std::wstring>& cmd) {
  ASSERT_TRUE(CreateUserKey(L"Software\\Vesk.helm"));
  const std::pair<const wchar_t*, const std::optional<std::wstring>*> values[] = {
      {L"pv", &pv}, {L"opv", &opv}, {L"cmd", &cmd}};
  for (const auto& [name, value] : values) {
    if (!value->has_value()) continue;
    ASSERT_TRUE(WriteUserString(L"Software\\Vesk.helm", name, **value));
  }
}

}  // namespace vesk::testing
