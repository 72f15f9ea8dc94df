// Where to install, and whether a location is usable.
#pragma once

#include <windows.h>

#include <string>

#include "common/seam.h"
#include "setup/engine/windows_version.h"

namespace vesk {

// "VeskInstallPath" of the product key; empty when the key or value is missing or the value does
// not fit a path (259 characters).
[[nodiscard]] std::wstring GetInstallPathFromRegistry();

// "<local application data>\vesk.helm\Application", or empty when that folder is unknown.
[[nodiscard]] std::wstring GetDefaultInstallPath();

// True when setup can create and remove folders at `folder`: the folder itself when it does not
// exist yet (its new parents stay), otherwise a probe folder "checkDir_<tick>" inside it.
[[nodiscard]] bool HasInstallPermission(const std::wstring& folder);

// The limit of free space below which a location is rejected: 1 GiB.
constexpr unsigned long long kRequiredFreeBytes = 1024ull * 1024 * 1024;

// True when the space available to the user on the folder's drive is below 1 GiB, that is, when
// the location must be rejected. False when the space cannot be measured.
[[nodiscard]] bool checkDiskSpace(const std::wstring& folder);

// The free-space query; tests replace it to produce exact free-space figures.
extern Seam<decltype(&::GetDiskFreeSpaceExW)> g_getDiskFreeSpace;

}  // namespace vesk
