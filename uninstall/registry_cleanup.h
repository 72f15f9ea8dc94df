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
[[nodiscard]] std::wstring ReadRegistryString(HKEY root, const std::wstring& key, const std::wstring& name);

enum class RemovalDecision {
  kRemove,      // the uninstall entry, or its "UninstallString", is not found (or is empty)
  kKeep,        // the entry still holds an uninstall command
  kUnreadable,  // the entry could not be read: whether the product is gone is unknown
};

// Whether setup.exe removed the product, judged by the uninstall entry's "UninstallString"; read
// whole, however long. Only "not found" counts as removed.
[[nodiscard]] RemovalDecision ShouldRemoveProductData();

// Deletes the URL-protocol key and then, only when that worked, the maker's key. True when both
// were deleted.
bool DeleteProductRegistryKeys();

// Deletes the key with all its subkeys and values.
bool DeleteRegistryTree(HKEY root, const std::wstring& key);

}  // namespace vesk::uninstall
