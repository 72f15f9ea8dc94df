// The product key under HKEY_CURRENT_USER: the meeting point of setup, the Chromium installer,
// the uninstaller and the update helper.
#pragma once

namespace vesk {

constexpr wchar_t kProductKey[] = L"SOFTWARE\\Vesk.helm";
constexpr wchar_t kLogPathValue[] = L"VeskInstallLogPath";

}  // namespace vesk
