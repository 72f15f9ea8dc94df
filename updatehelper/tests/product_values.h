// Writes the product key values the update helper reads, for the unit and program tests.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "common/unique_handle.h"

namespace vesk::testing {

// Writes "pv", "opv" and "cmd" under HKEY_CURRENT_USER\Software\Vesk.helm as REG_SZ with their
// terminating null; a missing optional leaves that value out.
inline void WriteProductValues(const std::optional<std::wstring>& pv,
                               const std::optional<std::wstring>& opv,
                               const std::optional<std::wstring>& cmd) {
  UniqueRegKey key;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Vesk.helm", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, key.put(), nullptr),
            ERROR_SUCCESS);
  const std::pair<const wchar_t*, const std::optional<std::wstring>*> values[] = {
      {L"pv", &pv}, {L"opv", &opv}, {L"cmd", &cmd}};
  for (const auto& [name, value] : values) {
    if (!value->has_value()) continue;
    const std::wstring& text = **value;
    ASSERT_EQ(RegSetValueExW(key.get(), name, 0, REG_SZ,
                             reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
}

}  // namespace vesk::testing
