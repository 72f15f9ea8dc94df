// VeskUpdateHelper: finishes an update of vesk.helm that the Chromium installer left pending
// because the application was running. It reads "pv", "opv" and "cmd" from the product key and
// runs "cmd" when an update is pending and "pv" is not older than "opv". Its only output is
// diagnostic lines sent to the debugger.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "common/seam.h"

namespace vesk {

// Exit codes of VeskUpdateHelper. Never renumber.
enum UpdateHelperExitCode : int {
  kUpdateHelperDone = 0,            // whether or not a command was run
  kUpdateHelperNoSoftwareKey = 1,   // HKEY_CURRENT_USER\Software cannot be opened
};

// The key opening; tests replace it because the current user can always open "Software" under
// Wine. (The value query goes through vesk::g_queryRegistryValue.)
extern Seam<decltype(&::RegOpenKeyExW)> g_updateHelperOpenKey;
// Where the diagnostic lines go; tests collect them, since a process cannot debug itself.
extern Seam<decltype(&::OutputDebugStringW)> g_updateHelperDebugOutput;

// The whole run; returns the process exit code.
[[nodiscard]] int RunPendingUpdate();

// True unless `pv` is smaller than `opv` at the first component (numbers between dots) where
// they differ; equal versions, a version that extends the other and an empty one answer true.
[[nodiscard]] bool IsPendingVersionNewer(const std::wstring& pv, const std::wstring& opv);

// One version component as a number: leading blanks and a sign are allowed and reading stops at
// the first non-digit. A component without digits reads as 0, and a number outside the 32-bit
// range as the nearest 32-bit limit.
[[nodiscard]] int ParseVersionComponent(std::wstring_view component);

// A text value of the product key, read into a 2,048-byte buffer and taken up to its first
// null. A missing value, or one that does not fit the buffer, reads as empty: a cut-off
// command is never run.
[[nodiscard]] std::wstring ReadPendingUpdateValue(HKEY productKey, const wchar_t* name);

}  // namespace vesk
