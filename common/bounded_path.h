// Paths of the kit are limited to the classic 260-character buffer (terminating null included).
// A path that does not fit is refused as a whole: it is never cut into another, shorter path.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vesk {

constexpr size_t kPathBufferChars = MAX_PATH;

[[nodiscard]] inline bool FitsPathBuffer(std::wstring_view path) { return path.size() < kPathBufferChars; }

// Concatenates the parts; empty when the result would not fit the 260-character buffer.
[[nodiscard]] inline std::optional<std::wstring> BuildPath(std::initializer_list<std::wstring_view> parts) {
  std::wstring path;
  for (std::wstring_view part : parts) path.append(part);
  if (!FitsPathBuffer(path)) return std::nullopt;
  return path;
}

// "<folder>\<name>", or empty when that does not fit.
[[nodiscard]] inline std::optional<std::wstring> JoinPath(std::wstring_view folder, std::wstring_view name) {
  return BuildPath({folder, L"\\", name});
}

}  // namespace vesk
