// The uninstaller's registry reads, its removal decision and the keys it deletes (all under
// HKEY_CURRENT_USER).
#pragma once

#include <windows.h>

#include <string>

namespace vesk::uninstall {

constexpr wchar_t kProductKey[] = L"SOFTWARE\\Vesk.helm";
constexpr wchar_t kInstallPathValue[] = L"VeskInstallPath";
constexpr wchar_t kProductVersionValue[] = L"pv";
constexpr wchar_t kUninstallEntryKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vesk.helm";
constexpr wchar_t kUninstallStringValue[] = L"UninstallString";
constexpr wchar_t kUrlProtocolKey[] = L"SOFTWARE\\Classes\\veskhelm";
constexpr wchar_t kMakerKey[] = L"SOFTWARE\\Quillon\\vesk.helm";

// Largest text a value may hold: 259 characters and the terminating null fill 260.
constexpr size_t kRegistryTextChars = 260;

// The value's text (up to its first null character, whatever its type); empty when the key or
// value cannot be read or the text has 260 characters or more.
std::wstring ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& name);

// True when the product's uninstall entry no longer has an "UninstallString".
bool ShouldRemoveProductData();

// Deletes the URL-protocol key and then, only when that worked, the maker's key. True when both
// were deleted.
bool DeleteProductRegistryKeys();

// Deletes the key with all its subkeys and values.
bool DeleteRegistryTree(HKEY root, const std::wstring& key);

}  // namespace vesk::uninstall
