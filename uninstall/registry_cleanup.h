// The uninstaller's registry reads, its removal decision and the keys it deletes (all under
// HKEY_CURRENT_USER).
#pragma once

#include <windows.h>

#include <string>

#include "common/product.h"

namespace vesk::uninstall {

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
