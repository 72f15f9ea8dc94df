// Registry helpers of the stand-in programs (all text values REG_SZ with their null).
#pragma once

#include <windows.h>

#include <string>

namespace vesk::standin {

bool SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value);
bool SetNumberValue(HKEY key, const wchar_t* name, DWORD value);

// A REG_SZ value of any length; empty when the key or value is missing or holds another type.
[[nodiscard]] std::wstring ReadStringValue(HKEY root, const wchar_t* keyPath, const wchar_t* name);

// Removes a key with all its subkeys and values; true when it is gone (also when it was missing).
bool DeleteKeyTree(HKEY root, const wchar_t* keyPath);

}  // namespace vesk::standin
