// The product key under HKEY_CURRENT_USER: the meeting point of setup, the Chromium installer,
// the uninstaller and the update helper.
#pragma once

namespace vesk {

constexpr wchar_t kProductKey[] = L"SOFTWARE\\Vesk.helm";
constexpr wchar_t kLogPathValue[] = L"VeskInstallLogPath";
constexpr wchar_t kInstallPathValue[] = L"VeskInstallPath";
constexpr wchar_t kUninstallStringValue[] = L"UninstallString";
constexpr wchar_t kInstallAutoLaunchValue[] = L"InstallAutoLaunch";
constexpr wchar_t kVersionValue[] = L"version";

}  // namespace vesk
